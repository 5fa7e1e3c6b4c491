"""Wine's own report of faults in the processes it runs.

Wine ignores an exception raised in a window procedure that the system called back, and with its
diagnostics off it says nothing; a read of freed memory then goes unseen. Every Wine process the
tests start runs with the exception and heap channels on (Wine then checks its heap and fills freed
blocks, so that a read of a freed object faults), and a test fails on any line of theirs here."""

import os
import re

# The channels every test process runs with, after whatever the caller chose.
CHANNELS = "err+seh,warn+heap"

# err:seh covers ignored and unhandled exceptions, *:heap: a damaged heap or a bad free; the
# launcher's own words for a crash come last.
FAULT_LINE = re.compile(rb"err:seh|(?:err|warn|fixme):heap|Unhandled (?:exception|page fault)|page fault on")


def debug_setting(current=None):
    """WINEDEBUG with the fault channels on, keeping the channels the caller set."""
    current = os.environ.get("WINEDEBUG", "") if current is None else current
    return ",".join(part for part in (current, CHANNELS) if part)


def fault_lines(data):
    """The lines of Wine output (bytes) that report a fault, decoded for a message."""
    return [line.decode("utf-8", "replace").rstrip() for line in data.splitlines() if FAULT_LINE.search(line)]


def faults_in_file(path, start=0):
    """Fault lines of a stderr file from byte offset start; none for a file that is not there."""
    try:
        with open(path, "rb") as f:
            f.seek(start)
            return fault_lines(f.read())
    except FileNotFoundError:
        return []
