"""The operator's other commands: clear, view (with the image viewer), settings (with its dialog), and
leaving the station through the finish button or the close box."""

import os
import struct
import subprocess
import unittest

from kv90e2e import settings, windows_path
from kv90e2e import MB_ICONINFORMATION, MB_ICONWARNING, config_value, layout, set_config_value, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED, HOST_CODE_READY
from kv90e2e.station import CLEAR, COLLECT, FINISH, GOOD, HELD, PERSON, VIEW, StationTestCase

SHUTDOWN = ["MOSAIC_Stop", "MOSAIC_Close", "LIVESCAN_Close"]

WS_MAXIMIZE = 0x01000000
WS_VSCROLL = 0x00200000
WS_THICKFRAME = 0x00040000
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
BM_GETCHECK = 0x00F0
TBM_GETPOS = 0x0400
TBM_SETPOS = 0x0405


class ClearCommand(StationTestCase):

    def test_a_slot_file_held_open_keeps_its_finger_on_screen_and_the_log_names_it(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        for slot in (0, 1):
            self.capture(slot)
        held = windows_path(self.temp("1.bmp"))
        self.probe.hold_file(held)
        self.addCleanup(self.probe.release_file, held)
        self.press(CLEAR)
        line = wait_until(lambda: (lambda l: l[0] if l else None)(
            [t for t in self.log_texts() if t.startswith("删除指纹图片文件被拒绝,文件")]),
            what="the refused deletion in the log")
        self.assertIn(held, line)
        # The file, the thumbnail and the log tell one story: slot 1 still holds its finger.
        wait_until(lambda: self.occupied_slots() == [1], what="only slot 1 still showing its finger")
        self.assertIn("1.bmp", self.temp_files())
        self.assertNotIn("0.bmp", self.temp_files())
        self.click_slot(1)
        wait_until(lambda: self.enabled(VIEW), what="the finger kept on screen is viewable")

    def test_clear_empties_the_slots_and_deletes_their_files_but_not_the_person_files(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        for slot in (0, 1, 2):
            self.capture(slot)
        self.plant("3.jpg")
        self.plant("1.jpg")
        self.plant("EditImage.jpg")
        self.click_slot(1)
        wait_until(lambda: self.enabled(VIEW), what="the view button for an occupied slot")
        self.offer_finger()
        self.assertEqual(self.occupied_slots(), [0, 1, 2])

        self.press(CLEAR)
        wait_until(lambda: self.occupied_slots() == [], what="all slots empty")
        self.wait_preview_empty()
        self.wait_status(layout.SLOTS[0].finger_text)
        self.assertFalse(self.enabled(VIEW))
        self.assertEqual(self.temp_files(), sorted(["1234$XYZ_0.bmp", "1234$XYZ_1.bmp", "1234$XYZ_2.bmp",
                                                    "EditImage.jpg"]))
        self.assertTrue(self.no_message_box())
        # The host is not told, and the station goes on: the next finger goes to slot 0.
        self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), 3)
        self.capture(0)
        self.assertTrue(os.path.exists(self.temp("0.bmp")))


