"""The 64-bit build of the host control, once, end to end in a 64-bit Wine prefix of its own: a 64-bit
C++ program opens the 32-bit station through it, names a person, takes a finger, saves it as images and
records through the records library built for 64 bits, and closes it. Window
handles as decimal text, the registered messages and WM_COPYDATA cross the two bitnesses unchanged.
The control lies in the station's x64 folder, as the zip has it, and finds the station above it."""

import os
import shutil
import subprocess
import tempfile
import unittest

from kv90e2e import settings, wait_until, winefaults
from kv90e2e.fingerrecords import read_an2k, read_bmp_grey, read_iso_finger_record, read_png_grey
from kv90e2e.hostsim import HostSim, fields
from kv90e2e.program import windows_path
from kv90e2e.scanner import Scanner
from kv90e2e.station import COLLECT, GOOD, HELD, caption_for

BUILD = os.path.dirname(settings.stage_dir())
X64 = os.path.join(BUILD, "hostcontrol-x64")
CONTROL = os.path.join(X64, "hostcontrol", "KV90Host.dll")
CLIENT = os.path.join(X64, "hostclient", "kv90hostclient.exe")
CONTROL_32 = os.path.join(BUILD, "hostcontrol", "KV90Host.dll")
# Made once and kept: a fresh 64-bit prefix takes a while.
PREFIX = os.path.join(BUILD, "wineprefix-x64")


def line_index(client, prefix):
    """Where the first line with the prefix is among what the client printed; after everything when none is."""
    return next((i for i, l in enumerate(client.lines()) if l.startswith(prefix)), len(client.lines()))


@unittest.skipUnless(os.path.exists(CONTROL), "the 64-bit control is not built (no x86_64 compiler)")
class Control64(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.saved = {k: os.environ.get(k) for k in ("WINEPREFIX", "WINEARCH", "WINEDEBUG")}
        os.environ["WINEPREFIX"] = PREFIX
        os.environ["WINEARCH"] = "win64"
        os.environ["WINEDEBUG"] = winefaults.debug_setting()
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            subprocess.run([settings.wine(), "wineboot", "-i"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, env=os.environ.copy(), timeout=300)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=os.environ.copy(), timeout=60)
        for key, value in cls.saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kv90x64-", dir=settings.work_root())
        self.addCleanup(shutil.rmtree, self.folder, True)
        # Registered last, so it runs after every process of the test has ended.
        self.addCleanup(self.assert_no_faults)

    def wine64(self, *args, timeout=300):
        """Runs a Wine program of the 64-bit prefix; its error output goes to a file the test scans."""
        tool = args[0].replace("\\", "/").rsplit("/", 1)[-1]
        err = os.path.join(self.folder, "%s-%d.err" % (tool, len(os.listdir(self.folder))))
        with open(err, "ab") as sink:
            done = subprocess.run([settings.wine()] + list(args), stdout=subprocess.PIPE, stderr=sink,
                                  timeout=timeout, env=os.environ.copy())
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def assert_no_faults(self):
        """The client's error output (the station's too: it inherits it) and the tools' have no fault line."""
        faults = []
        for name in sorted(os.listdir(self.folder)):
            if name.endswith(".err"):
                with open(os.path.join(self.folder, name), "rb") as f:
                    faults += ["%s: %s" % (name, line) for line in winefaults.fault_lines(f.read())]
        self.assertEqual(faults, [], "Wine reported faults")

    def test_a_64_bit_program_drives_the_32_bit_station(self):
        station = os.path.join(self.folder, "Finger_KV90")
        shutil.copytree(settings.stage_dir(), station)
        scanner = Scanner(station)
        scanner.configure(**HELD, **GOOD)
        # As the zip lays it out: the 64-bit control in the station's x64 folder.
        os.mkdir(os.path.join(station, "x64"))
        control = os.path.join(station, "x64", "KV90Host.dll")
        shutil.copy(CONTROL, control)
        code, out = self.wine64("regsvr32", "/s", windows_path(control))
        self.assertEqual(code, 0, out)
        self.addCleanup(self.wine64, "regsvr32", "/s", "/u", windows_path(control))
        # The 32-bit control registered and removed beside it leaves the 64-bit one usable: the ProgID
        # is shared by the two registry views on Windows.
        regsvr32_32 = "C:\\windows\\syswow64\\regsvr32.exe"
        self.assertEqual(self.wine64(regsvr32_32, "/s", windows_path(CONTROL_32))[0], 0)
        self.assertEqual(self.wine64(regsvr32_32, "/s", "/u", windows_path(CONTROL_32))[0], 0)

        client = HostSim(log_dir=self.folder, label="client64", program=[CLIENT])
        self.addCleanup(client.close)
        # The station the control started holds the client's output pipe under Wine: this prefix's
        # own server ends it first, should the test stop half way.
        self.addCleanup(subprocess.run, ["wineserver", "-k"], env=os.environ.copy(), timeout=60)
        self.assertIn("advise=1", client.lines()[0])
        opened = client.ok("open", timeout=120)
        self.assertGreater(int(opened["window"]), 0)
        self.assertLess(line_index(client, "event Ready"), line_index(client, "ok open"),
                        "Ready comes before Open returns")
        client.ok("person 0001 张三")
        self.assertEqual(client.ok("caption")["text"], caption_for("张三"), "the station's own caption")

        before = len(scanner.calls("LIVESCAN_SaveToFile"))
        scanner.restart_scripts()
        wait_until(lambda: len(scanner.calls("LIVESCAN_SaveToFile")) > before, 60, what="a finger in the preview")
        client.ok("click " + COLLECT)
        collected = fields(client.wait_line(lambda l: l.startswith("event Collected"), 60, what="Collected"))
        self.assertEqual(collected["slot"], "0")
        self.assertEqual(collected["person"], windows_path(os.path.join(station, "Temp", "0001$张三_0.bmp")))

        # The records library inside the 64-bit control: WSQ, PNG and JPEG 2000 in one record each.
        with open(os.path.join(station, "Temp", "0001$张三_0.bmp"), "rb") as f:
            finger = read_bmp_grey(f.read())
        got = client.ok("bytes 0 png " + windows_path(os.path.join(self.folder, "0.png")))
        self.assertEqual(got["vt"], "8209")
        with open(os.path.join(self.folder, "0.png"), "rb") as f:
            self.assertEqual(read_png_grey(f.read())[:3], finger)
        client.ok("saverecord an2k " + windows_path(os.path.join(self.folder, "0001.an2")))
        with open(os.path.join(self.folder, "0001.an2"), "rb") as f:
            records = read_an2k(f.read())
        self.assertEqual([kind for kind, _ in records], [1, 2, 14])
        self.assertEqual((records[2][1][13], records[2][1][11]), (b"6", b"WSQ20"))
        self.assertEqual(records[2][1][999][:2], b"\xff\xa0")
        client.ok("saverecord iso19794-4:jp2 " + windows_path(os.path.join(self.folder, "0001.fir")))
        with open(os.path.join(self.folder, "0001.fir"), "rb") as f:
            header, views = read_iso_finger_record(f.read())
        self.assertEqual((header["compression"], [v["position"] for v in views]), (4, [6]))
        self.assertEqual(views[0]["image"][4:12], b"jP  \r\n\x87\n", "a JP2 file's signature box")

        client.ok("close", timeout=60)
        closed = client.wait_line(lambda l: l.startswith("event Closed"), what="Closed")
        self.assertEqual(fields(closed), {"reason": "closed", "exit": "0"})
        wait_until(lambda: client.ok("state")["state"] == "stopped", what="the control stopped")
