"""The base of every end-to-end test: one probe per test class, a fresh program folder per test,
and nothing of a test left running when it ends."""

import os
import re
import shutil
import time
import unittest

from . import settings, winefaults
from .mainwindow import MainWindow
from .msgbox import MessageBox
from .probe import Probe
from .program import ProgramFolder
from .screen import Screen
from .waiting import wait_until

FAMILY_MUTEXES = ("Finger_KV90", "Finger_LX20", "Finger_NR50")


def keep_scanned(scan, stem):
    """A copy, among the artifacts, of the part of an output file that a scan read; returns its path."""
    kept = os.path.join(settings.artifacts_dir(), "%s.%s" % (stem, os.path.basename(scan.path)))
    with open(kept, "wb") as dst:
        dst.write(scan.data)
    return kept


class ProbeTestCase(unittest.TestCase):
    """A test class with its own probe on the Wine desktop and the X screen."""

    probe = None
    screen = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.probe_log = os.path.join(settings.artifacts_dir(), "probe-%s.err" % cls.__name__)
        # How far the class's scans have read each output file that outlives a test (the probe's, which
        # the programs it starts write into too): each scan goes on from where the last one ended.
        cls._scanned = {cls.probe_log: winefaults.size_of(cls.probe_log)}
        cls.probe = Probe(log_path=cls.probe_log)
        cls.screen = Screen()
        cls._reference_icons = {}

    @classmethod
    def tearDownClass(cls):
        if cls.probe is not None:
            cls.probe.close()
            cls.probe = None
        # What the class's processes wrote after its last test's scan: the probe's own end among it. They
        # have all ended, so a last line without its end of line is read too.
        found = []
        for path, start in sorted(cls._scanned.items()):
            scan = winefaults.Scan(path, start, ended=True)
            cls._scanned[path] = scan.end
            if scan.faults:
                found += ["%s: %s" % (keep_scanned(scan, "%s.tearDownClass" % cls.__name__), line)
                          for line in scan.faults]
        super().tearDownClass()
        if found:
            raise AssertionError("Wine reported %d fault(s) after the last test of %s:\n  %s"
                                 % (len(found), cls.__name__, "\n  ".join(found[:40])))

    def setUp(self):
        super().setUp()
        self._wine_faults = None
        self._expected_faults = []
        self._own_outputs = []
        # Registered first, so it runs last: once every process of the test has ended.
        self.addCleanup(self._fail_on_wine_faults)

    # -- Wine's fault reports -----------------------------------------------------------------
    def wine_output_files(self):
        """(path, start offset) of every stderr file the test's Wine processes wrote."""
        return sorted(self._scanned.items()) + [(path, 0) for path in self._own_outputs]

    def own_wine_output(self, label):
        """A stderr file, among the artifacts, for a Wine process the test starts by itself; it is scanned
        with the others."""
        path = os.path.join(settings.artifacts_dir(), "%s.%s.err" % (self.stem(), label))
        self._own_outputs.append(path)
        return path

    def expect_wine_fault(self, pattern, path):
        """A fault the test is about to cause on purpose in the process that writes the stderr file at
        path: from here on, that file's lines matching the pattern do not fail the test."""
        self._expected_faults.append((path, winefaults.size_of(path), re.compile(pattern)))

    def _expected(self, path, offset, line):
        return any(path == where and offset >= start and pattern.search(line)
                   for where, start, pattern in self._expected_faults)

    def wine_scans(self):
        """A scan of each output file of the test's Wine processes so far, the faults it expects left out."""
        scans = []
        for path, start in self.wine_output_files():
            # A file of the class's goes on being written after the test; the test's own are read whole
            # once its processes have ended.
            scan = winefaults.Scan(path, start, lambda offset, line, path=path: self._expected(path, offset, line),
                                   ended=path not in self._scanned)
            scans.append(scan)
        return scans

    def wine_faults(self):
        """The fault lines the test's Wine output holds so far, but for those it expects: (path, start offset,
        lines) of each file with any."""
        return [(scan.path, scan.start, scan.faults) for scan in self.wine_scans() if scan.faults]

    def collect_wine_faults(self):
        """Scans the test's Wine output once its processes have ended; keeps the files that report a
        fault among the artifacts. The class's next scan goes on where this one ended."""
        if self._wine_faults is not None:
            return self._wine_faults
        self._wine_faults = []
        for scan in self.wine_scans():
            if scan.path in self._scanned:
                self._scanned[scan.path] = scan.end
            if scan.faults:
                kept = keep_scanned(scan, self.stem())
                self._wine_faults += ["%s: %s" % (kept, line) for line in scan.faults]
        return self._wine_faults

    def _fail_on_wine_faults(self):
        faults = self.collect_wine_faults()
        if faults:
            raise AssertionError("Wine reported %d fault(s) in the test's processes:\n  %s"
                                 % (len(faults), "\n  ".join(faults[:40])))

    def stem(self):
        """The test's name as a file name."""
        return re.sub(r"[^A-Za-z0-9_.-]", "_", self.id())

    def has_failed(self):
        """Whether this test (or one of its subtests) has failed so far; for keeping evidence."""
        result = getattr(getattr(self, "_outcome", None), "result", None)
        if result is None:
            return False
        return any(getattr(test, "test_case", test) is self for test, _ in result.failures + result.errors)

    # -- what the screen shows --------------------------------------------------------------
    def reference_icon(self, style):
        """The icon that this Wine draws in a message box of the style, as pixels."""
        if style not in self._reference_icons:
            caption = "kv90e2e reference %#x" % style
            self.probe.show_reference_box(style, caption, "reference")
            box = wait_until(lambda: self._painted_box(caption), what="the reference message box")
            image = wait_until(lambda: self._painted_icon(box), what="the reference icon painted")
            box.press(box.button(control_id=1))
            wait_until(box.gone, what="the reference message box to close")
            self._reference_icons[style] = image
        return self._reference_icons[style]

    def _painted_box(self, caption):
        boxes = self.probe.windows(cls="#32770", text=caption, pid=self.probe.pid, visible=True)
        if not boxes:
            return None
        box = MessageBox(self.probe, boxes[0])
        return box if box.icon is not None and box.buttons else None

    def _painted_icon(self, box):
        image = box.icon_image(self.screen)
        return image if image is not None and len(image.colours()) > 2 else None

    def painted_icon(self, box):
        return wait_until(lambda: self._painted_icon(box), what="the message box icon painted")

    def settled_rect(self, hwnd, settle=0.3):
        """The window's rectangle once it has not changed for `settle` seconds (the skin sets its frame
        after the window shows)."""
        since = {}

        def still():
            rect = tuple(self.probe.window(hwnd)["rect"])
            if since.get("rect") != rect:
                since.update(rect=rect, at=time.monotonic())
            return rect if time.monotonic() - since["at"] >= settle else None
        return wait_until(still, what="the window to settle")

    def save_screenshot(self, name):
        path = os.path.join(settings.artifacts_dir(), name)
        self.screen.shot().save_png(path)
        return path


