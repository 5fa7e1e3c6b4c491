"""Client of kv90probe.exe, the program that looks at the Wine desktop from inside it."""

import json
import os
import selectors
import subprocess

from . import settings

REPLY_TIMEOUT = 60.0


class ProbeError(RuntimeError):
    pass


class Window(dict):
    """A window as the probe described it (hwnd, class, text, pid, rect, client, ...)."""

    @property
    def hwnd(self):
        return self["hwnd"]

    @property
    def client_origin(self):
        return self["client"][0], self["client"][1]

    @property
    def client_size(self):
        return self["client"][2], self["client"][3]

    @property
    def size(self):
        r = self["rect"]
        return r[2] - r[0], r[3] - r[1]

    def client_rect_in(self, ancestor):
        """(left, top, width, height) of this window in the ancestor's client coordinates."""
        ax, ay = ancestor.client_origin
        r = self["rect"]
        return r[0] - ax, r[1] - ay, r[2] - r[0], r[3] - r[1]

    def has_style(self, bits):
        return (self["style"] & bits) == bits


class Probe:
    """One running kv90probe.exe: requests are tab-separated lines, replies JSON lines."""

    def __init__(self, exe=None, log_path=None):
        exe = exe or settings.probe_exe()
        self._stderr = open(log_path, "ab") if log_path else subprocess.DEVNULL
        self._proc = subprocess.Popen([settings.wine(), exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      stderr=self._stderr, env=os.environ.copy())
        self._pending = b""
        self._selector = selectors.DefaultSelector()
        self._selector.register(self._proc.stdout, selectors.EVENT_READ)
        self.pid = self.call("ping")["pid"]

    # -- transport ---------------------------------------------------------------------------
    def call(self, command, *args, check=True):
        fields = [command] + [str(a) for a in args]
        for f in fields:
            if "\t" in f or "\n" in f or "\r" in f:
                raise ValueError("probe arguments cannot hold tabs or line breaks: %r" % f)
        self._proc.stdin.write(("\t".join(fields) + "\n").encode("utf-8"))
        self._proc.stdin.flush()
        reply = json.loads(self._read_line())
        if check and not reply.get("ok"):
            raise ProbeError("%s %s: %s" % (command, args, reply.get("error")))
        return reply

    def _read_line(self):
        while b"\n" not in self._pending:
            if not self._selector.select(REPLY_TIMEOUT):
                raise ProbeError("the probe did not answer within %.0f s" % REPLY_TIMEOUT)
            chunk = os.read(self._proc.stdout.fileno(), 65536)
            if not chunk:
                raise ProbeError("the probe ended (exit code %s)" % self._proc.poll())
            self._pending += chunk
        line, self._pending = self._pending.split(b"\n", 1)
        return line.decode("utf-8")

    def close(self):
        if self._proc.poll() is None:
            try:
                self.call("quit")
            except (ProbeError, OSError, ValueError):
                pass  # a probe that cannot answer is ended below
            try:
                self._proc.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self._proc.kill()
                self._proc.wait()
        self._selector.close()
        self._proc.stdin.close()
        self._proc.stdout.close()
        if self._stderr is not subprocess.DEVNULL:
            self._stderr.close()

    # -- windows -----------------------------------------------------------------------------
    def windows(self, cls=None, text=None, pid=None, contains=None, visible=None):
        """Top-level windows, filtered by exact class, exact text, substring, pid and visibility."""
        found = [Window(w) for w in self.call("windows")["windows"]]
        return [w for w in found
                if (cls is None or w["class"] == cls)
                and (text is None or w["text"] == text)
                and (contains is None or contains in w["text"])
                and (pid is None or w["pid"] == pid)
                and (visible is None or w["visible"] == visible)]

    def message_windows(self, cls=None, pid=None):
        """Message-only windows, the system's helper windows among them, filtered by exact class and pid."""
        found = [Window(w) for w in self.call("message_windows")["windows"]]
        return [w for w in found if (cls is None or w["class"] == cls) and (pid is None or w["pid"] == pid)]

    def window(self, hwnd):
        """The window's current description, or None once it is gone."""
        reply = self.call("window", hwnd)
        return Window(reply["window"]) if reply["exists"] else None

    def drawn_text(self, hwnd, area, font, align, text):
        """(ink, mismatches): text drawn with font (a layout.Font) and align ("left", "center",
        "right") beside what the window shows in area, (left, top, width, height) in its client."""
        reply = self.call("drawn_text", hwnd, *area, font.face, font.height, font.weight, *font.colour, align, text)
        return reply["ink"], reply["mismatches"]

    def children(self, hwnd):
        """Every descendant window, parents before their children."""
        return [Window(w) for w in self.call("children", hwnd)["children"]]

    # -- messages ----------------------------------------------------------------------------
    def register_message(self, name):
        return self.call("regmsg", name)["msg"]

    def post(self, hwnd, msg, wparam=0, lparam=0):
        """msg is a number or the name of a registered message."""
        self.call("post", hwnd, msg, wparam, lparam)

    def send(self, hwnd, msg, wparam=0, lparam=0, timeout_ms=10000):
        return self.call("send", hwnd, msg, wparam, lparam, timeout_ms)["result"]

    def copy_data(self, hwnd, data, dw_data=0, sender=0, timeout_ms=10000):
        return self.call("copydata", hwnd, sender, dw_data, bytes(data).hex(), timeout_ms)["result"]

    def set_text(self, hwnd, text, timeout_ms=10000):
        """WM_SETTEXT from outside, as another program can do it."""
        return self.call("settext", hwnd, text, timeout_ms)["result"]

    def toolbar_buttons(self, hwnd):
        """The buttons of a native tool bar: id, state, style, text and screen rect of each."""
        return self.call("toolbar", hwnd)["buttons"]

    def gui_thread(self, hwnd):
        """The focus, active and capture windows of the thread that owns the window."""
        return self.call("guithread", hwnd)["thread"]

    def click_button(self, hwnd):
        """Presses a button the way the keyboard would (BM_CLICK), without the mouse."""
        self.call("click", hwnd)

    def close_window(self, hwnd):
        self.call("close", hwnd)

    # -- screen and system -------------------------------------------------------------------
    def pixel(self, x, y):
        """The pixel as Win32 reads it from the screen (GetPixel on the desktop)."""
        return tuple(self.call("pixel", x, y)["rgb"])

    def system_colour(self, index):
        return tuple(self.call("syscolor", index)["rgb"])

    def show_reference_box(self, style, caption, text):
        self.call("refbox", style, caption, text)

    # -- kernel objects ----------------------------------------------------------------------
    def hold_mutex(self, name):
        """Creates and holds the named mutex; returns whether the name existed already."""
        return self.call("mutex_hold", name)["existed"]

    def release_mutex(self, name):
        self.call("mutex_release", name)

    def mutex_exists(self, name):
        return self.call("mutex_exists", name)["exists"]

    def read_mapping(self, name, size):
        """The first bytes of a named file mapping, or None when no such mapping exists."""
        reply = self.call("mapping_read", name, size, check=False)
        return bytes.fromhex(reply["hex"]) if reply.get("ok") else None

    def create_mapping(self, name, size, data=b""):
        return self.call("mapping_create", name, size, bytes(data).hex())["existed"]

    def close_mapping(self, name):
        self.call("mapping_close", name)

    # -- processes ---------------------------------------------------------------------------
    def processes(self):
        return self.call("procs")["procs"]

    def pids_of_path(self, windows_path):
        wanted = windows_path.lower()
        return [p["pid"] for p in self.processes() if p["path"].lower() == wanted]

    def watch_process(self, pid):
        """Holds a handle to the process, so that its Windows exit code can be read once it has ended."""
        self.call("proc_watch", pid)

    def exit_code(self, pid):
        """The Windows exit code of a watched process once it has ended, else None (the handle is then let go)."""
        reply = self.call("proc_exit", pid)
        return reply["code"] if reply["ended"] else None

    def hold_file(self, windows_path):
        """Keeps the file open for reading, sharing reading only: it cannot be deleted meanwhile."""
        self.call("file_hold", windows_path)

    def release_file(self, windows_path):
        self.call("file_release", windows_path)

    def memory(self, pid):
        """{private, gdi, user}: the process's private bytes and its GDI and USER object counts."""
        return self.call("memory", pid)["memory"]

    def inject_fault(self, pid):
        """Makes the process fault in a thread of its own, where nothing in it handles the fault."""
        self.call("fault", pid)

    def terminate(self, pid, exit_code=1):
        return self.call("kill", pid, exit_code, check=False).get("ok", False)

    # -- host stand-in -----------------------------------------------------------------------
    def start_host(self, caption="KV90 probe host"):
        return self.call("host_start", caption)["hwnd"]

    def host_events(self):
        return self.call("host_events")["events"]

    def stop_host(self):
        self.call("host_stop")
