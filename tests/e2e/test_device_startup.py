"""Starting the scanner when the capture window is first shown: every failure of the start-up shows
its text (or its message box), leaves the capture and view buttons disabled and starts no capture
thread; a good start runs the device until the window closes."""

import re
import unittest

from kv90e2e import MB_ICONWARNING, layout, set_config_value, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED, HOST_CODE_READY
from kv90e2e.station import COLLECT, FINISH, VIEW, StationTestCase

SHOW_FAILURE_LINE = "初始化设备失败,函数KV90窗体显示事件中错误:"
PER_FRAME = {"LIVESCAN_BeginCapture", "LIVESCAN_GetFPRawData", "LIVESCAN_EndCapture", "MOSAIC_IsFinger",
             "MOSAIC_DoMosaic"}
SHUTDOWN = ["MOSAIC_Stop", "MOSAIC_Close", "LIVESCAN_Close"]
BM_CLICK = 0x00F5


class StartupFailures(StationTestCase):
    """One row of the failure table per test; the host is there (so the log holds only the program's own
    failure lines) but names no person."""

    def start_failing(self, **scanner):
        # Journal=2 records the per-frame calls as well: any of them would be a running capture thread.
        self.scanner.configure(Journal=2, Pace=10, **scanner)
        return self.start_station()

    def assert_failed_state(self, status_text, log=()):
        self.wait_status(status_text)
        states = self.button_states()
        self.assertFalse(states[COLLECT], "the capture button is enabled after a failed start")
        self.assertFalse(states[VIEW], "the view button is enabled after a failed start")
        self.assertTrue(states[FINISH])
        self.assertEqual(self.log_texts(), list(log))

    def close_and_check_no_thread(self):
        """Closing ends the program; nothing ever ran a frame and nothing closed the device."""
        self.probe.close_window(self.main.hwnd)
        self.assertEqual(self.exit_code(), 0)
        self.host.wait_notifications(HOST_CODE_CLOSE)
        names = set(self.scanner.names())
        self.assertEqual(names & PER_FRAME, set(), "a capture thread fetched frames")
        for name in SHUTDOWN:
            self.assertNotIn(name, names, "%s was called although the device never started" % name)

    def test_without_the_kv90dll_folder_the_capture_library_is_reported(self):
        self.scanner.remove_folder()
        self.start_station()
        self.assert_failed_state("加载指纹采集动态库失败")
        self.probe.close_window(self.main.hwnd)
        self.assertEqual(self.exit_code(), 0)

    def test_without_the_capture_library(self):
        self.scanner.configure(Journal=2)
        self.scanner.remove_library("GALS7302.dll")
        self.start_station()
        self.assert_failed_state("加载指纹采集动态库失败")
        self.close_and_check_no_thread()
        self.assertNotIn("MOSAIC_Init", self.scanner.names())

    def test_without_the_mosaic_library(self):
        self.scanner.configure(Journal=2)
        self.scanner.remove_library("GAMC7302.dll")
        self.start_station()
        self.assert_failed_state("加载指纹拼接动态库失败")
        self.close_and_check_no_thread()
        self.assertEqual(self.scanner.names(), [], "the capture library was used although the start-up failed")

    def test_scanner_that_does_not_open(self):
        self.start_failing(LIVESCAN_Init=0)
        self.assert_failed_state("打开KV90采集仪失败")
        self.close_and_check_no_thread()
        self.assertEqual([c.line for c in self.scanner.journal()], ["LIVESCAN_Init() = 0"])

    def test_a_missing_init_entry_point_counts_as_a_scanner_that_does_not_open(self):
        self.start_failing(Missing="LIVESCAN_Init")
        self.assert_failed_state("打开KV90采集仪失败")
        self.close_and_check_no_thread()
        self.assertEqual(self.scanner.names(), [], "a device call was made after the missing entry point")

    def test_mosaic_interface_that_does_not_start(self):
        self.start_failing(MOSAIC_Init=0)
        self.assert_failed_state("初始化指纹拼接接口失败")
        self.close_and_check_no_thread()
        self.assertEqual(self.scanner.names(), ["LIVESCAN_Init", "MOSAIC_Init"])

    def test_video_window_refused(self):
        set_config_value(self.folder.path, "Bright", "200")  # not applied: the video step failed before it
        self.start_failing(LIVESCAN_SetVideoWindow=0)
        self.assert_failed_state("设置预览窗口失败")
        self.close_and_check_no_thread()
        self.assertEqual(self.scanner.names(), ["LIVESCAN_Init", "MOSAIC_Init", "LIVESCAN_SetVideoWindow"])

    def assert_thread_preparation_failure(self, box, box_text, calls):
        self.assert_box(box, box_text)
        agreement = self.reference_icon(MB_ICONWARNING).foreground_agreement(self.painted_icon(box))
        self.assertGreater(agreement, 0.9, "the box does not show the warning icon")
        self.close_box(box)
        self.main = self.wait_main_window(self.run_)
        lines = wait_until(lambda: self.log_texts(), what="the start-up failure in the log")
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].startswith(SHOW_FAILURE_LINE) and len(lines[0]) > len(SHOW_FAILURE_LINE),
                        "log line %r is not the show handler's failure with a reason" % lines[0])
        # No slot is selected: the status label stays empty.
        self.assert_failed_state("", log=lines)
        self.close_and_check_no_thread()
        self.assertEqual(self.scanner.names(), calls)

    def start_with_box(self, **scanner):
        self.scanner.configure(Journal=2, Pace=10, **scanner)
        self.start_host()
        self.run_ = self.launch()
        return self.wait_message_box()

    def test_capture_window_size_refused(self):
        box = self.start_with_box(LIVESCAN_SetCaptWindow=0)
        self.assert_thread_preparation_failure(
            box, "设置图像采集大小失败",
            ["LIVESCAN_Init", "MOSAIC_Init", "LIVESCAN_SetVideoWindow", "LIVESCAN_SetCaptWindow"])

    def test_roll_mode_refused(self):
        box = self.start_with_box(MOSAIC_SetRollMode=-1)
        self.assert_thread_preparation_failure(
            box, "设置拼接模式失败",
            ["LIVESCAN_Init", "MOSAIC_Init", "LIVESCAN_SetVideoWindow", "LIVESCAN_SetCaptWindow",
             "MOSAIC_SetRollMode"])

    def test_capture_is_refused_while_the_device_is_not_started(self):
        self.start_failing(LIVESCAN_Init=0)
        self.wait_status("打开KV90采集仪失败")
        # The host's person enables the capture button again; the command itself refuses.
        self.host.ok("person 1234$XYZ")
        wait_until(lambda: self.enabled(COLLECT), what="the capture button enabled by the person")
        self.press(COLLECT)
        box = self.wait_message_box()
        self.assert_box(box, "设备未初始化,不能采集指纹")
        self.close_box(box)
        self.assertEqual(self.temp_files(), [])
        self.close_and_check_no_thread()
        # The program has ended and the host has read all it was told: only the close.
        self.host.sync()
        self.assertEqual([n.code for n in self.host.notifications()], [HOST_CODE_READY, HOST_CODE_CLOSE])


