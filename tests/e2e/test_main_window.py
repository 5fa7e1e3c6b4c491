"""The capture window as the operator first sees it, and leaving it through its finish button."""

import unittest

from kv90e2e import ProgramTestCase, layout, wait_until
from kv90e2e.mainwindow import WS_CAPTION, WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_SYSMENU, WS_THICKFRAME

SCREEN_SIZE = (1280, 800)


class MainWindowLayout(ProgramTestCase):

    def setUp(self):
        super().setUp()
        self.run_, self.main = self.start_main_window()

    def test_window_class_caption_size_and_frame(self):
        self.assertEqual(self.main.window["class"], "TFrm_Main")
        self.assertEqual(self.main.caption, layout.CAPTION)
        self.assertEqual(self.main.client_size, layout.CLIENT_SIZE)
        style = self.main.window["style"]
        # The skin draws the title and its close button; the system's buttons and menu are switched off.
        self.assertTrue(self.main.window.has_style(WS_CAPTION), "no title bar")
        self.assertFalse(style & WS_SYSMENU, "the system's close box is drawn over the skin's")
        self.assertFalse(style & WS_THICKFRAME, "the window can be resized")
        self.assertFalse(style & WS_MAXIMIZEBOX, "the window has a maximise box")
        self.assertFalse(style & WS_MINIMIZEBOX, "the window has a minimise box")

    def test_buttons_have_their_texts_places_and_initial_states(self):
        for expected in layout.BUTTONS:
            with self.subTest(button=expected.name):
                found = self.main.control("TButton", expected.text)
                self.assertEqual(self.main.client_bounds(found), (expected.left, expected.top, expected.width, expected.height))
                self.assertEqual(found["enabled"], expected.enabled)
                self.assertTrue(found["visible"])

    def test_slot_panels_and_their_labels(self):
        for slot in layout.SLOTS:
            with self.subTest(slot=slot.number):
                panel = self.main.control_at("TPanel", slot.left, slot.top)
                self.assertIsNotNone(panel, "no panel at %d,%d" % (slot.left, slot.top))
                self.assertEqual(self.main.client_bounds(panel), (slot.left, slot.top, slot.width, slot.height))
                # The finger's name, centred in the strip above the slot's image; nothing else there.
                wait_until(lambda: self.main.panel_label_shown(panel, slot.label),
                           what="%r in the strip of %s" % (slot.label, slot.panel))
                other = layout.SLOTS[(slot.number + 1) % 10].label
                self.assertFalse(self.main.panel_label_shown(panel, other), "%s also reads as %r" % (slot.panel, other))

    def test_preview_area(self):
        panel = self.main.control_at("TPanel", *layout.PREVIEW_PANEL[:2])
        self.assertIsNotNone(panel, "no preview panel")
        self.assertEqual(self.main.client_bounds(panel), layout.PREVIEW_PANEL)
        inner = [c for c in self.main.controls() if c["parent"] == panel.hwnd]
        wait_until(lambda: self.main.panel_label_shown(panel, layout.PREVIEW_LABEL),
                   what="%r in the preview panel's strip" % layout.PREVIEW_LABEL)
        views = [c for c in inner if c["class"] == "TPanel"]
        self.assertEqual(len(views), 1, "Pnl_View is not a panel of its own inside the preview panel")
        view_bounds = views[0].client_rect_in(panel)
        self.assertEqual(view_bounds, layout.PREVIEW_VIEW)

    def test_labels_are_drawn_by_their_parents_not_windows_of_their_own(self):
        # Every window is one more paint whenever the form is uncovered; labels need none.
        self.assertEqual(self.main.controls("TLabel"), [])
        self.assertEqual(len(self.main.controls()), 17, "panels and buttons only")
        # The status line, on the form itself, names the first finger to capture and only that.
        first = layout.SLOTS[0].finger_text
        wait_until(lambda: self.main.shows_status(first), what="%r (now %r)" % (first, self.main.status_text()))
        self.assertFalse(self.main.shows_status(layout.SLOTS[1].finger_text))
        self.assertFalse(self.main.shows_status(""))

    def test_form_background_is_the_skins_form_colour(self):
        self.screen.park_pointer()
        # A spot of bare form between the status label's usual extent and the buttons.
        x, y = self.main.to_screen(432, 345)
        expected = layout.SKIN_FORM_COLOUR
        wait_until(lambda: self.screen.pixel(x, y) == expected, what="the skin's form colour %r" % (expected,))

    def test_screenshot_for_people(self):
        self.screen.park_pointer()
        shot = self.screen.shot()
        left, top, right, bottom = self.main.window["rect"]
        path = self.save_screenshot("main-desktop.png")
        crop = shot.crop(left, top, right - left, bottom - top)
        crop.save_png(path.replace("main-desktop.png", "main.png"))
        # Something is drawn: the window is not one flat colour.
        self.assertGreater(len(crop.colours()), 3)


class Placement(ProgramTestCase):

    @staticmethod
    def centred(rect):
        left, top, right, bottom = rect
        return abs((left + right) - SCREEN_SIZE[0]) <= 1 and abs((top + bottom) - SCREEN_SIZE[1]) <= 1

    def test_window_is_centred_on_the_screen_from_its_first_showing(self):
        run = self.start_program()
        seen = []

        def centred_now():
            found = self.probe.windows(cls="TFrm_Main", pid=run.pid, visible=True) if run.running() else []
            if found and (not seen or seen[-1] != found[0]["rect"]):
                seen.append(found[0]["rect"])
            return found and self.centred(found[0]["rect"])
        wait_until(centred_now, what="the main window centred on the screen")
        self.assertEqual([r for r in seen if not self.centred(r)], [],
                         "the window was visible elsewhere before it was centred")


class FinishButton(ProgramTestCase):

    def test_clicking_finish_ends_the_program_with_exit_code_0(self):
        run, main = self.start_main_window()
        # Under Wine the launcher's own status may read -9 when the server ends what is left of a
        # process that has already ended with its code; the Windows exit code is what counts.
        self.probe.watch_process(run.pid)
        finish = main.control("TButton", layout.button("Btn_CollectFinish").text)
        left, top, right, bottom = finish["rect"]
        self.screen.click((left + right) // 2, (top + bottom) // 2)
        run.wait_exit()
        self.assertEqual(wait_until(lambda: (lambda c: None if c is None else [c])(self.probe.exit_code(run.pid)),
                                    what="the program's exit code")[0], 0)
        self.assertEqual(self.probe.windows(cls="TFrm_Main"), [])


if __name__ == "__main__":
    unittest.main()
