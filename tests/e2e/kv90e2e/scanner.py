"""The simulated scanner in a program folder: its control file KV90DLL\\scanner_sim.ini and its
call journal KV90DLL\\scanner_sim_calls.log."""

import os
import re

CONTROL = "scanner_sim.ini"
JOURNAL = "scanner_sim_calls.log"

_CALL = re.compile(r"^(\w+)\((.*)\)(?: = (-?\d+)| raise.*)?$")


class Call:
    def __init__(self, line):
        m = _CALL.match(line)
        self.line = line
        self.name = m.group(1) if m else None
        self.args = m.group(2) if m else None
        self.result = int(m.group(3)) if m and m.group(3) is not None else None

    def __repr__(self):
        return "Call(%r)" % self.line


class Scanner:
    """Control of the simulated scanner beside one copy of the program."""

    def __init__(self, program_dir):
        self.dir = os.path.join(program_dir, "KV90DLL")
        self._settings = {}
        self._generation = 0

    @property
    def control_path(self):
        return os.path.join(self.dir, CONTROL)

    @property
    def journal_path(self):
        return os.path.join(self.dir, JOURNAL)

    def configure(self, **settings):
        """Writes the control file with these keys (None leaves a key out), keeping earlier ones."""
        for key, value in settings.items():
            if value is None:
                self._settings.pop(key, None)
            else:
                self._settings[key] = value
        self._write()

    def restart_scripts(self):
        """Rewrites the control file so that the libraries read it again: every outcome script starts over."""
        self._write()

    def _write(self):
        self._generation += 1
        # The comment changes the file's size as well as its time, so the change is always noticed.
        lines = ["# written by the end-to-end test, generation %s" % ("x" * (self._generation % 7 + 1))]
        lines += ["%s=%s" % (k, v) for k, v in self._settings.items()]
        data = ("\r\n".join(lines) + "\r\n").encode("ascii")
        temporary = self.control_path + ".new"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, self.control_path)

    def remove_library(self, name):
        os.remove(os.path.join(self.dir, name))

    def remove_folder(self):
        for name in os.listdir(self.dir):
            os.remove(os.path.join(self.dir, name))
        os.rmdir(self.dir)

    def journal(self):
        """Every recorded call, oldest first."""
        if not os.path.exists(self.journal_path):
            return []
        with open(self.journal_path, "rb") as f:
            text = f.read().decode("latin-1")
        return [Call(l) for l in text.splitlines() if l and not l.startswith("#")]

    def calls(self, name=None):
        return [c for c in self.journal() if name is None or c.name == name]

    def names(self):
        return [c.name for c in self.journal()]
