"""Every way the station closes tells the host once, and leaves no finger image behind: a close that
arrives while a capture shows its box, closes in quick succession, and a fault while the station
handles a message another program sent it."""

import unittest

from kv90e2e import ProbeError, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED
from kv90e2e.station import COLLECT, FINISH, GOOD, HELD, PERSON, StationTestCase

WM_CLOSE = 0x0010
WM_USER = 0x0400
EXCEPTION_ACCESS_VIOLATION = 0xC0000005
BM_CLICK = 0x00F5
# A new finger image on every frame, and a trace of every device call.
EVERY_FRAME = dict(Journal=1, Pace=5, Finger="hold", MOSAIC_DoMosaic="1")
REPEATED_CLOSE_LINE = "采集窗口正在关闭,忽略重复的关闭请求"
# The read of the pointer sent, should Wine name it: any other fault line still fails the test.
INJECTED_FAULT = r"page fault on read access to (?:0x)?0*10\b|err:seh.*\b(?:0x)?0*10\b"


class ClosingWhileCapturing(StationTestCase):

    def test_a_host_close_during_the_quality_box_leaves_no_preview_file(self):
        self.start_station(person=PERSON, **EVERY_FRAME, **GOOD)
        self.wait_preview_finger()
        self.scanner.configure(MOSAIC_FingerQuality=10)
        self.press(COLLECT)
        box = self.wait_message_box()
        self.assertTrue(box.text.startswith("指纹质量不合格"), box.text)
        # Frame processing is paused while the box is up: no preview file is written from here on.
        saves = self.saves()
        self.host.ok("close")
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.saves(), saves, "the preview file was written after the close began: %r"
                         % [c.line for c in self.scanner.journal()[-8:]])
        self.assertNotIn("FPTemp.bmp", self.temp_files())
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)


class ClosesInQuickSuccession(StationTestCase):

    def test_the_host_hears_of_the_close_once_and_the_later_closes_are_logged(self):
        self.start_station(person=PERSON, host_options=("--never-answer",), **HELD, **GOOD)
        self.collect_finger(0)
        # The station waits for the host's answer: what is posted to it now is handled in one go after.
        self.host.wait_notifications(HOST_CODE_COLLECTED)
        self.probe.post(self.main.hwnd, WM_CLOSE)
        self.probe.post(self.button(FINISH).hwnd, BM_CLICK)
        self.host.ok("release")
        self.assertEqual(self.exit_code(), 0)
        self.host.sync()
        self.assertEqual([(n.code, n.value) for n in self.host.notifications(HOST_CODE_CLOSE)], [(HOST_CODE_CLOSE, 0)])
        self.assertEqual(self.log_texts(), [REPEATED_CLOSE_LINE])
        self.assertEqual(self.temp_files(), ["1234$XYZ_0.bmp"])


class FaultWhileHandlingASentMessage(StationTestCase):

    def test_the_host_is_told_of_the_close_as_for_a_posted_one(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        com = wait_until(lambda: self.probe.message_windows(cls="OleMainThreadWndClass", pid=self.run_.pid),
                         what="the system's COM window in the station")[0]
        self.expect_wine_fault(INJECTED_FAULT, self.run_.stderr_path)
        # A pointer that is nowhere in the station's process, sent from this one: the system's window
        # faults while the station's thread handles a message another thread sent it.
        try:
            self.probe.send(com.hwnd, WM_USER, 0, 0x10, timeout_ms=5000)
        except ProbeError:
            pass
        self.assertEqual(self.exit_code(), EXCEPTION_ACCESS_VIOLATION)
        self.host.wait_notifications(HOST_CODE_CLOSE)
        self.host.sync()
        self.assertEqual([(n.code, n.value) for n in self.host.notifications(HOST_CODE_CLOSE)], [(HOST_CODE_CLOSE, 0)])
        fault = [t for t in self.log_texts() if t.startswith("程序遇到未处理的异常而终止")]
        self.assertEqual(len(fault), 1, self.log_texts())
        self.assertTrue(fault[0].endswith(",读取0x00000010"), fault[0])


if __name__ == "__main__":
    unittest.main()
