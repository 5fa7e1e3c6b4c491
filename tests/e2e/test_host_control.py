"""The host control KV90Host.dll as integrators use it: a C++ program through CoCreateInstance and a
connection point, scripts in Wine's script host polling with NextEvent, the refusals with their
descriptions, a station killed from outside, and registration that leaves no key behind."""

import filecmp
import os
import subprocess
import tempfile

from kv90e2e import settings, wait_until
from kv90e2e.hostsim import HostSim, fields
from kv90e2e.mainwindow import MAIN_CLASS, MainWindow
from kv90e2e.msgbox import MessageBox
from kv90e2e.program import windows_path
from kv90e2e.station import GOOD, HELD, StationTestCase, caption_for

BUILD = os.path.dirname(settings.stage_dir())
SAMPLES = os.path.join(os.path.dirname(os.path.dirname(settings.HERE)), "docs", "samples")
CONTROL = os.path.join(BUILD, "hostcontrol", "KV90Host.dll")
CLIENT = os.path.join(BUILD, "tests", "e2e", "hostclient", "kv90hostclient.exe")
CLSID = "{22A84E31-7FB5-4F75-9A36-28302D79F42C}"
PROGID = "KV90.FingerHost"


def wine(*args, timeout=120):
    """Runs a Wine program of this run's prefix; its exit code and its output (UTF-8 or the code page)."""
    done = subprocess.run([settings.wine()] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=timeout, env=os.environ.copy())
    out = done.stdout.decode("utf-8", "replace")
    return done.returncode, out


def registry_has(key):
    """Whether the registry key exists (reg query answers 0 for a key it found)."""
    code, _ = wine("reg", "query", key)
    return code == 0


class HostControlCase(StationTestCase):
    """The control registered per machine for the test, the station started by the control."""

    def setUp(self):
        super().setUp()
        code, out = wine("regsvr32", "/s", windows_path(CONTROL))
        self.assertEqual(code, 0, "regsvr32 failed: %s" % out)
        self.addCleanup(wine, "regsvr32", "/s", "/u", windows_path(CONTROL))
        self.station_pid = None
        self.addCleanup(self.end_station)

    def end_station(self):
        if self.station_pid and self.probe.exit_code(self.station_pid) is None:
            self.probe.terminate(self.station_pid, 1)
        self.station_pid = None

    def start_client(self, *options):
        client = HostSim(*options, log_dir=self.folder.root, label="client%d" % len(self.folder.runs),
                         program=[CLIENT])
        self.addCleanup(client.close)
        # Under Wine the station the control started holds the client's output pipe: it goes first,
        # or reading the client's output never ends.
        self.addCleanup(self.end_station)
        return client

    def adopt_main_window(self, pid):
        """The station the control started is the one the test operates."""
        self.station_pid = pid
        self.probe.watch_process(pid)
        self.main = wait_until(lambda: MainWindow.find(self.probe, pid), what="the main window of the station")


class CppClient(HostControlCase):

    def test_two_fingers_through_the_connection_point(self):
        self.scanner.configure(**HELD, **GOOD)
        copies = tempfile.mkdtemp(dir=self.folder.root)
        client = self.start_client("--copy-to", windows_path(copies))
        self.assertIn("advise=1", client.lines()[0])
        opened = client.ok("open " + windows_path(self.folder.path), timeout=60)
        self.adopt_main_window(int(opened["pid"]))
        self.assertEqual(int(opened["window"]), self.main.hwnd)
        self.assertIn("event Ready", client.lines(), "Ready comes before Open returns")

        client.ok("person 0001 张三")
        self.wait_caption(caption_for("张三"))
        state = client.ok("state")
        self.assertEqual((state["state"], state["key"], state["name"]), ("ready", "0001", "张三"))

        for slot in (0, 1):
            self.collect_finger(slot)
            line = client.wait_line(lambda l, s=slot: l.startswith("event Collected slot=%d " % s),
                                    what="Collected for slot %d" % slot)
            event = fields(line)
            self.assertEqual(event["copied"], "1", "the files were there inside the handler")
            self.assertEqual(event["file"], windows_path(self.temp("%d.bmp" % slot)))
            self.assertEqual(event["person"], windows_path(self.temp("0001$张三_%d.bmp" % slot)))
            self.wait_preview_empty()
        for slot in (0, 1):
            person = self.temp("0001$张三_%d.bmp" % slot)
            self.assertTrue(filecmp.cmp(os.path.join(copies, "person-%d.bmp" % slot), person, shallow=False))
            self.assertTrue(filecmp.cmp(os.path.join(copies, "copy-%d.bmp" % slot), person, shallow=False))

        client.ok("close", timeout=60)
        closed = client.wait_line(lambda l: l.startswith("event Closed"), what="Closed")
        self.assertEqual(fields(closed), {"reason": "closed", "exit": "0"})
        self.assertEqual(self.probe.exit_code(self.station_pid), 0)
        self.assertEqual([l.split()[1] for l in client.lines() if l.startswith("event ")],
                         ["Ready", "Collected", "Collected", "Closed"])
        self.assertIsNone(self.probe.read_mapping("FINGER_ACTIVEX_FILE", 1), "the host block is gone")


