"""A nearly full disk: a finger file is whole or absent, the error box gives the system's reason, a slot whose
finger the host already has keeps its files, and once there is room again the finger is stored; a settings file
that cannot be saved whole stays as it was."""

import os
import subprocess
import time
import unittest

from kv90e2e import config_value, layout, windows_path
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.station import COLLECT, GOOD, HELD, StationTestCase

PERSON = "1234$张三"

# A small file system, filled after the first finger until 150 KB are left, as in the incident. It has room
# for two more finger files once the filler goes: a finger's two files are written whole beside the old ones
# before either takes its place.
VOLUME_KB = 2500
LEFT_FREE = 150 * 1024
PAGE = 4096
# The system's text for ERROR_DISK_FULL on a Chinese Windows (and under Wine with a Chinese locale).
DISK_FULL = "磁盘满。"


class NearlyFullDisk(StationTestCase):

    def mount_small_volume(self, folder, kb):
        """A small tmpfs over the folder. Where mounting is refused (not root, no rights) the test fails: a
        passing run has then filled no disk. KV90_E2E_NO_MOUNT=1 says the machine cannot mount, and skips it."""
        try:
            result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%dk,mode=0755" % kb, "tmpfs", folder],
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
            refused = result.stdout.decode(errors="replace").strip() if result.returncode != 0 else None
        except OSError as e:
            refused = str(e)
        if refused is None:
            self.addCleanup(self.unmount, folder)
            return
        why = "cannot mount a small file system over %s (mount needs root and the right to mount): %s" % (
            folder, refused)
        if os.environ.get("KV90_E2E_NO_MOUNT") == "1":
            self.skipTest(why)
        self.fail(why + "; set KV90_E2E_NO_MOUNT=1 to skip the full-disk tests on such a machine")

    def unmount(self, folder):
        # Nothing may hold the volume: the program ends first (the host has ended already).
        for run in self.folder.runs:
            run.kill()
        for _ in range(20):
            if subprocess.run(["umount", folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
                return
            time.sleep(0.25)
        # Whatever still holds it, the mount goes with the test.
        subprocess.run(["umount", "-l", folder], check=True)

    def read(self, name, folder="Temp"):
        with open(self.folder.file(folder, name), "rb") as f:
            return f.read()

    def fill_leaving(self, free, folder="Temp"):
        """Fills the volume with a file of its own until only `free` bytes are left."""
        path = self.folder.file(folder)
        stat = os.statvfs(path)
        size = stat.f_bavail * stat.f_frsize - free
        self.assertGreater(size, 0, "the volume has less room than the test leaves")
        with open(os.path.join(path, "filler"), "wb") as f:
            f.write(b"\0" * size)
        stat = os.statvfs(path)
        left = stat.f_bavail * stat.f_frsize
        self.assertTrue(free - stat.f_frsize < left <= free, "%d bytes left instead of %d" % (left, free))

    def capture_fails_for_want_of_room(self, slot):
        self.host.sync()
        notes = len(self.host.notifications(HOST_CODE_COLLECTED))
        self.press(COLLECT)
        box = self.wait_message_box()
        caption, text = box.caption, box.text
        self.close_box(box)
        self.assertEqual(caption, "KV90指纹采集")
        # The first file of the two, named as the program names it, and the system's reason.
        self.assertEqual(text, 'Cannot write file "%s". %s' % (windows_path(self.temp("%d.bmp" % slot)), DISK_FULL))
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), notes, "the host was told")

    def test_a_finger_file_is_whole_or_absent_on_a_nearly_full_disk(self):
        self.mount_small_volume(self.temp(), VOLUME_KB)
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        self.press(COLLECT)
        self.assertEqual(self.host.wait_notifications(HOST_CODE_COLLECTED)[0].value, 0)
        self.wait_status(layout.SLOTS[1].finger_text)
        held = {name: self.read(name) for name in ("0.bmp", "1234$张三_0.bmp")}
        self.assertEqual(held["0.bmp"], held["1234$张三_0.bmp"])
        self.assertEqual(self.temp_files(), ["0.bmp", "1234$张三_0.bmp", "FPTemp.bmp"])

        # The scanner rewrites its preview file in place, so it still fits once the volume is full.
        self.offer_finger()
        self.fill_leaving(LEFT_FREE)
        expected = ["0.bmp", "1234$张三_0.bmp", "FPTemp.bmp", "filler"]

        with self.subTest("a new slot: neither file appears, not even cut short"):
            self.capture_fails_for_want_of_room(1)
            self.assertEqual(self.temp_files(), expected)
            self.wait_status(layout.SLOTS[1].finger_text)
            self.assertNotIn(1, self.occupied_slots())

        with self.subTest("the slot whose finger the host has keeps its files byte for byte"):
            self.click_slot(0)
            self.wait_status(layout.SLOTS[0].finger_text)
            self.wait_preview_finger()
            self.capture_fails_for_want_of_room(0)
            self.assertEqual(self.temp_files(), expected)
            self.assertEqual({name: self.read(name) for name in held}, held)
            self.assertIn(0, self.occupied_slots())

        with self.subTest("with room again the same slot takes the finger and the host is told"):
            os.remove(self.temp("filler"))
            self.wait_preview_finger()
            self.press(COLLECT)
            self.host.wait_notifications(HOST_CODE_COLLECTED, count=2)
            self.host.sync()
            self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_COLLECTED)], [0, 0])
            self.assertEqual(self.temp_files(), expected[:-1])
            stored = self.read("0.bmp")
            self.assertEqual(stored, self.read("1234$张三_0.bmp"))
            self.assertEqual(len(stored), len(held["0.bmp"]))
            self.assertNotEqual(stored, held["0.bmp"], "the new finger is the old one: the test shows nothing")

    def save_settings(self):
        self.click_window(self.settings_controls()["save"])
        box = self.wait_message_box()
        text = box.text
        self.close_box(box)
        return text

    def test_settings_that_cannot_be_saved_whole_leave_the_file_as_it_was(self):
        # One page of settings: the program's copy of the file fits in the last free page, the system's rewrite of
        # the copy with the new values (a line break before each section, longer values) does not.
        config = self.read("Config.ini", "Config").rstrip(b"\r\n") + b"\r\n[Notes]\r\nPadding="
        padding = "x" * (PAGE - len(config) - 2)
        config += padding.encode() + b"\r\n"
        self.assertEqual(len(config), PAGE)
        self.mount_small_volume(self.folder.file("Config"), 64)
        with open(self.folder.file("Config", "Config.ini"), "wb") as f:
            f.write(config)
        self.start_station(person=PERSON, **HELD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.open_settings()
        self.fill_leaving(PAGE, "Config")
        before = len(self.log_texts())

        self.assertEqual(self.save_settings(), "保存设置失败")
        self.assertEqual(self.read("Config.ini", "Config"), config)
        self.assertEqual(sorted(os.listdir(self.folder.file("Config"))), ["Config.ini", "filler"])
        lines = self.log_texts()[before:]
        self.assertEqual(len(lines), 1, lines)
        # The system reports its rewrite of the copy as done; only reading it back shows that it was cut short.
        self.assertEqual(lines[0], "保存系统配置失败,原因:Cannot write file \"%s\". The system's copy of it does not "
                         "read back with the values written and every other key kept."
                         % windows_path(self.folder.file("Config", "Config.ini")))

        os.remove(self.folder.file("Config", "filler"))
        self.assertEqual(self.save_settings(), "保存设置成功")
        self.assertEqual(os.listdir(self.folder.file("Config")), ["Config.ini"])
        self.assertEqual(config_value(self.folder.path, "Padding", section="Notes"), padding)
        self.assertEqual(config_value(self.folder.path, "FQuality"), "50")


if __name__ == "__main__":
    unittest.main()