class GoodStart(StationTestCase):

    def test_device_calls_in_order_and_the_device_closed_at_the_end(self):
        set_config_value(self.folder.path, "Bright", "200")
        set_config_value(self.folder.path, "Contrast", "90")
        # A brightness the device refuses at start-up is neither shown nor logged.
        self.start_station(Journal=1, Pace=10, Finger="none", LIVESCAN_SetBright=0)
        self.wait_status(layout.SLOTS[0].finger_text)
        video = [c for c in self.main.controls("TPanel")
                 if self.main.client_bounds(c)[:2] == (layout.PREVIEW_PANEL[0] + layout.PREVIEW_VIEW[0],
                                                       layout.PREVIEW_PANEL[1] + layout.PREVIEW_VIEW[1])]
        self.assertEqual(len(video), 1, "the video panel is not where it belongs")
        journal = [c.line for c in self.scanner.journal()]
        self.assertEqual(journal[:7], [
            "LIVESCAN_Init() = 1",
            "MOSAIC_Init() = 1",
            "LIVESCAN_SetVideoWindow(%08x) = 1" % video[0].hwnd,
            "LIVESCAN_SetBright(0, 200) = 0",
            "LIVESCAN_SetContrast(0, 90) = 1",
            "LIVESCAN_SetCaptWindow(0, 0, 0, 640, 640) = 1",
            "MOSAIC_SetRollMode(1) = 1",
        ])
        self.assertEqual(self.log_texts(), [])

        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)
        names = self.scanner.names()
        self.assertEqual(names[-3:], SHUTDOWN, "the device was not stopped and closed last: %r" % names[-6:])

    def test_zero_brightness_and_contrast_are_not_sent(self):
        self.start_station(Journal=1, Pace=10, Finger="none")
        self.wait_status(layout.SLOTS[0].finger_text)
        names = self.scanner.names()
        self.assertIn("MOSAIC_SetRollMode", names)
        self.assertNotIn("LIVESCAN_SetBright", names)
        self.assertNotIn("LIVESCAN_SetContrast", names)

    def test_live_video_and_the_stitched_finger_while_a_finger_rolls(self):
        # The realistic scanner: a finger placed, rolled, held and lifted again and again.
        self.start_station(person="0001$演示", GapFrames=10)
        video = (layout.PREVIEW_PANEL[0] + layout.PREVIEW_VIEW[0] + 4, layout.PREVIEW_PANEL[1] + layout.PREVIEW_VIEW[1] + 4,
                 layout.PREVIEW_VIEW[2] - 8, layout.PREVIEW_VIEW[3] - 8)
        self.wait_preview_finger(timeout=30)
        shot = self.screen.shot()
        self.assertGreater(self.dark_pixels(shot, *video), 50, "no finger in the live video while one is stitched")
        self.save_main_shot("midroll.png", shot)
        # The finger is lifted: the preview empties, and the live video shows the bare glass.
        self.wait_preview_empty(timeout=30)
        wait_until(lambda: self.dark_pixels(self.screen.shot(), *video) < 5, what="bare glass in the live video")
        self.assertEqual(self.log_texts(), [])