def jpeg_frame(path):
    """(frame marker, component count, every quantisation value) of a JPEG file, read by hand."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"\xff\xd8":
        raise AssertionError("not a JPEG")
    pos, frame, components, quant = 2, None, None, []
    while pos < len(data):
        if data[pos] != 0xFF:
            raise AssertionError("bad marker at %d" % pos)
        marker = data[pos + 1]
        if marker == 0xDA:
            break
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        body = data[pos + 4:pos + 2 + length]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            frame, components = marker, body[5]
        elif marker == 0xDB:
            i = 0
            while i < len(body):
                precision = body[i] >> 4
                size = 128 if precision else 64
                quant += list(body[i + 1:i + 1 + size])
                i += 1 + size
        pos += 2 + length
    return frame, components, quant


class ViewCommand(StationTestCase):

    def toolbar(self, viewer):
        bars = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TToolBar"]
        self.assertEqual(len(bars), 1, "no tool bar in the viewer")
        return bars[0], self.probe.toolbar_buttons(bars[0].hwnd)

    def image_extent(self, viewer, background):
        """Width and height of the picture shown from the top left corner of the scroll box."""
        box = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TScrollBox"][0]
        x0, y0 = box.client_origin
        shot = self.screen.shot()
        width = 0
        while x0 + width < shot.width and shot.pixel(x0 + width, y0 + 3) != background:
            width += 1
        height = 0
        while y0 + height < shot.height and shot.pixel(x0 + 3, y0 + height) != background:
            height += 1
        return width, height

    def scroll_box_background(self, viewer):
        box = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TScrollBox"][0]
        left, top, right, bottom = box["rect"]
        return self.screen.shot().pixel(right - 40, bottom - 40)

    def wait_extent(self, viewer, background, size):
        last = []
        try:
            wait_until(lambda: last.append(self.image_extent(viewer, background)) or last[-1] == (size, size))
        except AssertionError:
            self.fail("the image is not shown at %d x %d: last seen %r" % (size, size, last[-1]))

    def test_view_writes_a_colour_jpeg_and_the_viewer_zooms_and_closes(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.assertFalse(self.enabled(VIEW), "slot 1 is current and empty")
        self.click_slot(0)
        wait_until(lambda: self.enabled(VIEW), what="the view button for the occupied slot 0")
        self.press(VIEW)
        viewer = self.wait_viewer()
        self.screen.park_pointer()

        jpg = self.temp("EditImage.jpg")
        frame, components, quant = jpeg_frame(jpg)
        self.assertEqual((frame, components), (0xC0, 3), "not a baseline three-component JPEG")
        self.assertEqual(set(quant), {1}, "the quantisation tables are not those of quality 100")
        reported = subprocess.run(["identify", "-format", "%[channels] %Q %[interlace] %w %h", jpg], check=True,
                                  stdout=subprocess.PIPE, timeout=60).stdout.decode().split()
        self.assertEqual(reported, ["srgb", "100", "None", "640", "640"])

        self.assertEqual(viewer["text"], "图片编辑")
        self.assertTrue(viewer["style"] & WS_MAXIMIZE, "the viewer is not maximized")
        self.assertEqual(viewer["style"] & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_THICKFRAME | WS_MAXIMIZEBOX)
        self.assertFalse(self.probe.window(self.main.hwnd)["enabled"], "the main window takes input")
        bar, buttons = self.toolbar(viewer)
        self.assertEqual([b["text"] for b in buttons], ["放  大", "缩  小", "等  大", "", "退  出"])
        by_text = {b["text"]: b for b in buttons}

        background = self.scroll_box_background(viewer)
        self.wait_extent(viewer, background, 640)
        self.save_screenshot("viewer.png")

        def click(text):
            left, top, right, bottom = by_text[text]["rect"]
            self.screen.click((left + right) // 2, (top + bottom) // 2)
            self.screen.park_pointer()

        click("放  大")
        self.wait_extent(viewer, background, 704)
        click("缩  小")
        self.wait_extent(viewer, background, 640)
        click("缩  小")
        self.wait_extent(viewer, background, 576)
        click("等  大")
        self.wait_extent(viewer, background, 640)
        # Ten steps down leave nothing to see; one step up shows a tenth of the image.
        for _ in range(10):
            click("缩  小")
        self.wait_extent(viewer, background, 0)
        click("放  大")
        self.wait_extent(viewer, background, 64)
        # Larger than the area: the scroll box scrolls.
        box = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TScrollBox"][0]
        self.assertFalse(box["style"] & WS_VSCROLL, "a scroll bar for an image that fits")
        click("等  大")
        for _ in range(3):
            click("放  大")
        # 1.3 times: 832 pixels wide, taller than the area, which shows only the top of it.
        wait_until(lambda: (lambda w, h: w == 832 and h < 832)(*self.image_extent(viewer, background)),
                   what="the image 832 wide, cut at the bottom (now %r)" % (self.image_extent(viewer, background),))
        wait_until(lambda: self.probe.window(box.hwnd)["style"] & WS_VSCROLL, what="a vertical scroll bar")
        click("等  大")
        self.wait_extent(viewer, background, 640)

        self.screen.key("Escape")
        self.wait_viewer_closed("the viewer closed by Escape")
        wait_until(lambda: self.probe.window(self.main.hwnd)["enabled"], what="the main window enabled again")

        # A double click on an occupied slot views it too; the exit button closes the viewer.
        os.remove(jpg)
        self.click_slot(0, double=True)
        viewer = self.wait_viewer()
        self.assertTrue(os.path.exists(jpg))
        _, buttons = self.toolbar(viewer)
        left, top, right, bottom = [b for b in buttons if b["text"] == "退  出"][0]["rect"]
        self.screen.click((left + right) // 2, (top + bottom) // 2)
        self.wait_viewer_closed("the viewer closed by its exit button")
        self.assertTrue(self.run_.running())
        self.assertEqual(self.log_texts(), [])

    def test_the_viewer_tool_bar_shows_its_captions(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.click_slot(0, double=True)
        viewer = self.wait_viewer()
        self.screen.park_pointer()
        bar, buttons = self.toolbar(viewer)
        shot = self.screen.shot()
        left, top, right, bottom = bar["rect"]
        # The bar's own background, right of the last button, is not black.
        self.assertNotEqual(shot.pixel(right - 20, (top + bottom) // 2), (0, 0, 0), "the tool bar is painted black")
        for b in buttons:
            if not b["text"]:
                continue
            with self.subTest(button=b["text"]):
                l, t, r, btm = b["rect"]
                # The caption lies under the 16 x 16 icon, in the lower half of the button.
                strip = shot.crop(l + 1, t + 22, r - l - 2, btm - t - 23)
                colours = strip.colours()
                ground = max(colours, key=colours.get)
                text_pixels = sum(n for c, n in colours.items() if sum(abs(a - g) for a, g in zip(c, ground)) > 150)
                self.assertGreater(text_pixels, 8, "no caption drawn under the icon of %r" % b["text"])
        self.screen.key("Escape")
        self.wait_viewer_closed("the viewer closed by Escape")


class SettingsDialog(StationTestCase):

    def open_dialog(self):
        self.d = self.open_settings()
        return self.d

    def text(self, key):
        return self.probe.window(self.d[key].hwnd)["text"]

    def pos(self, key):
        return self.probe.send(self.d[key].hwnd, TBM_GETPOS)

    def config_bytes(self):
        with open(self.folder.file("Config", "Config.ini"), "rb") as f:
            return f.read()

    def save_expecting(self, text, focus=None, icon=MB_ICONWARNING):
        self.click_window(self.d["save"])
        box = self.wait_message_box()
        self.assert_box(box, text)
        if icon == MB_ICONINFORMATION:
            agreement = self.reference_icon(icon).foreground_agreement(self.painted_icon(box))
            self.assertGreater(agreement, 0.9, "the box does not show the information icon")
        self.close_box(box)
        if focus is not None:
            wait_until(lambda: self.probe.gui_thread(self.d["dialog"].hwnd)["focus"] == self.d[focus].hwnd,
                       what="the focus on the offending edit")

    def test_settings_are_read_checked_saved_and_used(self):
        set_config_value(self.folder.path, "Bright", "200")
        set_config_value(self.folder.path, "Contrast", "90")
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        d = self.open_dialog()
        self.assertEqual(d["dialog"]["text"], "系统设置")
        self.assertFalse(self.probe.window(self.main.hwnd)["enabled"], "the main window takes input")
        self.assertIn("LIVESCAN_GetBright", self.scanner.names())
        self.assertIn("LIVESCAN_GetContrast", self.scanner.names())
        # Brightness and contrast come from the device, which the start-up set from the file.
        self.assertEqual((self.pos("bright"), self.pos("contrast")), (200, 90))
        self.assertEqual((self.text("bright_box"), self.text("contrast_box")), ("200", "90"))
        self.assertEqual(self.probe.send(d["check"].hwnd, BM_GETCHECK), 1)
        self.assertEqual((self.text("fq"), self.text("pq")), ("50", "60"))
        self.assertTrue(d["fq"]["enabled"] and d["pq"]["enabled"])
        self.screen.park_pointer()
        left, top, right, bottom = d["dialog"]["rect"]
        self.screen.shot().crop(left, top, right - left, bottom - top).save_png(
            os.path.join(settings.artifacts_dir(), "settings.png"))
        original = self.config_bytes()

        with self.subTest("the check box enables the quality edits"):
            self.click_window(d["check"])
            wait_until(lambda: not self.probe.window(d["fq"].hwnd)["enabled"], what="the quality edits disabled")
            self.assertFalse(self.probe.window(d["pq"].hwnd)["enabled"])
            self.assertEqual((self.text("fq"), self.text("pq")), ("50", "60"))
            self.click_window(d["check"])
            wait_until(lambda: self.probe.window(d["fq"].hwnd)["enabled"], what="the quality edits enabled")
            self.assertEqual(self.probe.send(d["check"].hwnd, BM_GETCHECK), 1)

        with self.subTest("sliders moved by mouse and keyboard show their positions"):
            left, top, right, bottom = d["bright"]["rect"]
            self.screen.click(left + 30, (top + bottom) // 2)
            wait_until(lambda: self.pos("bright") < 200, what="the brightness slider moved by the mouse")
            wait_until(lambda: self.text("bright_box") == str(self.pos("bright")), what="the brightness box")
            left, top, right, bottom = d["contrast"]["rect"]
            self.screen.click(right - 30, (top + bottom) // 2)
            wait_until(lambda: self.pos("contrast") > 90, what="the contrast slider moved by the mouse")
            moved = self.pos("contrast")
            self.screen.key("Left", "Left", "Left")
            wait_until(lambda: self.pos("contrast") == moved - 3, what="the contrast slider moved by the keyboard")
            wait_until(lambda: self.text("contrast_box") == str(moved - 3), what="the contrast box")
            self.assertEqual(self.config_bytes(), original, "moving a slider wrote the file")

        with self.subTest("a finger quality typed through the keyboard is checked"):
            self.click_window(d["fq"])
            self.screen.key("End", "BackSpace", "BackSpace", "BackSpace", "BackSpace")
            self.screen.type_text("29")
            wait_until(lambda: self.text("fq") == "29", what="the typed text (now %r)" % self.text("fq"))
            self.save_expecting("【指纹质量】范围在【30~100】之间", focus="fq")

        refusals = [
            ("101", "60", "【指纹质量】范围在【30~100】之间", "fq"),
            ("", "60", "【指纹质量】不能为空", "fq"),
            ("   ", "60", "【指纹质量】不能为空", "fq"),
            ("30", "29", "【图片质量】范围在【30~100】之间", "pq"),
            ("100", "101", "【图片质量】范围在【30~100】之间", "pq"),
            ("50", "  ", "【图片质量】不能为空", "pq"),
        ]
        for fq, pq, message, focus in refusals:
            with self.subTest(fq=fq, pq=pq):
                self.probe.set_text(d["fq"].hwnd, fq)
                self.probe.set_text(d["pq"].hwnd, pq)
                self.save_expecting(message, focus=focus)
                self.assertIsNotNone(self.settings_dialog(), "the dialog closed")
                self.assertEqual(self.config_bytes(), original, "a refused save wrote the file")

        for fq in ("5x", "50 "):
            with self.subTest(not_a_number=fq):
                before = len(self.log_texts())
                self.probe.set_text(d["fq"].hwnd, fq)
                self.probe.set_text(d["pq"].hwnd, "60")
                self.save_expecting("保存设置失败")
                lines = self.log_texts()[before:]
                self.assertEqual(len(lines), 1, lines)
                self.assertTrue(lines[0].startswith("保存系统配置失败,原因:"), lines[0])
                self.assertEqual(self.config_bytes(), original, "a failed save wrote the file")

        with self.subTest("a good save"):
            bright, contrast = self.pos("bright"), self.pos("contrast")
            self.probe.set_text(d["fq"].hwnd, " 70")
            self.probe.set_text(d["pq"].hwnd, "100")
            self.save_expecting("保存设置成功", icon=MB_ICONINFORMATION)
            self.wait_settings_closed("the dialog closed after saving")
            path = self.folder.path
            self.assertEqual([config_value(path, k) for k in ("Bright", "Contrast", "IsQuality", "FQuality", "PQuality")],
                             [str(bright), str(contrast), "1", "70", "100"])
            sets = [c.line for c in self.scanner.journal() if c.name in ("LIVESCAN_SetBright", "LIVESCAN_SetContrast")]
            self.assertEqual(sets[-2:], ["LIVESCAN_SetBright(0, %d) = 1" % bright,
                                         "LIVESCAN_SetContrast(0, %d) = 1" % contrast])

        with self.subTest("reopened, then cancelled"):
            d = self.open_dialog()
            self.assertEqual((self.pos("bright"), self.pos("contrast")), (bright, contrast))
            self.assertEqual((self.text("fq"), self.text("pq")), ("70", "100"))
            saved = self.config_bytes()
            sets_before = len(self.scanner.calls("LIVESCAN_SetBright"))
            left, top, right, bottom = d["bright"]["rect"]
            self.screen.click(right - 20, (top + bottom) // 2)
            wait_until(lambda: self.pos("bright") != bright, what="the brightness slider moved")
            self.probe.set_text(d["fq"].hwnd, "90")
            self.cancel_settings()
            self.assertEqual(self.config_bytes(), saved)
            self.assertEqual(len(self.scanner.calls("LIVESCAN_SetBright")), sets_before)

        with self.subTest("the saved gates apply to the next capture"):
            self.scanner.configure(MOSAIC_FingerQuality=80, MOSAIC_ImageQuality=99)
            self.offer_finger()
            self.press(COLLECT)
            box = self.wait_message_box()
            self.assert_box(box, "图像质量不合格\r当前图像采集质量为【99】\r图像质量应该达到【100~100】之间")
            self.close_box(box)

    def test_a_device_that_refuses_the_brightness_or_the_contrast_keeps_the_dialog_open(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.scanner.configure(LIVESCAN_SetBright=0)
        self.open_dialog()
        original = self.config_bytes()
        self.save_expecting("设置设备亮度失败")
        self.assertIsNotNone(self.settings_dialog())
        self.assertEqual(self.config_bytes(), original)
        self.assertNotIn("LIVESCAN_SetContrast", self.scanner.names())
        with self.subTest("the contrast refused after the brightness was taken"):
            self.scanner.configure(LIVESCAN_SetBright=1, LIVESCAN_SetContrast=0)
            self.save_expecting("设置设备对比度失败")
            self.assertIsNotNone(self.settings_dialog())
            self.assertEqual(self.config_bytes(), original)
        self.cancel_settings()

    def test_the_dialog_opens_with_the_first_control_of_its_tab_order_focused(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        d = self.open_dialog()
        focus = lambda: self.probe.gui_thread(d["dialog"].hwnd)["focus"]
        wait_until(lambda: focus() == d["bright"].hwnd, what="the focus on the brightness slider")
        before = self.pos("bright")
        # The operator's first key press already moves the slider.
        self.screen.key("Right")
        wait_until(lambda: self.pos("bright") == before + 1, what="the brightness one step up")
        wait_until(lambda: self.text("bright_box") == str(before + 1), what="the brightness box following")
        # Back from another window, the focus is where the operator left it.
        self.screen.key("Tab")
        wait_until(lambda: focus() == d["bright_box"].hwnd, what="Tab to the brightness box")
        # Sent, so that each is handled before the next; the system's own handling of the
        # activation puts the focus on the dialog's window itself.
        self.probe.send(d["dialog"].hwnd, 0x0006, 0, 0)  # WM_ACTIVATE, WA_INACTIVE
        self.probe.send(d["dialog"].hwnd, 0x0006, 1, 0)  # WM_ACTIVATE, WA_ACTIVE
        self.assertEqual(focus(), d["bright_box"].hwnd)
        self.cancel_settings()

    def test_tab_walks_the_dialog_in_its_order_into_the_quality_group(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        d = self.open_dialog()
        self.click_window(d["bright"])
        focus = lambda: self.probe.gui_thread(d["dialog"].hwnd)["focus"]
        wait_until(lambda: focus() == d["bright"].hwnd, what="the focus on the brightness slider")
        order = ["bright_box", "contrast", "contrast_box", "save", "cancel", "fq", "pq", "check", "bright"]
        for key in order:
            self.screen.key("Tab")
            wait_until(lambda: focus() == d[key].hwnd, what="Tab to %s" % key)
        for key in reversed(order[:-1]):
            self.screen.key("shift+Tab")
            wait_until(lambda: focus() == d[key].hwnd, what="Shift+Tab back to %s" % key)
        # Without the gates the two quality edits are disabled and Tab passes them by.
        self.click_window(d["check"])
        wait_until(lambda: not self.probe.window(d["fq"].hwnd)["enabled"], what="the edits disabled")
        self.screen.key("shift+Tab")
        wait_until(lambda: focus() == d["cancel"].hwnd, what="Shift+Tab past the disabled edits")
        self.cancel_settings()

    def test_without_device_libraries_the_sliders_open_at_0_and_saving_stops(self):
        self.scanner.remove_folder()
        self.start_station(person=PERSON)
        self.wait_status("加载指纹采集动态库失败")
        self.open_dialog()
        self.assertEqual((self.pos("bright"), self.pos("contrast")), (0, 0))
        self.assertEqual((self.text("bright_box"), self.text("contrast_box")), ("0", "0"))
        original = self.config_bytes()
        self.save_expecting("设置设备亮度失败")
        self.assertEqual(self.config_bytes(), original)
        self.cancel_settings()

    def test_without_the_gates_the_file_keeps_whole_numbers(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        d = self.open_dialog()
        self.click_window(d["check"])
        wait_until(lambda: not self.probe.window(d["fq"].hwnd)["enabled"], what="the quality edits disabled")
        original = self.config_bytes()
        before = len(self.log_texts())
        # A threshold that is no whole number cannot be saved, though the gates are off: nothing is written.
        self.probe.set_text(d["fq"].hwnd, "5x")
        self.save_expecting("保存设置失败")
        lines = self.log_texts()[before:]
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].startswith("保存系统配置失败,原因:"), lines[0])
        self.assertEqual(self.config_bytes(), original, "a failed save wrote the file")
        # The dialog is still open and answers: its check box enables the edits again.
        self.click_window(d["check"])
        wait_until(lambda: self.settings_dialog() is None or self.probe.window(d["fq"].hwnd)["enabled"],
                   what="the quality edits enabled again")
        self.assertIsNotNone(self.settings_dialog(), "the dialog closed after a failed save")
        self.assertEqual(self.config_bytes(), original)
        self.cancel_settings()
        # The configuration reader can still read the file.
        for key in ("IsQuality", "FQuality", "PQuality"):
            value = config_value(self.folder.path, key)
            self.assertRegex(value or "", r"^-?\d+$", "%s=%r is not a whole number" % (key, value))


class LeavingTheStation(StationTestCase):

    def test_a_library_that_fails_while_closing_neither_keeps_the_program_nor_its_names(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        for entry in SHUTDOWN:
            with self.subTest(failing=entry):
                failed_before = [t for t in self.log_texts() if t.startswith("关闭窗体失败,错误:")]
                self.scanner.configure(**{entry: "raise"})
                self.host.ok("close")
                self.assertEqual(self.exit_code(), 0)
                failed = [t for t in self.log_texts() if t.startswith("关闭窗体失败,错误:")]
                self.assertEqual(len(failed), len(failed_before) + 1, "log: %r" % self.log_texts()[-4:])
                # The other library was still closed.
                self.assertEqual(self.scanner.names()[-3:], SHUTDOWN)
                # The single-instance names went with the program: it starts again at once.
                self.scanner.configure(**{entry: None})
                ready = len(self.host.notifications(HOST_CODE_READY))
                self.run_ = self.launch()
                self.main = self.wait_main_window(self.run_)
                self.host.wait_notifications(HOST_CODE_READY, count=ready + 1)

    def leave(self, how):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.capture(1)
        self.plant("5.jpg")
        self.plant("1.jpg")
        self.plant("EditImage.jpg")
        self.offer_finger()
        self.assertIn("FPTemp.bmp", self.temp_files())
        how()
        close = self.host.wait_notifications(HOST_CODE_CLOSE)
        self.assertEqual([(n.value, n.sent) for n in close], [(0, False)])
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.temp_files(), ["1234$XYZ_0.bmp", "1234$XYZ_1.bmp", "EditImage.jpg"])
        self.assertEqual(self.scanner.names()[-3:], SHUTDOWN)
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)
        self.assertEqual(self.log_texts(), [])

    def test_finish_button(self):
        self.leave(lambda: self.press(FINISH))

    def test_close_box(self):
        self.leave(lambda: self.probe.post(self.main.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0))

    def test_a_close_command_repeated_while_the_device_stops(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        for _ in range(3):
            self.host.ok("close")
        self.assertEqual(self.exit_code(), 0)
        self.assertEqual(self.scanner.names().count("LIVESCAN_Close"), 1)
        self.assertEqual(self.scanner.names()[-3:], SHUTDOWN)
        self.assertEqual(self.temp_files(), ["1234$XYZ_0.bmp"])
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)
        # The commands that came while the device stopped are only logged.
        self.assertEqual(set(self.log_texts()) - {"采集窗口正在关闭,忽略重复的关闭请求"}, set())


if __name__ == "__main__":
    unittest.main()
