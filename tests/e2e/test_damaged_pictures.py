"""Damaged bitmap files in Temp\\, as a failing disk or another program may leave them: the view and
capture commands fail the way any of their failures does (a log line, or the capture command's error
report), and the station goes on."""

import struct
import unittest

from kv90e2e import layout, wait_until
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.station import COLLECT, GOOD, HELD, PERSON, VIEW, StationTestCase

VIEW_FAILED = "将BMP文件转换为JPG文件失败,错误:"


def damaged(good):
    """The ways a bitmap file is found damaged: name -> (bytes, the reason the program gives)."""
    huge = bytearray(good)
    huge[18:26] = struct.pack("<ii", 30000, 30000)
    far = bytearray(good)
    far[10:14] = struct.pack("<I", 0xFFFFFF00)
    return {
        "100 bytes": (good[:100], "is truncated"),
        "1078 bytes": (good[:1078], "is truncated"),
        "half": (good[:len(good) // 2], "is truncated"),
        "30000 x 30000": (bytes(huge), "is too large"),
        "pixels at 0xFFFFFF00": (bytes(far), "is truncated"),
    }


class DamagedBitmaps(StationTestCase):

    def new_log_lines(self, before, start):
        return [t for t in self.log_texts()[before:] if t.startswith(start)]

    def assert_alive(self):
        self.assertTrue(self.run_.running(), "the station has ended")
        self.assertTrue(self.probe.window(self.main.hwnd)["visible"])

    def test_a_damaged_slot_file_makes_the_view_command_log_and_show_nothing(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        with open(self.temp("0.bmp"), "rb") as f:
            good = f.read()
        self.click_slot(0)
        wait_until(lambda: self.enabled(VIEW), what="the view button for the occupied slot 0")
        for name, (data, reason) in damaged(good).items():
            with self.subTest(damage=name):
                self.plant("0.bmp", data)
                before = len(self.log_texts())
                self.press(VIEW)
                lines = wait_until(lambda: self.new_log_lines(before, VIEW_FAILED),
                                   what="the conversion's log line; log %r" % self.log_texts()[before:])
                self.assertEqual(len(lines), 1, lines)
                self.assertIn('Temp\\0.bmp" ' + reason, lines[0])
                # The operator chooses another slot: once it is chosen, the view command has ended (a viewer
                # or a message box would hold the window).
                self.click_slot(1)
                wait_until(lambda: self.viewer() is not None or not self.no_message_box()
                           or self.main.shows_status(layout.SLOTS[1].finger_text), what="slot 1 chosen")
                self.assertIsNone(self.viewer())
                self.assertTrue(self.no_message_box())
                self.assert_alive()
                self.click_slot(0)
                wait_until(lambda: self.enabled(VIEW), what="the view button for the occupied slot 0 again")
        # The slot file made good again is shown.
        self.plant("0.bmp", good)
        self.press(VIEW)
        self.wait_viewer()

    def test_a_damaged_preview_file_makes_the_capture_command_fail_and_store_nothing(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.offer_finger()
        with open(self.temp("FPTemp.bmp"), "rb") as f:
            good = f.read()
        for name, (data, reason) in damaged(good).items():
            with self.subTest(damage=name):
                self.plant("FPTemp.bmp", data)
                before = len(self.log_texts())
                self.press(COLLECT)
                expected = 'Temp\\FPTemp.bmp" ' + reason

                # The failure reaches the capture command's error report, not the window procedure's log.
                box = self.wait_message_box()
                self.assertEqual(box.caption, "KV90指纹采集")
                self.assertIn(expected, box.text)
                self.close_box(box)
                self.assertFalse([t for t in self.log_texts()[before:] if "Wndproc" in t])
                self.assertFalse([t for t in self.log_texts()[before:] if "成功" in t])
                self.host.sync()
                self.assertEqual(self.host.notifications(HOST_CODE_COLLECTED), [])
                self.assertEqual(self.occupied_slots(), [])
                self.assertEqual(self.temp_files(), ["FPTemp.bmp"])
                self.assert_alive()
        # The next finger image is stored as always.
        self.offer_finger()
        self.press(COLLECT)
        self.host.wait_notifications(HOST_CODE_COLLECTED)
        wait_until(lambda: self.occupied_slots() == [0], what="slot 0 filled")
        self.host.sync()
        self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_COLLECTED)], [0])


if __name__ == "__main__":
    unittest.main()
