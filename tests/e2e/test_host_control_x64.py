"""The 64-bit build of the host control, once, end to end in a 64-bit Wine prefix of its own: a 64-bit
C++ program opens the 32-bit station through it, names a person, and closes it. Window handles as
decimal text, the registered messages and WM_COPYDATA cross the two bitnesses unchanged."""

import os
import shutil
import subprocess
import tempfile
import unittest

from kv90e2e import settings, wait_until
from kv90e2e.hostsim import HostSim, fields
from kv90e2e.program import windows_path

BUILD = os.path.dirname(settings.stage_dir())
X64 = os.path.join(BUILD, "hostcontrol-x64")
CONTROL = os.path.join(X64, "hostcontrol", "KV90Host.dll")
CLIENT = os.path.join(X64, "hostclient", "kv90hostclient.exe")
# Made once and kept: a fresh 64-bit prefix takes a while.
PREFIX = os.path.join(BUILD, "wineprefix-x64")


def wine64(*args, timeout=300):
    done = subprocess.run([settings.wine()] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=timeout, env=os.environ.copy())
    return done.returncode, done.stdout.decode("utf-8", "replace") + done.stderr.decode("utf-8", "replace")


@unittest.skipUnless(os.path.exists(CONTROL), "the 64-bit control is not built (no x86_64 compiler)")
class Control64(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.saved = {k: os.environ.get(k) for k in ("WINEPREFIX", "WINEARCH")}
        os.environ["WINEPREFIX"] = PREFIX
        os.environ["WINEARCH"] = "win64"
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            wine64("wineboot", "-i")

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=os.environ.copy(), timeout=60)
        for key, value in cls.saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value

    def test_a_64_bit_program_drives_the_32_bit_station(self):
        folder = tempfile.mkdtemp(prefix="kv90x64-", dir=settings.work_root())
        self.addCleanup(shutil.rmtree, folder, True)
        station = os.path.join(folder, "Finger_KV90")
        shutil.copytree(settings.stage_dir(), station)
        code, out = wine64("regsvr32", "/s", windows_path(CONTROL))
        self.assertEqual(code, 0, out)
        self.addCleanup(wine64, "regsvr32", "/s", "/u", windows_path(CONTROL))

        client = HostSim(log_dir=folder, label="client64", program=[CLIENT])
        self.addCleanup(client.close)
        # The station the control started holds the client's output pipe under Wine: this prefix's
        # own server ends it first, should the test stop half way.
        self.addCleanup(subprocess.run, ["wineserver", "-k"], env=os.environ.copy(), timeout=60)
        self.assertIn("advise=1", client.lines()[0])
        opened = client.ok("open " + windows_path(station), timeout=120)
        self.assertGreater(int(opened["window"]), 0)
        self.assertIn("event Ready", client.lines())
        client.ok("person 0001 张三")
        state = client.ok("state")
        self.assertEqual((state["state"], state["key"], state["name"]), ("ready", "0001", "张三"))
        client.ok("close", timeout=60)
        closed = client.wait_line(lambda l: l.startswith("event Closed"), what="Closed")
        self.assertEqual(fields(closed), {"reason": "closed", "exit": "0"})
        wait_until(lambda: client.ok("state")["state"] == "stopped", what="the control stopped")
