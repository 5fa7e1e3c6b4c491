"""The link to the host control, with the host simulator in the host's place: the shared blocks, the
notifications, the person text, the close command, hostile copy-data payloads and a host that never
answers."""

import os
import time
import unittest

from kv90e2e import layout, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED, HOST_CODE_READY
from kv90e2e.station import (CLEAR, COLLECT, FINISH, GOOD, HELD, NO_HOST_LINE, PERSON, SETTINGS, VIEW, StationTestCase,
                             caption_for, lost_line)

GARBAGE_LINE = ("从映像文件中获取通讯程序句柄时失败,函数GetNetAPIHandle中错误:"
                "'abc' is not a valid integer value")
SEND_TIMEOUT_LINE = "同步发送消息到ActiveX控件超时"
WM_NULL = 0


def collect_block_text(raw):
    """The decimal text before the zero byte of FINGER_COLLECT_FILE, and whether only zeros follow."""
    text, _, rest = raw.partition(b"\0")
    return text.decode("ascii"), rest == b"\0" * len(rest)


class Standalone(StationTestCase):

    def test_without_a_host_the_block_holds_the_handle_and_each_notification_is_logged(self):
        self.start_station(with_host=False, Pace=10, Finger="none")
        self.wait_status(layout.SLOTS[0].finger_text)
        raw = self.probe.read_mapping("FINGER_COLLECT_FILE", 20)
        self.assertIsNotNone(raw, "no FINGER_COLLECT_FILE")
        text, zeros_after = collect_block_text(raw)
        self.assertEqual(text, str(self.main.hwnd))
        self.assertTrue(zeros_after, "bytes after the handle text are not zero: %r" % raw)
        ready = [NO_HOST_LINE, lost_line(HOST_CODE_READY, self.main.hwnd)]
        self.assertEqual(self.log_texts(), ready)
        # Without a host nobody names a person: the commands stay locked.
        self.assertEqual(self.button_states(), {b.text: b.enabled for b in layout.BUTTONS})
        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)
        # The close notification found no host either.
        self.assertEqual(self.log_texts(), ready + [NO_HOST_LINE, lost_line(HOST_CODE_CLOSE, 0)])


    def test_a_collect_block_that_cannot_be_made_stops_the_start_and_the_host_hears_nothing(self):
        # A kernel object of another kind holds the block's name, so no mapping of that name can be made.
        self.probe.hold_mutex("FINGER_COLLECT_FILE")
        self.addCleanup(self.probe.release_mutex, "FINGER_COLLECT_FILE")
        self.start_host()
        self.run_ = self.launch()
        box = self.wait_message_box()
        self.assert_box(box, "创建映像文件失败,程序无法启动")
        self.close_box(box)
        self.assertEqual(self.exit_code(), 0)
        # Whatever the program sent or posted before it ended has reached the host by now.
        self.host.sync()
        self.assertEqual(self.host.notifications(), [])


class WithHost(StationTestCase):

    def test_ready_names_the_window_of_the_block_and_the_person_unlocks_the_commands(self):
        self.start_station(Pace=10, Finger="none")
        ready = self.host.notifications(HOST_CODE_READY)
        self.assertEqual(len(ready), 1)
        text, _ = collect_block_text(self.probe.read_mapping("FINGER_COLLECT_FILE", 20))
        self.assertEqual((ready[0].value, ready[0].sent), (int(text), False))
        self.wait_status(layout.SLOTS[0].finger_text)
        self.assertEqual(self.main.caption, layout.CAPTION)
        self.assertEqual(self.button_states(), {b.text: b.enabled for b in layout.BUTTONS})

        reply = self.host.ok("person 1234$XYZ")
        self.assertEqual(reply["hex"], "313233342458595a00")
        self.wait_caption(caption_for("XYZ"))
        wait_until(lambda: self.enabled(COLLECT), what="the capture button enabled")
        self.assertEqual(self.button_states(), {COLLECT: True, CLEAR: True, VIEW: False, SETTINGS: True, FINISH: True})
        self.assertEqual(self.log_texts(), [])

    def test_activemsg_codes_other_than_close_do_nothing_and_close_shuts_the_device_down(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        self.press(COLLECT)
        self.host.wait_notifications(HOST_CODE_COLLECTED)
        self.wait_status(layout.SLOTS[1].finger_text)
        for code in (3323, 3325):
            for how in ("", " send"):
                self.host.ok("active %d%s" % (code, how))
        # The operator chooses another slot: the window takes a click only after the messages posted
        # before it, so it has handled both codes once the slot is chosen.
        self.click_slot(5)
        self.wait_status(layout.SLOTS[5].finger_text)
        self.assertTrue(self.run_.running())
        self.assertIsNotNone(self.probe.window(self.main.hwnd))
        self.assertEqual(self.main.refresh()["text"], caption_for("XYZ"))
        self.assertTrue(os.path.exists(self.temp("0.bmp")))
        self.host.sync()
        self.assertEqual(self.host.notifications(HOST_CODE_CLOSE), [])

        shutdown_before = len(self.scanner.calls("LIVESCAN_Close"))
        self.host.ok("close")
        close = self.host.wait_notifications(HOST_CODE_CLOSE)
        self.assertEqual([(n.value, n.sent) for n in close], [(0, False)])
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.scanner.names()[-3:], ["MOSAIC_Stop", "MOSAIC_Close", "LIVESCAN_Close"])
        self.assertEqual(shutdown_before, 0)
        self.assertEqual(self.temp_files(), ["1234$XYZ_0.bmp"])
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)

    def test_a_host_block_created_after_the_start_is_found_at_the_next_notification(self):
        self.start_station(host_options=("--no-block",), Pace=10, Finger="none")
        self.wait_status(layout.SLOTS[0].finger_text)
        ready = [NO_HOST_LINE, lost_line(HOST_CODE_READY, self.main.hwnd)]
        wait_until(lambda: self.log_texts() == ready, what="the ready notification without a host")
        self.assertEqual(self.host.notifications(), [])
        self.host.ok("block create")
        self.press(FINISH)
        close = self.host.wait_notifications(HOST_CODE_CLOSE)
        self.assertEqual(close[0].value, 0)
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.log_texts(), ready)
        # The close was the only notification that reached the host.
        self.host.sync()
        self.assertEqual([(n.code, n.value) for n in self.host.notifications()], [(HOST_CODE_CLOSE, 0)])

    def test_a_block_that_is_not_a_number_gives_two_lines_per_notification(self):
        self.start_station(host_options=("--garbage-block", "abc"), Pace=10, Finger="none")
        self.wait_status(layout.SLOTS[0].finger_text)
        ready = [GARBAGE_LINE, NO_HOST_LINE, lost_line(HOST_CODE_READY, self.main.hwnd)]
        wait_until(lambda: len(self.log_texts()) >= 3, what="the ready notification's log lines")
        self.assertEqual(self.log_texts(), ready)
        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.log_texts(), ready + [GARBAGE_LINE, NO_HOST_LINE, lost_line(HOST_CODE_CLOSE, 0)])
        self.host.sync()
        self.assertEqual(self.host.notifications(), [])


