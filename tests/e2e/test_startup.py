"""Start-up and the single-instance guard of the capture program family."""

import unittest

from kv90e2e import IDOK, MB_ICONWARNING, MainWindow, MessageBox, ProgramTestCase, log_lines, wait_until

WS_EX_TOOLWINDOW = 0x80
WS_EX_APPWINDOW = 0x40000
REFUSAL_TEXT = "已经有一个指纹采集窗口运行..."
REFUSAL_CAPTION = "提示"


class SingleInstanceGuard(ProgramTestCase):

    def assert_refusal_box(self, box):
        self.assertEqual(box.caption, REFUSAL_CAPTION)
        self.assertEqual(box.text, REFUSAL_TEXT)
        self.assertEqual(len(box.buttons), 1, "buttons: %r" % box.button_texts())
        self.assertEqual(box.buttons[0]["id"], IDOK)
        self.assertIsNotNone(box.icon, "the box shows no icon")
        icon = self.painted_icon(box)
        agreement = self.reference_icon(MB_ICONWARNING).foreground_agreement(icon)
        self.assertGreater(agreement, 0.9, "the icon is not the warning icon")

    def assert_no_window_of(self, run):
        self.assertEqual(self.probe.windows(cls="TFrm_Main", pid=run.pid), [])

    def test_second_start_is_refused_while_the_first_keeps_running(self):
        first, window = self.start_main_window()

        second = self.start_program()
        box = self.wait_message_box(second)
        self.watch_exit(second)
        self.assert_refusal_box(box)
        self.assert_no_window_of(second)

        box.press(box.buttons[0], screen=self.screen)
        self.assertEqual(self.windows_exit_code(second), 0)

        self.assertTrue(first.running())
        still = MainWindow.find(self.probe, first.pid)
        self.assertIsNotNone(still, "the first instance lost its main window")
        self.assertEqual(still.hwnd, window.hwnd)
        self.assertEqual(self.probe.windows(cls="TFrm_Main"), [still.window])
        self.assertTrue(self.probe.mutex_exists("Finger_KV90"), "the first instance no longer holds its name")

    def test_a_sibling_holding_its_own_name_refuses_the_start_and_kv90_is_freed(self):
        self.assertFalse(self.hold_mutex("Finger_LX20"))

        run = self.start_program()
        box = self.wait_message_box(run)
        self.watch_exit(run)
        self.assert_refusal_box(box)
        self.assert_no_window_of(run)
        # The names are claimed in order: this one before the sibling's, the last one never.
        self.assertTrue(self.probe.mutex_exists("Finger_KV90"))
        self.assertFalse(self.probe.mutex_exists("Finger_NR50"))

        box.press(box.buttons[0])
        self.assertEqual(self.windows_exit_code(run), 0)
        wait_until(lambda: not self.probe.mutex_exists("Finger_KV90"), what="Finger_KV90 to be free again")
        self.assertFalse(self.probe.mutex_exists("Finger_NR50"))
        self.assertEqual(log_lines(self.folder.path), [], "a refused start wrote to the log")

    def test_the_last_sibling_name_alone_refuses_the_start(self):
        self.hold_mutex("Finger_NR50")
        run = self.start_program()
        box = self.wait_message_box(run)
        self.watch_exit(run)
        self.assert_refusal_box(box)
        self.assertTrue(self.probe.mutex_exists("Finger_LX20"), "the names before the sibling's were not claimed")
        box.press(box.buttons[0])
        self.assertEqual(self.windows_exit_code(run), 0)

    def test_start_succeeds_once_the_sibling_has_gone(self):
        self.hold_mutex("Finger_LX20")
        refused = self.start_program()
        box = self.wait_message_box(refused)
        self.watch_exit(refused)
        box.press(box.buttons[0])
        self.assertEqual(self.windows_exit_code(refused), 0)
        self.release_mutex("Finger_LX20")

        run, _ = self.start_main_window()
        self.assertTrue(run.running())
        for name in ("Finger_KV90", "Finger_LX20", "Finger_NR50"):
            self.assertTrue(self.probe.mutex_exists(name), "%s is not held by the running program" % name)

    def test_names_of_a_crashed_program_are_free_for_a_new_start(self):
        crashed, _ = self.start_main_window()
        self.assertTrue(self.probe.terminate(crashed.pid, 3))
        crashed.wait_exit()
        wait_until(lambda: not self.probe.mutex_exists("Finger_KV90"), what="the crashed program's names to be free")

        run, _ = self.start_main_window()
        self.assertIsNone(MessageBox.find(self.probe, run.pid))

    def test_one_task_bar_button_with_the_application_title(self):
        run, main = self.start_main_window()
        self.assertEqual([w["text"] for w in self.probe.windows(cls="TApplication", pid=run.pid)], ["KV90指纹采集"])
        # The shell gives a button to each visible top-level window that is unowned and no tool window, or
        # that asks for one.
        buttons = [w for w in self.probe.windows(pid=run.pid, visible=True)
                   if w["exstyle"] & WS_EX_APPWINDOW or (not w["owner"] and not w["exstyle"] & WS_EX_TOOLWINDOW)]
        self.assertEqual([(w["class"], w["text"]) for w in buttons], [("TApplication", "KV90指纹采集")])
        self.assertEqual(buttons[0].size, (0, 0), "the application's window can be seen")
        self.assertEqual(self.probe.window(main.hwnd)["owner"], buttons[0].hwnd)


if __name__ == "__main__":
    unittest.main()
