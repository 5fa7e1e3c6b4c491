"""The release package as an office's IT deploys it: the setup program and the uninstaller started
with exact command lines (as deployment tools start them), the machine's uninstall entry, the Start
menu, and the version resources of the programs."""

import os
import re
import struct
import subprocess
import tempfile

from . import settings
from .probe import ProbeError
from .program import unix_path
from .waiting import wait_until

UNINSTALL_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Finger_KV90"
# NSIS exit code of an installation or removal that the script itself refused.
EXIT_REFUSED = 2
# The uninstaller's exit code when it does not lie in the installation its uninstall entry names.
EXIT_NOT_INSTALLATION = 3
# Setup's exit code when it cannot use the folder given with /D=.
EXIT_FOLDER_REFUSED = 4
# Setup's exit code when the station's files are not all in the folder after copying.
EXIT_NOT_INSTALLED = 5


def repository_version():
    """The release's version as the build sets it: the project version in CMakeLists.txt."""
    with open(os.path.join(settings.HERE, "..", "..", "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(Finger_KV90 VERSION (\d+\.\d+\.\d+)", f.read()).group(1)


def start_menu_folder(product):
    """The common Start menu's program folder of the product."""
    return unix_path("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\" + product)


def tree(root):
    """Every file and folder under root, as relative paths with '/' (folders end with '/')."""
    found = set()
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        prefix = "" if rel == "." else rel.replace(os.sep, "/") + "/"
        found.update(prefix + d + "/" for d in dirs)
        found.update(prefix + f for f in files)
    return found


# -- running the setup program and the uninstaller --------------------------------------------------
class Deployment:
    """Starts programs through the probe with an exact command line, since a deployment tool
    passes "/D=C:\\a b" unquoted, and waits for their Windows exit code."""

    def __init__(self, probe):
        self._probe = probe

    def start(self, command_line):
        return self._probe.call("spawn", command_line)["pid"]

    def wait(self, pid, timeout=120):
        return wait_until(lambda: (lambda c: None if c is None else [c])(self._probe.exit_code(pid)), timeout,
                          what="the exit code of pid %s" % pid)[0]

    def run(self, command_line, timeout=120):
        return self.wait(self.start(command_line), timeout)

    def uninstall(self, uninstaller, *switches, timeout=120):
        """Runs the uninstaller as Add or Remove Programs does: it copies itself to the temporary
        folder and ends at once, and the copy does the work. Waits for the copy to end; returns its
        exit code."""
        before = {p["pid"] for p in self._probe.processes()}
        copies = []

        def watch_copies():
            # Watched as soon as seen: a copy that refuses ends soon after it starts.
            for p in self._probe.processes():
                if p["pid"] not in before and p["pid"] not in copies and "\\~nsu" in p["path"].lower():
                    try:
                        self._probe.watch_process(p["pid"])
                    except ProbeError:
                        continue  # ended already
                    copies.append(p["pid"])

        launcher = self.start('"%s" %s' % (uninstaller, " ".join(switches)))

        def launcher_ended():
            watch_copies()
            code = self._probe.exit_code(launcher)
            return None if code is None else [code]
        started = wait_until(launcher_ended, timeout, interval=0.02, what="the exit code of the uninstaller")[0]
        if started != 0:
            return started
        watch_copies()
        codes = [self.wait(pid, timeout) for pid in copies]
        wait_until(lambda: not any(p["pid"] in copies for p in self._probe.processes()), timeout,
                   what="the uninstaller's copy to end")
        return codes[0] if codes else 0


# -- the registry -----------------------------------------------------------------------------------
_REG_VALUE = re.compile(r'^"((?:[^"\\]|\\.)*)"=(?:"((?:[^"\\]|\\.)*)"|dword:([0-9a-fA-F]{8}))$')


def _unescape(text):
    return re.sub(r"\\(.)", r"\1", text)


def registry_values(key):
    """The string and DWORD values of the key, as regedit exports them; None when the key is absent."""
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "key.reg")
        subprocess.run([settings.wine(), "regedit", "/E", "Z:" + out.replace("/", "\\"), key],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, env=os.environ.copy())
        if not os.path.exists(out):
            return None
        with open(out, "rb") as f:
            text = f.read().decode("utf-16")
    values = {}
    for line in text.splitlines():
        m = _REG_VALUE.match(line.strip())
        if m:
            values[_unescape(m.group(1))] = _unescape(m.group(2)) if m.group(3) is None else int(m.group(3), 16)
    return values


# -- version resources ------------------------------------------------------------------------------
class VersionResource:
    """The VS_VERSIONINFO of a Windows program: its fixed file and product versions and the strings."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        base = data.find("VS_VERSION_INFO".encode("utf-16-le")) - 6
        if base < 0:
            raise AssertionError("%s has no version resource" % path)
        self.fixed = None
        self.strings = {}
        self._walk(data, base, base)

    def _walk(self, data, at, base):
        length, value_length, kind = struct.unpack_from("<HHH", data, at)
        key_end = at + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[at + 6:key_end].decode("utf-16-le")
        align = lambda p: base + ((p - base + 3) & ~3)
        value_at = align(key_end + 2)
        value_size = value_length * 2 if kind == 1 else value_length
        if key == "VS_VERSION_INFO":
            signature, _, fms, fls, pms, pls = struct.unpack_from("<6I", data, value_at)
            if signature != 0xFEEF04BD:
                raise AssertionError("the fixed file information is damaged")
            self.fixed = {"file": (fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF),
                          "product": (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF)}
        elif kind == 1 and value_length:
            self.strings[key] = data[value_at:value_at + value_size].decode("utf-16-le").rstrip("\0")
        child = align(value_at + value_size)
        while child < at + length:
            child_length = struct.unpack_from("<H", data, child)[0]
            if child_length == 0:
                break
            self._walk(data, child, base)
            child = align(child + child_length)


# -- resources of a PE file ---------------------------------------------------------------------------
def pe_header(data, name):
    """Where the PE header of a Windows program or library file's bytes begins."""
    if data[:2] != b"MZ":
        raise AssertionError("%s is not a Windows program" % name)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise AssertionError("%s has no PE header" % name)
    return pe


def pe_machine(data, name):
    """The processor a Windows program or library file is built for: 0x14C x86, 0x8664 x64."""
    return struct.unpack_from("<H", data, pe_header(data, name) + 4)[0]


def pe_resources(path, type_id):
    """The data of every resource of the numeric type in a Windows program file, walked through its
    headers and resource directory as the loader finds them: [(name id, language id, bytes)]."""
    with open(path, "rb") as f:
        data = f.read()
    pe = pe_header(data, path)
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 8 * 2)
    if not resource_rva:
        return []
    table = optional + optional_size

    def offset(rva):
        for i in range(sections):
            virtual_size, virtual_at, raw_size, raw_at = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if virtual_at <= rva < virtual_at + max(virtual_size, raw_size):
                return raw_at + rva - virtual_at
        raise AssertionError("RVA %#x lies in no section" % rva)

    root = offset(resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, root + directory + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", data, root + directory + 16 + 8 * i)
            yield ident, target

    found = []
    for ident, target in entries(0):
        if ident != type_id or not target & 0x80000000:
            continue
        for name, by_name in entries(target & 0x7FFFFFFF):
            for language, leaf in entries(by_name & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, root + leaf)
                start = offset(rva)
                found.append((name, language, data[start:start + size]))
    return found
