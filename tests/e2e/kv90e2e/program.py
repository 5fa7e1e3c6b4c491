"""A private copy of the staged program folder, and the runs of Finger_KV90.exe from it."""

import os
import shutil
import subprocess
import tempfile
import time

from . import settings
from .waiting import wait_until

EXE_NAME = "Finger_KV90.exe"


def windows_path(linux_path):
    """The path as Wine's programs see it: drive Z: is the Linux root."""
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def unix_path(windows_path):
    """Where a path on drive C: of the Wine prefix lies on Linux."""
    if not windows_path[:3].lower() == "c:\\":
        raise ValueError("not a path on drive C: %r" % windows_path)
    prefix = os.environ.get("WINEPREFIX") or os.path.expanduser("~/.wine")
    return os.path.join(prefix, "drive_c", *windows_path[3:].split("\\"))


class WineProcess:
    """A process started through the wine launcher: whether it runs, and its end."""

    what = "the program"

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=30):
        """The launcher's exit status, once the process has ended."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("%s did not end within %d s" % (self.what, timeout)) from None


class Run(WineProcess):
    """One start of the program: the Wine process, its Windows pid and its exit code."""

    def __init__(self, folder, probe, label):
        self.folder = folder
        self._probe = probe
        self.stdout_path = os.path.join(folder.root, "%s.out" % label)
        self.stderr_path = os.path.join(folder.root, "%s.err" % label)
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            # The working directory is deliberately not the program folder: the program must
            # find its files from its own location.
            self.process = subprocess.Popen([settings.wine(), folder.exe_path], cwd=folder.root,
                                            stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                            env=os.environ.copy())
        self.started_at = time.time()
        self._pid = None

    @property
    def pid(self):
        """The Windows process id, found by the program file's full path; waits for the process to appear."""
        if self._pid is None:
            known = set(self.folder.other_pids(self))

            def new_pid():
                if self.process.poll() is not None:
                    raise AssertionError("the program ended (exit code %s) before it could be found"
                                         % self.process.returncode)
                fresh = [p for p in self._probe.pids_of_path(self.folder.exe_windows_path) if p not in known]
                return fresh[0] if len(fresh) == 1 else None

            self._pid = wait_until(new_pid, what="the program's Windows process")
        return self._pid


    def kill(self):
        """Ends the program if it still runs: through Win32 first, then the Wine process itself."""
        if not self.running():
            return
        if self._pid is not None:
            self._probe.terminate(self._pid, 1)
            try:
                self.process.wait(timeout=15)
                return
            except subprocess.TimeoutExpired:
                pass
        self.process.kill()
        self.process.wait(timeout=30)


class ProgramFolder:
    """A fresh copy of build/stage for one test, or a folder that setup has laid out, used where it
    lies. The runs' own output goes beside it, into a folder that is removed afterwards."""

    def __init__(self, probe, stage=None, installed=None):
        """installed: the Windows path of a folder on drive C: that setup laid out."""
        self._probe = probe
        self.root = tempfile.mkdtemp(prefix="kv90e2e-", dir=settings.work_root())
        if installed:
            # An installed folder lies on drive C:, so that is how Windows names the running program.
            self.path = unix_path(installed)
            self.exe_windows_path = installed + "\\" + EXE_NAME
        else:
            self.path = os.path.join(self.root, "KV90")
            shutil.copytree(stage or settings.stage_dir(), self.path)
            self.exe_windows_path = windows_path(os.path.join(self.path, EXE_NAME))
        self.exe_path = os.path.join(self.path, EXE_NAME)
        self.runs = []

    def start(self):
        run = Run(self, self._probe, "run%d" % (len(self.runs) + 1))
        self.runs.append(run)
        return run

    def other_pids(self, run):
        return [r._pid for r in self.runs if r is not run and r._pid is not None and r.running()]

    def file(self, *relative):
        return os.path.join(self.path, *relative)

    def end_runs(self):
        for run in reversed(self.runs):
            run.kill()

    def cleanup(self, keep=False):
        self.end_runs()
        if not keep:
            shutil.rmtree(self.root, ignore_errors=True)