class ProgramTestCase(ProbeTestCase):
    """A test that starts Finger_KV90.exe from a fresh copy of the staged folder."""

    def setUp(self):
        super().setUp()
        self._held_mutexes = []
        # A program of an earlier test may still be shutting down: start from a quiet desktop.
        wait_until(lambda: not self.probe.windows(cls="TFrm_Main"), what="no capture window on the desktop")
        wait_until(lambda: not any(self.probe.mutex_exists(n) for n in FAMILY_MUTEXES),
                   what="the single-instance names to be free")
        self.folder = ProgramFolder(self.probe)
        self.addCleanup(self._release_mutexes)
        self.addCleanup(self._end_programs)

    def tearDown(self):
        if self.has_failed():
            self._save_evidence()
        super().tearDown()

    # -- starting and finding ---------------------------------------------------------------
    def start_program(self):
        return self.folder.start()

    def start_main_window(self):
        """Starts the program and waits for its main window; returns (run, main window)."""
        run = self.start_program()
        return run, self.wait_main_window(run)

    def watch_exit(self, run):
        """Holds a handle to the running program's process, for its Windows exit code."""
        self.probe.watch_process(run.pid)
        run.watched = True

    def windows_exit_code(self, run, timeout=30):
        """The exit code the program ended with, as Windows reports it, once it has ended (see watch_exit).

        Under Wine the launcher's own status is sometimes -9 (the server kills what is left of the
        process after it has ended with its code), so the Windows exit code is what counts."""
        status = run.wait_exit(timeout)
        if not getattr(run, "watched", False):
            return status
        return wait_until(lambda: (lambda c: None if c is None else [c])(self.probe.exit_code(run.pid)),
                          what="the exit code of pid %s" % run.pid)[0]

    def wait_main_window(self, run, timeout=30, settle=0.3):
        """The visible main window, once its place has not changed for `settle` seconds."""
        since = {}

        def settled():
            if not run.running():
                raise AssertionError("the program ended with exit code %s instead of showing its window"
                                     % run.process.returncode)
            main = MainWindow.find(self.probe, run.pid)
            if main is None:
                return None
            rect = tuple(main.window["rect"])
            if since.get("rect") != rect:
                since.update(rect=rect, at=time.monotonic())
            return main if time.monotonic() - since["at"] >= settle else None
        return wait_until(settled, timeout, what="the main window of pid %s to settle" % run.pid)

    def wait_message_box(self, run, timeout=30):
        def shown():
            if not run.running():
                raise AssertionError("the program ended with exit code %s without a message box"
                                     % run.process.returncode)
            box = MessageBox.find(self.probe, run.pid)
            # Wait for its controls too: the box is visible a moment before it is filled in.
            return box if box is not None and box.text is not None and box.buttons else None
        return wait_until(shown, timeout, what="a message box of pid %s" % run.pid)

    def hold_mutex(self, name):
        existed = self.probe.hold_mutex(name)
        self._held_mutexes.append(name)
        return existed

    def release_mutex(self, name):
        self.probe.release_mutex(name)
        self._held_mutexes.remove(name)

    # -- clean-up ---------------------------------------------------------------------------
    def wine_output_files(self):
        files = super().wine_output_files()
        if os.path.isdir(self.folder.root):
            files += [(os.path.join(self.folder.root, name), 0) for name in sorted(os.listdir(self.folder.root))
                      if name.endswith(".err")]
        return files

    def _end_programs(self):
        self.folder.end_runs()
        faults = self.collect_wine_faults()
        self.folder.cleanup(keep=self.has_failed() or bool(faults) or settings.keep_copies())
        # A run that was killed leaves its names to the Wine server for a moment.
        wait_until(lambda: not self.probe.windows(cls="TFrm_Main"), what="the capture windows to go")

    def _release_mutexes(self):
        for name in list(self._held_mutexes):
            self.release_mutex(name)

    def _save_evidence(self):
        stem = self.stem()
        try:
            path = self.save_screenshot(stem + ".png")
            print("\nscreenshot of the failure: %s" % path)
        except Exception as e:  # evidence is a courtesy; it must not hide the failure
            print("\nno screenshot: %s" % e)
        target = os.path.join(settings.artifacts_dir(), stem)
        shutil.rmtree(target, ignore_errors=True)
        try:
            shutil.copytree(self.folder.root, target, ignore=shutil.ignore_patterns("*.exe", "*.dll", "*.bmp", "*.jpg"))
            print("program folder of the failure: %s" % target)
        except OSError as e:
            print("program folder not copied: %s" % e)

    def elapsed_since(self, run):
        return time.time() - run.started_at
