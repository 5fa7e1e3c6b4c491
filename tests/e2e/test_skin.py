"""Every window of the station wears the skin's frame: the title with its caption and buttons, the
borders, the rounded corners, and the frame's own mouse handling (title buttons that act on release,
the skinned system menu, caption dragging and double clicks), driven with the real mouse."""

import unittest

from kv90e2e import layout, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE
from kv90e2e.station import GOOD, HELD, PERSON, SETTINGS, StationTestCase, caption_for

SKM_QUERYSKINNED = 0x2AAA
SKM_QUERYACTIVE = 0x2AAB
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
WS_MAXIMIZE = 0x01000000

# The program's skin: title 30 high, side borders 4 wide, bottom strip 5 high; title buttons of
# 28 x 20 at 6 from the right edge and 5 from the top; the icon square at 8, 7.
TITLE, SIDE, BOTTOM = 30, 4, 5
BUTTON_W, BUTTON_H, BUTTON_X, BUTTON_Y = 28, 20, 6, 5
ICON_X, ICON_Y = 8, 7
TITLE_TEXT = (255, 255, 255)
MENU_ITEM_HEIGHTS = (21, 21, 5, 21)   # Minimize, Maximize/Restore, the line, Close


def close_button_centre(rect, index=0):
    """The centre of the index-th title button from the right (0 is close), in screen coordinates."""
    left, top, right, bottom = rect
    x = right - BUTTON_X - BUTTON_W // 2 - index * (BUTTON_W + 2)
    return x, top + BUTTON_Y + BUTTON_H // 2


