"""The controls of every window drawn from the skin and driven with the real mouse and keyboard: push
buttons that act on release over them and on the release of space, check boxes, track bars, the
viewer's tool bar and scroll bars, and the buttons of message boxes."""

import time
import unittest

from kv90e2e import wait_until
from kv90e2e.station import FINISH, GOOD, HELD, HOT_BORDER, PERSON, SETTINGS
from test_skin import SkinHelpers

TBM_GETPOS = 0x0400
BM_GETCHECK = 0x00F0

# The program's skin: the button frames' borders and fills (normal, hot, pressed), the controls' border.
BORDER = {1: (0xA9, 0xB4, 0xC2), 2: HOT_BORDER, 3: (0x3A, 0x6E, 0xA5)}
HOT_FILL = (0xE3, 0xED, 0xF9)
DOWN_FILL = (0xC9, 0xDB, 0xF0)
CONTROL_BORDER = (0xA9, 0xB4, 0xC2)
DISABLED_TEXT = (0x80, 0x80, 0x80)
TEXT = (0x1F, 0x29, 0x33)


def centre(window):
    left, top, right, bottom = window["rect"]
    return (left + right) // 2, (top + bottom) // 2


class ControlHelpers(SkinHelpers):

    def face(self, window, shot=None):
        """The button's pixels on the screen."""
        left, top, right, bottom = window["rect"]
        return (shot or self.screen.shot()).crop(left, top, right - left, bottom - top)

    def frame_of(self, window, shot=None):
        """Which skin frame the button shows, by the colour of its border in the middle of its top edge."""
        face = self.face(window, shot)
        top = face.pixel(face.width // 2, 0)
        for frame, colour in BORDER.items():
            if all(abs(a - b) <= 8 for a, b in zip(top, colour)):
                return frame
        return None

    def caption_box(self, face):
        """The bounding box (left, top, right, bottom) of the caption inside a button face: the pixels at
        least half of the text colour over the face's fill, inside where a focus rectangle goes."""
        fill = sum(face.pixel(4, face.height // 2))
        text = sum(TEXT)
        xs, ys = [], []
        for y in range(7, face.height - 7):
            for x in range(7, face.width - 7):
                if (fill - sum(face.pixel(x, y))) * 2 > fill - text:
                    xs.append(x)
                    ys.append(y)
        return (min(xs), min(ys), max(xs), max(ys)) if xs else None

    def caption_in_disabled_grey(self, face):
        """Whether the caption inside a button face is drawn in the disabled grey: every pixel is the face's
        fill, the grey, or a smoothed edge between the two, and some pixels are mostly grey."""
        fill = face.pixel(4, face.height // 2)
        deepest = 0.0
        for y in range(5, face.height - 5):
            for x in range(5, face.width - 5):
                pixel = face.pixel(x, y)
                shares = [(f - c) / (f - g) for f, c, g in zip(fill, pixel, DISABLED_TEXT)]
                share = sum(shares) / 3
                if share > 1.05 or any(abs(c - (f + share * (g - f))) > 4
                                       for f, c, g in zip(fill, pixel, DISABLED_TEXT)):
                    return False
                deepest = max(deepest, share)
        return deepest >= 0.5

    def press_button(self, window):
        """Moves over the skinned button, waits for its hot face, and clicks it."""
        x, y = centre(window)
        self.screen.move(x, y)
        wait_until(lambda: self.frame_of(window) == 2, what="the hot frame of %r" % window["text"])
        self.screen.click(x, y)

    def cancel_dialog(self):
        self.press_button(self.settings_controls()["cancel"])
        self.wait_settings_closed("the settings dialog closed by its cancel button")
        wait_until(lambda: self.probe.window(self.main.hwnd)["enabled"], what="the main window enabled again")


class PushButtons(ControlHelpers):

    def focus_by_press(self, button):
        x, y = centre(button)
        self.screen.move(x, y)
        self.screen.mouse_down(x, y)
        self.screen.move(x, y - 60)
        self.screen.mouse_up()
        self.screen.park_pointer()
        wait_until(lambda: self.probe.gui_thread(self.main.hwnd)["focus"] == button.hwnd, what="the focus on the button")
        self.hover_to_settle()
        self.assertIsNone(self.settings_dialog(), "a press dragged off the button acted")

    def test_main_buttons_act_on_release_over_them_space_and_return(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.screen.park_pointer()
        button = self.button(SETTINGS)
        x, y = centre(button)
        wait_until(lambda: self.frame_of(button) == 1, what="the settings button in frame 1")
        normal = self.face(button)

        # Hot while the pointer is over it.
        self.screen.move(x, y)
        wait_until(lambda: self.frame_of(button) == 2, what="the hot frame under the pointer")
        self.save_screenshot("controls-main-buttons-hot.png")
        # Pressed: frame 3, the caption one pixel right and down, and nothing happens before the release.
        self.screen.mouse_down(x, y)
        wait_until(lambda: self.frame_of(button) == 3, what="the pressed frame")
        pressed = self.face(button)
        self.save_screenshot("controls-main-buttons-pressed.png")
        a, b = self.caption_box(normal), self.caption_box(pressed)
        self.assertIsNotNone(a)
        self.assertEqual((a[0] + 1, a[1] + 1), b[:2], "the pressed caption did not move by 1,1")
        # Dragged off while held: the button shows it is no longer pressed, so it has handled the press.
        self.screen.move(x, y - 60)
        self.wait_left_while_held(button)
        self.assertIsNone(self.settings_dialog(), "the button acted on the press")
        # Released elsewhere: nothing.
        self.screen.mouse_up()
        self.hover_to_settle()
        self.assertIsNone(self.settings_dialog(), "a press dragged off the button acted")
        wait_until(lambda: self.frame_of(button) == 1, what="frame 1 once the mouse left")

        # Pressed, dragged off and back while held, and released over it: the dialog opens on the release.
        # The press is a little beside the last one, so that the system does not take the two for a double click.
        x2 = x + 12
        self.screen.mouse_down(x2, y)
        wait_until(lambda: self.frame_of(button) == 3, what="the pressed frame again")
        self.screen.move(x2, y - 60)
        self.wait_left_while_held(button)
        self.assertIsNone(self.settings_dialog(), "the button acted on the press")
        self.screen.move(x2, y)
        wait_until(lambda: self.frame_of(button) == 3, what="the pressed frame with the mouse back over it")
        self.screen.mouse_up()
        self.cancel_dialog()

        # A press focuses the button: dragged off, it acts not, and the button keeps the focus.
        self.focus_by_press(button)
        # Space acts on its release only; the focus rectangle shows.
        self.save_screenshot("controls-main-buttons-focused.png")
        self.screen.key_down("space")
        wait_until(lambda: self.frame_of(button) == 3, what="the pressed frame while space is held")
        self.hover_to_settle()
        self.assertIsNone(self.settings_dialog(), "the button acted on space going down")
        self.screen.key_up("space")
        self.cancel_dialog()

        # Return acts at once.
        self.focus_by_press(button)
        self.screen.key("Return")
        self.cancel_dialog()

        # A double click acts once: one dialog, and none after it is closed.
        self.screen.double_click(x, y)
        self.cancel_dialog()
        self.hover_to_settle()
        self.assertIsNone(self.settings_dialog(), "the double click acted twice")

    def wait_left_while_held(self, button):
        """Waits until the held button, with the mouse off it, no longer shows pressed (or the dialog is there)."""
        wait_until(lambda: self.settings_dialog() is not None or self.frame_of(button) != 3,
                   what="the pressed frame gone with the mouse off the held button")

    def test_a_disabled_button_shows_frame_1_with_a_grey_caption_and_never_acts(self):
        # Until the host names a person the settings button is disabled; enabled, it would open the dialog.
        self.start_station(**HELD, **GOOD)
        self.screen.park_pointer()
        self.assertFalse(self.enabled(SETTINGS))
        button = self.button(SETTINGS)
        x, y = centre(button)
        # From the finish button beside it, hot, onto the disabled one: once the finish button has lost its hot
        # face the window has handled the move, and the disabled button shows what it shows under the pointer.
        finish = self.button(FINISH)
        self.screen.move(*centre(finish))
        wait_until(lambda: self.shows_hot(finish), what="the finish button hot")
        self.screen.move(x, y)
        shot = wait_until(lambda: (lambda s: None if self.shows_hot(finish, s) else s)(self.screen.shot()),
                          what="the finish button's hot face gone with the pointer on the disabled button")
        self.assertEqual(self.frame_of(button, shot), 1)
        self.assertTrue(self.caption_in_disabled_grey(self.face(button, shot)), "the caption is not the disabled grey")
        self.screen.park_pointer()
        left, top, right, bottom = self.main.window["rect"]
        shot.crop(left, top, right - left, bottom - top).save_png(
            self.save_screenshot("controls-main-buttons-desktop.png").replace("-desktop", ""))
        self.screen.click(x, y)
        self.screen.double_click(x, y)
        self.screen.key("Return")
        self.hover_to_settle()
        self.assertIsNone(self.settings_dialog(), "the disabled settings button acted")
        self.assertFalse(self.enabled(SETTINGS))
        self.assertTrue(self.run_.running())


class SettingsControls(ControlHelpers):

    def open(self):
        self.press_button(self.button(SETTINGS))
        self.wait_settings_dialog()
        self.screen.park_pointer()
        d = self.settings_controls()
        return d["dialog"], d

    def test_check_box_edits_and_track_bars(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        dialog, d = self.open()
        shot = wait_until(lambda: (lambda s: s if s.pixel(*d["fq"]["rect"][:2]) == CONTROL_BORDER else None)(
            self.screen.shot()), what="the flat border on the quality edit")
        left, top, right, bottom = dialog["rect"]
        shot.crop(left, top, right - left, bottom - top).save_png(
            self.save_screenshot("controls-settings-checked-desktop.png").replace("-desktop", ""))
        # The group box's line runs beside the check box's caption, not through it.
        group_line_y = d["check"]["rect"][1] + 1 + (d["check"]["rect"][3] - d["check"]["rect"][1]) // 2 - 1
        line = [shot.pixel(x, group_line_y) for x in range(d["check"]["rect"][2] + 10, right - 60)]
        self.assertGreater(sum(1 for c in line if c == CONTROL_BORDER), 50, "no flat group line beside the title")

        # Clicking the skinned check box toggles the quality edits as before.
        self.assertEqual(self.probe.send(d["check"].hwnd, BM_GETCHECK), 1)
        self.click_window(d["check"])
        wait_until(lambda: not self.probe.window(d["fq"].hwnd)["enabled"], what="the quality edits disabled")
        self.assertFalse(self.probe.window(d["pq"].hwnd)["enabled"])
        self.assertEqual(self.probe.send(d["check"].hwnd, BM_GETCHECK), 0)
        self.screen.park_pointer()
        time.sleep(0.3)
        self.save_screenshot("controls-settings-unchecked.png")
        self.click_window(d["check"])
        wait_until(lambda: self.probe.window(d["fq"].hwnd)["enabled"], what="the quality edits enabled again")

        # Arrow keys move the focused track bar and its edit follows.
        bright = d["bright"]
        bl, bt, br, bb = bright["rect"]
        self.screen.click(bl + 3, (bt + bb) // 2)
        wait_until(lambda: self.probe.gui_thread(dialog.hwnd)["focus"] == bright.hwnd, what="the focus on the bar")
        start = self.probe.send(bright.hwnd, TBM_GETPOS)
        self.screen.key("Right", "Right", "Right")
        wait_until(lambda: self.probe.send(bright.hwnd, TBM_GETPOS) == start + 3, what="the slider moved by 3")
        wait_until(lambda: self.probe.window(d["bright_box"].hwnd)["text"] == str(start + 3), what="the edit following")
        self.screen.park_pointer()
        time.sleep(0.3)
        self.save_screenshot("controls-settings-focused-track-bar.png")

        # Dragging the slider moves it and the edit follows: the slider lies where the skin drew it.
        shot = self.screen.shot()
        row = (bt + bb) // 2
        slider = [x for x in range(bl, br) if shot.pixel(x, row)[2] > shot.pixel(x, row)[0] + 60]
        self.assertTrue(slider, "no skinned slider on the bar")
        sx = (min(slider) + max(slider)) // 2
        before = self.probe.send(bright.hwnd, TBM_GETPOS)
        self.screen.drag(sx, row, sx + 80, row)
        wait_until(lambda: self.probe.send(bright.hwnd, TBM_GETPOS) > before + 20, what="the slider dragged right")
        now = self.probe.send(bright.hwnd, TBM_GETPOS)
        wait_until(lambda: self.probe.window(d["bright_box"].hwnd)["text"] == str(now), what="the edit following the drag")


class ViewerControls(ControlHelpers):

    def test_tool_bar_states_and_the_scroll_bar_thumb(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.click_slot(0, double=True)
        viewer = self.wait_viewer()
        self.screen.park_pointer()
        bar = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TToolBar"][0]
        buttons = [b for b in self.probe.toolbar_buttons(bar.hwnd) if b["text"]]
        zoom_in = buttons[0]
        zl, zt, zr, zb = zoom_in["rect"]
        # Zoomed in three times, the picture outgrows the scroll box and its scroll bars show.
        for _ in range(3):
            self.screen.click((zl + zr) // 2, (zt + zb) // 2)
            time.sleep(0.3)
        # Hot, then pressed: the skin's tool bar colours.
        self.screen.move((zl + zr) // 2, (zt + zb) // 2)
        wait_until(lambda: self.screen.pixel(zl + 2, zb - 3) == HOT_FILL, what="the hot tool button")
        self.save_screenshot("controls-viewer-toolbar-hot.png")
        self.screen.mouse_down((zl + zr) // 2, (zt + zb) // 2)
        wait_until(lambda: self.screen.pixel(zl + 2, zb - 3) == DOWN_FILL, what="the pressed tool button")
        self.save_screenshot("controls-viewer-toolbar-pressed.png")
        self.screen.move((zl + zr) // 2, zb + 200)
        self.screen.mouse_up()
        # Dragged off, it may already show neither: it is read once a later move, over the next tool button,
        # has made that one hot, and so the release before it has been handled.
        ol, ot, or_, ob = buttons[1]["rect"]
        self.screen.move((ol + or_) // 2, (ot + ob) // 2)
        wait_until(lambda: self.screen.pixel(ol + 2, ob - 3) == HOT_FILL, what="the next tool button hot")
        self.assertNotIn(self.screen.pixel(zl + 2, zb - 3), (HOT_FILL, DOWN_FILL),
                         "the tool button is still hot or pressed after the release off it")
        self.screen.park_pointer()
        wait_until(lambda: self.screen.pixel(ol + 2, ob - 3) != HOT_FILL, what="the next tool button no longer hot")
        self.save_screenshot("controls-viewer-scroll-bars.png")

        # Dragging the vertical scroll bar's thumb scrolls the picture.
        box = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TScrollBox"][0]
        left, top, right, bottom = box["rect"]
        ox, oy = box.client_origin
        width, height = right - ox - 30, bottom - oy - 30

        def picture():
            return self.screen.shot().crop(ox, oy, width, height).rgb
        before = picture()
        bar_x = right - 10
        self.screen.drag(bar_x, top + 2 + 17 + 10, bar_x, top + 2 + 17 + 150)
        wait_until(lambda: picture() != before, what="the picture scrolled")
        self.screen.park_pointer()
        time.sleep(0.3)
        self.save_screenshot("controls-viewer-scrolled.png")


class MessageBoxButtons(ControlHelpers):

    def saved_box(self):
        self.press_button(self.button(SETTINGS))
        self.press_button(self.settings_controls()["save"])
        box = self.wait_message_box()
        self.assertEqual(box.text, "保存设置成功")
        return box

    def test_the_skinned_button_closes_the_box_by_mouse_and_return_and_drops_its_hot_face(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        box = self.saved_box()
        button = box.buttons[0]
        x, y = centre(button)
        self.screen.move(x, y)
        wait_until(lambda: self.frame_of(button) == 2, what="the hot frame on the box's button")
        left, top, right, bottom = box.window["rect"]
        self.screen.shot().crop(left, top, right - left, bottom - top).save_png(
            self.save_screenshot("controls-msgbox-hot-desktop.png").replace("-desktop", ""))
        # The pointer leaves over a window of another program: the hot face goes at the next tick.
        self.screen.park_pointer()
        since = time.monotonic()
        wait_until(lambda: self.frame_of(button) == 1, what="the hot frame gone after the pointer left")
        print("hot frame gone %.0f ms after the pointer left" % ((time.monotonic() - since) * 1000))
        # A press dragged off the button does not close the box.
        self.screen.mouse_down(x, y)
        self.screen.move(x, y + 80)
        # The box's button drops its pressed face at its next tick once the pointer is off it.
        wait_until(lambda: box.gone() or self.frame_of(button) == 1, what="the pressed face gone off the button")
        self.screen.mouse_up()
        # Back over the button: its hot frame shows once the box has handled the release before it.
        self.screen.move(x, y)
        wait_until(lambda: box.gone() or self.frame_of(button) == 2, what="the hot frame on the box's button again")
        self.assertFalse(box.gone(), "a press dragged off the button closed the box")
        self.screen.click(x, y)
        wait_until(box.gone, what="the box closed by its skinned button")
        # Saved, the dialog closes behind its box.
        self.wait_settings_closed()
        wait_until(lambda: self.probe.window(self.main.hwnd)["enabled"], what="the main window enabled again")

        box = self.saved_box()
        self.screen.park_pointer()
        self.screen.key("Return")
        wait_until(box.gone, what="the box closed by return")
        self.wait_settings_closed("the settings dialog closed again")


if __name__ == "__main__":
    unittest.main()