class ScriptHost(HostControlCase):
    """The guide's JScript and VBScript samples, run as they are by Wine's cscript: they poll with NextEvent."""

    def run_sample(self, name, slot, person_file):
        self.scanner.configure(**HELD, **GOOD)
        script = HostSim("//nologo", windows_path(os.path.join(SAMPLES, name)), windows_path(self.folder.path),
                         log_dir=self.folder.root, label=name, program=["cscript"], first_line=None)
        self.addCleanup(script.close)
        self.addCleanup(self.end_station)
        found = wait_until(lambda: self.probe.windows(cls=MAIN_CLASS, visible=True), 60,
                           what="the station started by the script")
        self.adopt_main_window(found[0]["pid"])
        self.wait_caption(caption_for(person_file.split("$")[1]))
        self.collect_finger(slot)
        line = script.wait_line(lambda l: l.startswith("finger "), 60, what="the script's finger line")
        self.assertEqual(line, "finger %d: %s" % (slot, windows_path(self.temp("%s_%d.bmp" % (person_file, slot)))))
        self.assertEqual(script.process.wait(timeout=60), 0, "the script ended with an error: %r" % script.lines())
        self.assertEqual(self.probe.exit_code(self.station_pid), 0, "the script closed the station")
        self.assertTrue(os.path.exists(self.temp("%s_%d.bmp" % (person_file, slot))))

    def test_the_jscript_sample_captures_a_finger(self):
        self.run_sample("capture.js", 0, "0001$ZhangSan")

    def test_the_vbscript_sample_captures_a_finger(self):
        self.run_sample("capture.vbs", 0, "0002$LiSi")


class Refusals(HostControlCase):

    def test_bad_person_texts_are_refused_and_nothing_is_sent(self):
        client = self.start_client()
        refused = client.command("person 1 x")
        self.assertTrue(refused.startswith("error person"), refused)
        self.assertIn("Open()", refused, "before READY the description says what to do")
        opened = client.ok("open " + windows_path(self.folder.path), timeout=60)
        self.adopt_main_window(int(opened["pid"]))
        for key, name, says in (("12$3", "x", "$"), ("1", "a\\b", "文件名"), ("1", "가", "代码页"),
                                ("1", "x" * 260, "太长")):
            reply = client.command("person %s %s" % (key, name))
            self.assertTrue(reply.startswith("error person hr=0x8004020"), reply)
            self.assertIn(says, reply)
        # Nothing reached the station: its caption still names nobody.
        self.assertNotIn("当前采集姓名为", self.main.refresh() and self.main.caption)
        client.ok("close", timeout=60)

    def test_open_without_the_program_and_beside_another_host(self):
        client = self.start_client()
        empty = tempfile.mkdtemp(dir=self.folder.root)
        reply = client.command("open " + windows_path(empty))
        self.assertTrue(reply.startswith("error open"), reply)
        self.assertIn("未找到采集程序", reply)
        self.assertIn("Finger_KV90.exe", reply)
        self.probe.create_mapping("FINGER_ACTIVEX_FILE", 20, b"4242\0")
        self.addCleanup(self.probe.close_mapping, "FINGER_ACTIVEX_FILE")
        reply = client.command("open " + windows_path(self.folder.path))
        self.assertTrue(reply.startswith("error open"), reply)
        self.assertIn("FINGER_ACTIVEX_FILE", reply)

    def test_a_second_capture_program_makes_open_fail_with_its_exit_code(self):
        # A sibling of the family holds its name: the station says so in a box and ends when it is closed.
        self.hold_mutex("Finger_LX20")
        client = self.start_client()
        start = len(client.lines())
        client.process.stdin.write(("open %s\n" % windows_path(self.folder.path)).encode("utf-8"))
        client.process.stdin.flush()
        program = windows_path(self.folder.file("Finger_KV90.exe"))
        pid = wait_until(lambda: (self.probe.pids_of_path(program) or [None])[0], 60, what="the station started")
        self.station_pid = pid
        self.probe.watch_process(pid)
        box = wait_until(lambda: MessageBox.find(self.probe, pid), 60, what="the station's refusal box")
        box.press(box.buttons[0])
        reply = client.wait_line(lambda l: l.startswith(("ok open", "error open")), 60, after=start,
                                 what="the reply to open")
        self.assertTrue(reply.startswith("error open hr=0x80040205"), reply)
        self.assertIn("退出码 0", reply)
        self.assertEqual(client.ok("state")["state"], "stopped")

    def test_a_station_killed_from_outside_is_closed_as_ended(self):
        client = self.start_client()
        opened = client.ok("open " + windows_path(self.folder.path), timeout=60)
        self.adopt_main_window(int(opened["pid"]))
        self.probe.terminate(self.station_pid, 77)
        closed = client.wait_line(lambda l: l.startswith("event Closed"), what="Closed after the kill")
        self.assertEqual(fields(closed), {"reason": "ended", "exit": "77"})
        self.assertEqual(client.ok("state")["state"], "stopped")


class Registration(StationTestCase):

    def test_per_machine_and_per_user_registration_leave_no_key(self):
        dll = windows_path(CONTROL)
        for scope, register, unregister, root in (
                ("machine", ["/s"], ["/s", "/u"], "HKLM"),
                ("user", ["/s", "/n", "/i:user"], ["/s", "/u", "/n", "/i:user"], "HKCU")):
            with self.subTest(scope=scope):
                keys = [root + "\\Software\\Classes\\CLSID\\" + CLSID, root + "\\Software\\Classes\\" + PROGID,
                        root + "\\Software\\Classes\\TypeLib\\{91B4D53A-1DD7-4D50-A89E-8234FF34FC48}"]
                code, out = wine("regsvr32", *register, dll)
                self.assertEqual(code, 0, out)
                self.assertEqual([registry_has(k) for k in keys], [True] * len(keys))
                code, out = wine("regsvr32", *unregister, dll)
                self.assertEqual(code, 0, out)
                self.assertEqual([registry_has(k) for k in keys], [False] * len(keys))
                # Siblings stay: the classes root itself and Wine's own registrations.
                self.assertTrue(registry_has(root + "\\Software\\Classes"))
                self.assertTrue(registry_has("HKLM\\Software\\Classes\\CLSID"))
