"""Wine's own report of faults in the processes it runs.

Wine ignores an exception raised in a window procedure that the system called back, and with its
diagnostics off it says nothing; a read of freed memory then goes unseen. Every Wine process the
tests start runs with the exception, heap and memory channels on (Wine then checks its heap and fills
freed blocks, so that a read of a freed object faults), and a test fails on any line of theirs here."""

import os
import re

# The channels every test process runs with, after whatever the caller chose.
CHANNELS = "err+seh,warn+heap,err+virtual"

# What Wine and the C++ runtime write when something goes wrong, one alternative per kind of line.
FAULT_LINE = re.compile(rb"|".join([
    # Ignored and unhandled exceptions, a damaged heap or a bad free.
    rb"err:seh",
    rb"(?:err|warn|fixme):heap",
    # A stack that overflowed where Wine could not even raise the exception.
    rb"err:virtual:\S* (?:stack overflow|nested exception)",
    # The launcher's words before it starts the debugger ("wine: Unhandled page fault ...",
    # "wine: Unhandled stack overflow ...", division by zero, illegal instruction, ...), and the
    # debugger's own ("Unhandled exception: divide by zero in 32-bit code").
    rb"wine: Unhandled ",
    rb"Unhandled (?:exception|page fault)",
    rb"page fault on",
    # A call into a function Wine does not implement.
    rb"unimplemented function",
    # The C++ runtime ending the program: an exception nothing caught, or abort().
    rb"terminate called (?:after throwing|without an active exception|recursively)",
    rb"abnormal program termination",
    rb"requested the Runtime to terminate it",
]))


def debug_setting(current=None):
    """WINEDEBUG with the fault channels on, keeping the channels the caller set."""
    current = os.environ.get("WINEDEBUG", "") if current is None else current
    return ",".join(part for part in (current, CHANNELS) if part)


def fault_lines(data):
    """The lines of Wine output (bytes) that report a fault, decoded for a message."""
    return [decoded(line) for line in data.splitlines() if FAULT_LINE.search(line)]


def decoded(line):
    return line.decode("utf-8", "replace").rstrip()


def size_of(path):
    """Where the next line of a stderr file will start: its length, 0 while it is not there."""
    try:
        return os.path.getsize(path)
    except FileNotFoundError:
        return 0


class Scan:
    """The fault lines of a stderr file from byte offset start to the end of its last whole line (`end`),
    but for those that expected(offset, line) accepts; a file that is not there has none.

    A line still being written is left to the next scan, which starts where it starts: a fault line
    split between two scans is read whole by the later one. Once the file's writers have ended
    (`ended`), a last line without its end of line is whole too."""

    def __init__(self, path, start=0, expected=None, ended=False):
        self.path, self.start = path, start
        try:
            with open(path, "rb") as f:
                f.seek(start)
                data = f.read()
        except FileNotFoundError:
            data = b""
        self.data = data if ended else data[:data.rfind(b"\n") + 1]
        self.end = start + len(self.data)
        self.faults = []
        offset = start
        for line in self.data.splitlines(keepends=True):
            if FAULT_LINE.search(line) and not (expected and expected(offset, decoded(line))):
                self.faults.append(decoded(line))
            offset += len(line)