def near(a, b, tolerance=40):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class SkinHelpers(StationTestCase):

    def skinned(self, hwnd):
        return self.probe.send(hwnd, SKM_QUERYSKINNED) == 1

    def rect(self, hwnd):
        return tuple(self.probe.window(hwnd)["rect"])

    def assert_frame(self, window, client_size):
        """The skin's frame around a client area of the given size."""
        self.assertTrue(self.skinned(window.hwnd), "%s is not skinned" % window["class"])
        current = self.probe.window(window.hwnd)
        self.assertEqual(current.client_size, client_size)
        left, top, right, bottom = current["rect"]
        ox, oy = current.client_origin
        w, h = client_size
        self.assertEqual((ox - left, oy - top, right - ox - w, bottom - oy - h), (SIDE, TITLE, SIDE, BOTTOM))
        self.assertFalse(current["style"] & WS_SYSMENU, "the system's own buttons and menu are still there")
        return current

    def assert_title_drawn(self, rect, shot=None):
        shot = shot or self.screen.shot()
        left, top, right, bottom = rect
        # Rounded corners: the top-left pixel of the window shows what lies behind it, not the title.
        if left >= 0 and top >= 0:
            self.assertNotEqual(shot.pixel(left, top), shot.pixel((left + right) // 2, top), "the title's corner is not cut")
        r, g, b = shot.pixel((left + right) // 2, top + 2)
        self.assertGreater(b, r + 40, "the title is not the skin's blue")
        x, y = close_button_centre(rect)
        button = shot.crop(x - BUTTON_W // 2, y - BUTTON_H // 2, BUTTON_W, BUTTON_H).colours()
        self.assertTrue(any(near(c, TITLE_TEXT, 60) for c in button), "no cross on the close button")

    def title_text_pixels(self, shot, rect, x_from, x_to):
        """Pixels of the caption's colour in the title's text rows between two window x positions."""
        left, top = rect[0], rect[1]
        count = 0
        for y in range(top + 8, top + 22):
            for x in range(left + x_from, left + x_to):
                if near(shot.pixel(x, y), TITLE_TEXT, 30):
                    count += 1
        return count

    def menu(self):
        found = self.probe.windows(cls="#32768", pid=self.run_.pid, visible=True)
        return found[0] if found else None

    def menu_rows(self, menu):
        """The screen y of the middle of each item of the skinned system menu."""
        left, top, right, bottom = menu["rect"]
        border = (bottom - top - sum(MENU_ITEM_HEIGHTS)) // 2
        rows, y = [], top + border
        for h in MENU_ITEM_HEIGHTS:
            rows.append(y + h // 2)
            y += h
        return rows

    def zoomed(self, hwnd):
        window = self.probe.window(hwnd)
        return bool(window and window["style"] & WS_MAXIMIZE)


class MainWindowFrame(SkinHelpers):

    def test_the_main_window_wears_the_frame_and_keeps_its_client_area(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.screen.park_pointer()
        main = self.assert_frame(self.main.window, layout.CLIENT_SIZE)
        self.assertTrue(main["style"] & WS_CAPTION)
        self.assertEqual(self.probe.send(main.hwnd, SKM_QUERYACTIVE), 1)
        rect = main["rect"]
        shot = wait_until(lambda: (lambda s: s if self.title_text_pixels(s, rect, 10, 200) > 20 else None)(
            self.screen.shot()), what="the caption drawn in the title")
        self.assert_title_drawn(rect, shot)
        left, top, right, bottom = rect
        shot.crop(left - 10, top - 10, right - left + 20, bottom - top + 20).save_png(
            self.save_screenshot("skinned-main-desktop.png").replace("-desktop", ""))
        # The tagged controls keep their own drawing: an empty slot is the window colour, not the skin's.
        x, y = self.main.to_screen(*layout.slot_image_centre(layout.SLOTS[3]))
        self.assertEqual(shot.pixel(x, y), (255, 255, 255))

    def test_the_close_button_acts_on_release_over_it_only(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        rect = self.rect(self.main.hwnd)
        x, y = close_button_centre(rect)
        # Pressed on the button, released on the caption: nothing.
        self.screen.drag(x, y, rect[0] + 300, rect[1] + 15)
        # The operator then chooses a slot: once it is chosen, the window has handled the release before it.
        self.click_slot(5)
        wait_until(lambda: not self.run_.running() or self.probe.window(self.main.hwnd) is None
                   or self.main.shows_status(layout.SLOTS[5].finger_text), what="slot 5 chosen")
        self.assertTrue(self.run_.running())
        self.assertIsNotNone(self.probe.window(self.main.hwnd))
        self.host.sync()
        self.assertEqual(self.host.notifications(HOST_CODE_CLOSE), [])
        # Released on it: the window closes and the host is told, as with the system's close box.
        self.screen.click(x, y)
        self.assertEqual(self.exit_code(), 0)
        self.host.sync()
        self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_CLOSE)], [0])

    def test_dragging_the_caption_moves_the_window(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        left, top, right, bottom = self.rect(self.main.hwnd)
        # The pointer goes on only once the window has followed it: Wine's own move loop may count pointer
        # motions that come in quick succession twice (its plain windows' too), and the window would overshoot.
        self.screen.mouse_down(left + 300, top + 15)
        for dx, dy in ((40, 30), (80, 60)):
            self.screen.move(left + 300 + dx, top + 15 + dy)
            moved = (left + dx, top + dy, right + dx, bottom + dy)
            wait_until(lambda: self.rect(self.main.hwnd) == moved,
                       what="the window moved to %r with the pointer" % (moved,))
        self.screen.mouse_up()
        # Once a slot chosen after the release shows, the release has been handled: the window stays.
        self.click_slot(5)
        self.wait_status(layout.SLOTS[5].finger_text)
        self.assertEqual(self.rect(self.main.hwnd), moved)
        self.assertEqual(self.probe.window(self.main.hwnd).client_size, layout.CLIENT_SIZE)

    def test_a_name_too_long_for_the_title_ends_in_dots_before_the_buttons(self):
        name = "很长的名字" * 16
        self.start_station(person="1234$" + name, **HELD, **GOOD)
        self.screen.park_pointer()
        rect = self.rect(self.main.hwnd)
        width = rect[2] - rect[0]
        block = BUTTON_W + 15   # one button, and the room the title keeps around the buttons
        # The caption runs up to the room kept for the buttons and stops there.
        wait_until(lambda: self.title_text_pixels(self.screen.shot(), rect, width - block - 60, width - block - 4) > 3,
                   what="the caption reaching the title's end")
        shot = self.screen.shot()
        self.assertEqual(self.title_text_pixels(shot, rect, width - block - 3, width - BUTTON_X - BUTTON_W - 1), 0,
                         "the caption runs into the buttons")
        self.assertEqual(self.probe.window(self.main.hwnd)["text"], caption_for(name))


class ViewerFrame(SkinHelpers):

    def test_viewer_icon_menu_double_click_and_right_click(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.click_slot(0, double=True)
        viewer = self.wait_viewer()
        self.screen.park_pointer()
        self.assertTrue(self.zoomed(viewer.hwnd), "the viewer is not maximized")
        self.assertTrue(self.skinned(viewer.hwnd))
        rect = self.rect(viewer.hwnd)
        wait_until(lambda: self.title_text_pixels(self.screen.shot(), rect, 30, 120) > 10, what="the viewer's caption")
        self.save_screenshot("skinned-viewer-maximized.png")

        # The icon square opens the skinned system menu below the title at the window's left edge.
        icon = (rect[0] + ICON_X + 8, rect[1] + ICON_Y + 8)
        self.screen.click(*icon)
        menu = wait_until(self.menu, what="the skinned system menu")
        self.screen.park_pointer()
        origin = self.probe.window(viewer.hwnd).client_origin
        self.assertEqual(tuple(menu["rect"][:2]), (max(0, origin[0]), origin[1]))
        rows = self.menu_rows(menu)
        shot = self.screen.shot()
        left, right = menu["rect"][0], menu["rect"][2]

        def row_colours(y):
            return [shot.pixel(x, yy) for x in range(left + 30, right - 10) for yy in range(y - 5, y + 5)]
        # Disabled text is grey, enabled text dark: the darkest pixel of each row tells them apart.
        def darkest(y):
            return min(sum(c) // 3 for c in row_colours(y))
        self.assertGreater(darkest(rows[0]), darkest(rows[1]) + 30, "Minimize is not drawn disabled")
        self.assertGreater(darkest(rows[0]), darkest(rows[3]) + 30, "Minimize is not drawn disabled")
        self.assertLess(darkest(rows[0]), 240, "Minimize is not drawn at all")
        self.save_screenshot("skinned-system-menu.png")

        # Minimize is disabled: choosing it does nothing.
        def row_pixels(y):
            shot = self.screen.shot()
            return [shot.pixel(x, yy) for x in range(left + 30, right - 10) for yy in range(y - 5, y + 5)]
        restore_row = row_pixels(rows[1])
        self.screen.click(left + 40, rows[0])
        # The pointer moves on to Maximize/Restore: an open menu shows it selected once it has handled the click.
        self.screen.move(left + 40, rows[1])
        wait_until(lambda: self.menu() is None or row_pixels(rows[1]) != restore_row,
                   what="Maximize/Restore selected under the pointer, or the menu closed")
        if self.menu() is not None:
            self.screen.key("Escape")
            wait_until(lambda: self.menu() is None, what="the menu closed")

        # The menu opens again: by then the viewer has handled whatever choosing Minimize did.
        self.screen.click(*icon)
        menu = wait_until(lambda: self.menu() or not self.zoomed(viewer.hwnd), what="the skinned system menu again")
        self.assertTrue(self.zoomed(viewer.hwnd), "choosing the disabled Minimize changed the viewer")
        # Maximize/Restore restores the window.
        self.screen.click(left + 40, self.menu_rows(menu)[1])
        wait_until(lambda: not self.zoomed(viewer.hwnd), what="the viewer restored")
        self.screen.park_pointer()
        restored = self.settled_rect(viewer.hwnd)
        wait_until(lambda: self.title_text_pixels(self.screen.shot(), restored, 30, 120) > 10,
                   what="the restored viewer's caption")
        self.assert_title_drawn(restored)
        self.save_screenshot("skinned-viewer-restored.png")

        # A double click on the caption maximizes it again, and another restores it.
        caption = (restored[0] + (restored[2] - restored[0]) // 3, restored[1] + 15)
        self.screen.double_click(*caption)
        wait_until(lambda: self.zoomed(viewer.hwnd), what="the viewer maximized by a double click")
        self.screen.park_pointer()
        zoomed = self.settled_rect(viewer.hwnd)
        self.screen.double_click(zoomed[0] + (zoomed[2] - zoomed[0]) // 3, zoomed[1] + 15)
        wait_until(lambda: not self.zoomed(viewer.hwnd), what="the viewer restored by a double click")
        self.screen.park_pointer()
        self.assertIsNotNone(self.viewer(), "the viewer closed instead of restoring")

        # A right click on the caption opens the menu at the mouse; Close closes the viewer.
        now = self.settled_rect(viewer.hwnd)
        self.screen.click(now[0] + 200, now[1] + 15, button=3)
        menu = wait_until(self.menu, what="the system menu at the mouse")
        self.screen.click(menu["rect"][0] + 40, self.menu_rows(menu)[3])
        self.wait_viewer_closed("the viewer closed from its menu")
        self.assertTrue(self.run_.running())

        # The main window has no maximize button: a double click on its caption changes nothing.
        wait_until(lambda: self.probe.window(self.main.hwnd)["enabled"], what="the main window enabled again")
        before = self.rect(self.main.hwnd)
        self.screen.double_click(before[0] + 300, before[1] + 15)
        # The operator then chooses a slot: once it is chosen, the window has handled the double click.
        self.click_slot(5)
        wait_until(lambda: self.rect(self.main.hwnd) != before or self.main.shows_status(layout.SLOTS[5].finger_text),
                   what="slot 5 chosen")
        self.assertEqual(self.rect(self.main.hwnd), before)
        self.assertFalse(self.zoomed(self.main.hwnd))


class DialogFrames(SkinHelpers):

    def test_the_settings_dialog_and_a_message_box_wear_the_frame(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.press(SETTINGS)
        dialog = self.wait_settings_dialog()
        self.screen.park_pointer()
        dialog = self.assert_frame(dialog, (423, 244))
        # The main window behind it draws its caption in the inactive colour.
        wait_until(lambda: self.probe.send(self.main.hwnd, SKM_QUERYACTIVE) == 2, what="the main frame inactive")
        self.assertEqual(self.probe.send(dialog.hwnd, SKM_QUERYACTIVE), 1)
        shot = wait_until(lambda: (lambda s: s if self.title_text_pixels(s, dialog["rect"], 5, 80) > 10 else None)(
            self.screen.shot()), what="the dialog's caption")
        self.assert_title_drawn(dialog["rect"], shot)
        left, top, right, bottom = dialog["rect"]
        shot.crop(left - 10, top - 10, right - left + 20, bottom - top + 20).save_png(
            self.save_screenshot("skinned-settings-desktop.png").replace("-desktop", ""))

        self.click_window(self.settings_controls()["save"])
        box = self.wait_message_box()
        self.assertEqual(box.text, "保存设置成功")
        self.screen.park_pointer()
        window = self.probe.window(box.hwnd)
        self.assertTrue(self.skinned(box.hwnd), "the message box is not skinned")
        self.assertFalse(window["style"] & WS_SYSMENU)
        left, top, right, bottom = window["rect"]
        ox, oy = window.client_origin
        self.assertEqual((ox - left, oy - top), (SIDE, TITLE))
        shot = wait_until(lambda: (lambda s: s if self.title_text_pixels(s, window["rect"], 5, 40) > 5 else None)(
            self.screen.shot()), what="the box's caption")
        self.assert_title_drawn(window["rect"], shot)
        shot.crop(left - 10, top - 10, right - left + 20, bottom - top + 20).save_png(
            self.save_screenshot("skinned-msgbox-desktop.png").replace("-desktop", ""))
        # Its skinned close button closes it.
        self.screen.click(*close_button_centre(window["rect"]))
        wait_until(box.gone, what="the message box closed by its close button")


if __name__ == "__main__":
    unittest.main()