class CaptureThread(StationTestCase):
    """The worker's loop as seen from outside: through the scanner's journal, the log and the preview."""

    def test_a_capture_that_cannot_begin_ends_the_program_after_closing_the_device(self):
        self.scanner.configure(Journal=1, Pace=10, Finger="none", LIVESCAN_BeginCapture=0)
        self.start_host()
        self.run_ = self.launch()
        self.assertEqual(self.exit_code(), 0)
        names = self.scanner.names()
        self.assertIn("MOSAIC_SetRollMode", names)
        self.assertEqual(names[-3:], SHUTDOWN)
        # The station does not vanish without a word: the log says why and the host is told it closed.
        self.assertEqual(self.log_texts(), ["采集设备开始采集失败,返回值0,采集程序退出"])
        close = self.host.wait_notifications(HOST_CODE_CLOSE)
        self.assertEqual([(n.value, n.sent) for n in close], [(0, False)])

    def test_an_exception_in_fetches_is_logged_once_then_counted_and_the_loop_goes_on(self):
        self.start_station(Journal=2, Pace=5, Finger="none", ExceptionAt="3,4,9")
        self.wait_status(layout.SLOTS[0].finger_text)
        # Frames well beyond the last exception.
        wait_until(lambda: len(self.scanner.calls("LIVESCAN_GetFPRawData")) >= 20, what="twenty fetches")
        raised = [c for c in self.scanner.calls("LIVESCAN_GetFPRawData") if c.result is None]
        self.assertEqual(len(raised), 3, "the journal shows %d raising fetches" % len(raised))
        lines = wait_until(lambda: [t for t in self.log_texts() if t.startswith("采集指纹出错:")], what="a log line")
        self.assertEqual(len(self.log_texts()), 1, self.log_texts())
        self.assertTrue(self.run_.running())
        # The repeats are counted when the loop ends.
        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.log_texts(), lines + ["上一条信息又重复出现2次:" + lines[0]])

    def test_a_failed_fetch_ends_the_mosaic_run_and_a_capture_then_stores_nothing(self):
        self.start_station(person="1234$XYZ", Journal=1, Pace=5, Finger="hold", MOSAIC_DoMosaic="1,2",
                           MOSAIC_FingerQuality=80, MOSAIC_ImageQuality=80)
        self.wait_preview_finger()
        starts = len(self.scanner.calls("MOSAIC_Start"))
        stops = len(self.scanner.calls("MOSAIC_Stop"))
        # The rewrite restarts the fetch count: the third fetch from now fails. A new run starts on
        # the held finger, but the script's "2" gives it no new image.
        self.scanner.configure(FailFetchAt=3, MOSAIC_DoMosaic=2)
        wait_until(lambda: len(self.scanner.calls("MOSAIC_Start")) > starts, what="a new mosaic run")
        self.assertEqual(len(self.scanner.calls("MOSAIC_Stop")), stops + 1)
        self.wait_preview_empty()
        files = self.temp_files()
        # Sent, so that the command has run when the call returns.
        self.probe.send(self.button(COLLECT).hwnd, BM_CLICK)
        self.assertTrue(self.no_message_box())
        self.assertEqual(self.temp_files(), files)
        # A notification would have been sent within the command: the host has printed it by now.
        self.host.sync()
        self.assertEqual(self.host.notifications(HOST_CODE_COLLECTED), [])
        # Frame processing goes on after the command: the next finger image reaches the preview.
        self.scanner.configure(FailFetchAt=None, MOSAIC_DoMosaic="1,2")
        self.wait_preview_finger()


if __name__ == "__main__":
    unittest.main()