class RestartedHost(StationTestCase):

    def test_a_host_started_again_gets_the_next_notification_and_a_lost_one_is_logged(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.collect_finger(0)
        self.assertEqual([n.value for n in self.host.wait_notifications(HOST_CODE_COLLECTED)], [0])
        # The host program ends; with no host at all the finger's notification is lost, and logged.
        self.host.close()
        wait_until(lambda: self.probe.read_mapping("FINGER_ACTIVEX_FILE", 1) is None, what="the host block gone")
        self.collect_finger(1)
        wait_until(lambda: lost_line(HOST_CODE_COLLECTED, 1) in self.log_texts(), what="the lost notification logged")
        # Another host starts, with a new window and a new block: the next finger reaches it.
        second = self.start_host()
        self.collect_finger(2)
        self.assertEqual([n.value for n in second.wait_notifications(HOST_CODE_COLLECTED)], [2])


class HostilePayloads(StationTestCase):

    def responsive(self):
        self.assertTrue(self.run_.running(), "the program ended")
        self.assertEqual(self.probe.send(self.main.hwnd, WM_NULL, timeout_ms=10000), 0)

    def test_copy_data_texts_end_at_cbdata_and_bad_payloads_do_no_harm(self):
        self.start_station(Pace=10, Finger="none")
        self.wait_status(layout.SLOTS[0].finger_text)
        cases = [
            # (command, the name the caption must show afterwards; None: any)
            ("copydata-hex 41244243", "BC"),                 # no zero byte
            ("copydata-hex 412442434445 cb=4", "BC"),        # cbData shorter than the bytes given
            ("copydata-hex 41244243 cb=0", ""),              # cbData 0
            ("copydata-null", ""),
            ("copydata-null cb=64", ""),
            ("copydata-hex 8124ff41fe80", None),             # bytes that are not GBK
            ("copydata-hex 3124d5c5c8fd", "张三"),            # GBK without a zero byte
        ]
        for command, name in cases:
            with self.subTest(command=command):
                # A known person first, so that the caption afterwards is this case's and not the last one's.
                self.host.ok("person 1234$XYZ")
                self.wait_caption(caption_for("XYZ"))
                self.host.ok(command)
                self.responsive()
                if name is not None:
                    self.wait_caption(caption_for(name))
        with self.subTest("a megabyte without a zero byte"):
            self.host.ok("copydata-fill 41 1048576", timeout=60)
            self.responsive()
            self.wait_caption(caption_for("A" * 1048576), timeout=60)
            self.host.ok("copydata-fill 24 1048576", timeout=60)
            self.responsive()
            self.wait_caption(caption_for("$" * 1048575), timeout=60)
        self.host.ok("person 1234$XYZ")
        self.wait_caption(caption_for("XYZ"))
        self.assertEqual(self.log_texts(), [])
        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)


class HostThatNeverAnswers(StationTestCase):

    def test_the_station_gives_up_waiting_and_works_again(self):
        self.start_station(person=PERSON, host_options=("--never-answer",), **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        self.press(COLLECT)
        pressed = time.monotonic()
        note = self.host.wait_notifications(HOST_CODE_COLLECTED)[0]
        self.assertEqual((note.value, note.sent), (0, True))
        # While it waits, the window still answers messages that others send it.
        self.assertEqual(self.probe.window(self.main.hwnd)["text"], caption_for("XYZ"))
        self.responsive_within(5)
        line = wait_until(lambda: [t for t in self.log_texts() if t.startswith(SEND_TIMEOUT_LINE)], timeout=120,
                          interval=0.5, what="the time-out in the log")
        waited = time.monotonic() - pressed
        self.assertEqual(len(line), 1)
        self.assertGreater(waited, 50, "the station gave up after only %.0f s" % waited)
        self.assertLess(waited, 90, "the station waited %.0f s" % waited)
        self.wait_preview_empty()
        self.wait_status(layout.SLOTS[1].finger_text)
        # The window works again: the operator chooses another slot.
        self.click_slot(6)
        self.wait_status(layout.SLOTS[6].finger_text)
        self.host.ok("release")

    def responsive_within(self, seconds):
        self.assertEqual(self.probe.send(self.main.hwnd, WM_NULL, timeout_ms=int(seconds * 1000)), 0)


if __name__ == "__main__":
    unittest.main()
