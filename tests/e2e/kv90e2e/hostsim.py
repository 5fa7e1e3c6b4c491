"""The host simulator KV90HostSim.exe as a test drives it: options on its command line, commands on
its standard input, and every line it prints (notifications, replies) collected as it arrives."""

import os
import re
import subprocess
import threading
import time

from . import settings
from .program import WineProcess
from .waiting import wait_until

HOST_CODE_READY = 3124
HOST_CODE_COLLECTED = 3224
HOST_CODE_CLOSE = 3324

_FIELD = re.compile(r"(\w+)=(\S*)")


def fields(line):
    """The key=value fields of an output line (values without spaces)."""
    return dict(_FIELD.findall(line))


class Notification:
    def __init__(self, line, seen_at):
        f = fields(line)
        self.line = line
        self.code = int(f["code"])
        self.name = f.get("name")
        self.value = int(f["value"])
        self.sent = f.get("sent") == "1"
        self.seen_at = seen_at  # time.time() when the driver read the line

    def __repr__(self):
        return "Notification(%d, %d, sent=%s)" % (self.code, self.value, self.sent)


class HostSim(WineProcess):
    """One running KV90HostSim.exe."""

    what = "the host simulator"

    def __init__(self, *options, log_dir=None, label="host", program=None, first_line="host "):
        self.options = list(options)
        self._lines = []  # (time.time(), text)
        self._lock = threading.Lock()
        err_path = os.path.join(log_dir, "%s.err" % label) if log_dir else os.devnull
        self.out_path = os.path.join(log_dir, "%s.out" % label) if log_dir else None
        self._err = open(err_path, "wb")
        self.process = subprocess.Popen([settings.wine()] + (program or [settings.hostsim_exe()]) + self.options,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self._err,
                                        env=os.environ.copy())
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        f = {}
        if first_line:
            first = self.wait_line(lambda l: l.startswith(first_line), what="the host program's first line")
            f = fields(first)
        # Another host program (program=) may name only some of them.
        self.hwnd = int(f.get("hwnd", 0))
        self.activemsg = int(f.get("activemsg", 0))
        self.fingermsg = int(f.get("fingermsg", 0))

    def _read(self):
        out = open(self.out_path, "w", encoding="utf-8") if self.out_path else None
        try:
            for raw in self.process.stdout:
                text = raw.decode("utf-8", "replace").rstrip("\r\n")
                with self._lock:
                    self._lines.append((time.time(), text))
                if out:
                    out.write(text + "\n")
                    out.flush()
        finally:
            if out:
                out.close()

    # -- what it printed -----------------------------------------------------------------------
    def lines(self):
        with self._lock:
            return [text for _, text in self._lines]

    def timed_lines(self):
        with self._lock:
            return list(self._lines)

    def wait_line(self, predicate, timeout=30, what=None, after=0):
        """The first line (from index `after` on) for which predicate is true."""
        def found():
            for text in self.lines()[after:]:
                if predicate(text):
                    return text
            if self.process.poll() is not None:
                raise AssertionError("the host simulator ended (exit code %s) while waiting for %s; it printed %r"
                                     % (self.process.returncode, what, self.lines()))
            return None
        return wait_until(found, timeout, what=what or "a line of the host simulator")

    def notifications(self, code=None):
        return [Notification(text, at) for at, text in self.timed_lines()
                if text.startswith("notify ") and (code is None or int(fields(text)["code"]) == code)]

    def wait_notifications(self, code, count=1, timeout=30):
        """The notifications of the code once at least `count` have arrived."""
        return wait_until(lambda: (lambda n: n if len(n) >= count else None)(self.notifications(code)), timeout,
                          what="%d notification(s) with code %d; host printed %r" % (count, code, self.lines()[-8:]))

    # -- what it is told -----------------------------------------------------------------------
    def command(self, text, timeout=30):
        """Sends one command line and returns its reply line ("ok ..." or "error ...")."""
        verb = text.split(" ", 1)[0]
        start = len(self.lines())
        self.process.stdin.write((text + "\n").encode("utf-8"))
        self.process.stdin.flush()
        return self.wait_line(lambda l: l.startswith("ok %s" % verb) or l.startswith("error %s" % verb),
                              timeout, what="the reply to %r" % text, after=start)

    def ok(self, text, timeout=30):
        reply = self.command(text, timeout)
        if not reply.startswith("ok "):
            raise AssertionError("the host simulator refused %r: %s" % (text, reply))
        return fields(reply)

    def sync(self):
        """Returns once every notification that the capture program sent or posted before this call has
        been printed and read. The reply to a command comes through the simulator window's own queue,
        after the messages already waiting there; a sent notification is handled before its sender goes on.
        Not while the window holds back an answer (--never-answer): it replies only after the release."""
        self.ok("status")

    def close(self):
        """Ends the simulator: quit on its input, else the Wine process itself."""
        if self.running():
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=20)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait(timeout=30)
        try:
            self.process.stdin.close()
        except OSError:
            pass
        self._reader.join(timeout=10)
        self.process.stdout.close()
        self._err.close()
