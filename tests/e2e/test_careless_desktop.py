"""Another program on the same desktop: messages in the toolkit's private ranges, system commands and
hit-test codes the windows do not have, repeated requests for the system menu, and captures racing the
capture thread. The station goes on as if nothing had happened."""

import os
import struct
import time
import unittest

from kv90e2e import layout, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED
from kv90e2e.msgbox import MessageBox
from kv90e2e.station import COLLECT, GOOD, HELD, PERSON, VIEW, StationTestCase, bmp_declared_length, bmp_size

WM_NCLBUTTONDOWN = 0x00A1
WM_NCRBUTTONDOWN = 0x00A4
WM_SYSCOMMAND = 0x0112
SC_MAXIMIZE = 0xF030
HTCAPTION, HTLEFT, HTTOP, HTBOTTOMRIGHT, HTCLOSE = 2, 10, 12, 17, 20
# The toolkit's own messages, and the reflected notifications after them.
PRIVATE_RANGES = (range(0xB000, 0xB100), range(0xBC00, 0xC000))
GARBAGE = ((0, 0), (0xDEADBEEF, 0x12345678))
# How far, on average over a band of rows, a stored finger may lie from the finger the scanner drew: the
# stitched image keeps the darkest of the frames, which differ by the sensor's noise of a few levels.
BAND_ROWS = 40
BAND_TOLERANCE = 12


def grey_rows(path):
    """The rows, top first, of an 8-bit palettised bitmap, each as bytes of grey levels (the palette's blue)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise AssertionError("%s is not a BMP" % path)
    pixels, = struct.unpack("<I", data[10:14])
    header, width, height, _, bits = struct.unpack("<IiiHH", data[14:30])
    if bits != 8:
        raise AssertionError("%s has %d bits a pixel" % (path, bits))
    palette = bytes(data[14 + header + 4 * i] for i in range(256))
    stride = (width + 3) // 4 * 4
    rows = [data[pixels + y * stride:pixels + y * stride + width].translate(palette) for y in range(abs(height))]
    if any(len(row) != width for row in rows):
        raise AssertionError("%s is cut short" % path)
    return rows[::-1] if height > 0 else rows


def band_differences(rows, reference):
    """The mean absolute difference of grey levels in each band of BAND_ROWS rows."""
    bands = []
    for top in range(0, len(reference), BAND_ROWS):
        total = count = 0
        for row, expected in zip(rows[top:top + BAND_ROWS], reference[top:top + BAND_ROWS]):
            total += sum(abs(a - b) for a, b in zip(row, expected))
            count += len(expected)
        bands.append(total / count)
    return bands


class CarelessDesktop(StationTestCase):

    def app_window(self):
        return self.probe.windows(cls="TApplication", pid=self.run_.pid)[0]

    def rect(self, window):
        return tuple(self.probe.window(window.hwnd)["rect"])

    def settle(self):
        """Returns once the windows' thread has handled every message posted to it before: it takes the input
        that follows them (the pointer's move over a button, which shows it hot) only after them. A sent
        message would overtake them."""
        self.hover_to_settle()

    def assert_station_works(self, slot):
        self.assertTrue(self.run_.running(), "the station ended")
        self.assertEqual(self.find_main().hwnd, self.main.hwnd)
        self.capture(slot)
        self.host.sync()
        self.assertEqual(self.host.notifications(HOST_CODE_CLOSE), [])

    def test_private_messages_with_any_parameters_are_ignored(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.capture(0)
        self.click_slot(0)
        wait_until(lambda: self.enabled(VIEW), what="the view button")
        self.press(VIEW)
        viewer = self.wait_viewer()
        bar = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TToolBar"][0]
        # A reflected notification whose header is nowhere.
        self.probe.send(bar.hwnd, 0xBC4E, 0, 0)
        self.screen.key("Escape")
        self.wait_viewer_closed()
        app = self.app_window()
        # A queued-work request with nothing queued, and a release the form never asked for.
        self.probe.post(app.hwnd, 0xBF01, 0, 0)
        self.probe.post(self.main.hwnd, 0xBF00, 0, 0)
        self.settle()
        for window in (self.main, app):
            for messages in PRIVATE_RANGES:
                for msg in messages:
                    for wparam, lparam in GARBAGE:
                        self.probe.post(window.hwnd, msg, wparam, lparam)
            self.settle()
        self.assert_station_works(0)  # the slot viewed last is current

    def test_a_window_without_a_maximize_button_keeps_its_size(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        before = self.rect(self.main)
        self.probe.send(self.main.hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0)
        self.settle()
        self.assertEqual(self.rect(self.main), before)
        # Hit-test codes of a frame the skin does not have, at a point inside the window. A size, a move or a
        # close box tracked for one would follow the pointer until the button goes up: the pointer moves, and a
        # click chooses a slot, which the window takes only once it has handled the press posted before.
        left, top, right, bottom = before
        x, y = (left + right) // 2, (top + bottom) // 2
        for slot, code in enumerate((HTTOP, HTLEFT, HTBOTTOMRIGHT, HTCLOSE, HTCAPTION), start=1):
            self.probe.post(self.main.hwnd, WM_NCLBUTTONDOWN, code, (y << 16) | x)
            self.screen.move(x + 30, y + 30)
            self.click_slot(slot)
            wait_until(lambda: self.rect(self.main) != before or not self.run_.running()
                       or self.main.shows_status(layout.SLOTS[slot].finger_text),
                       what="slot %d chosen after hit-test code %d" % (slot, code))
            self.assertEqual(self.rect(self.main), before, "hit-test code %d" % code)
        self.click_slot(0)
        self.wait_status(layout.SLOTS[0].finger_text)

        dialog = self.open_settings()["dialog"]
        placed = self.settled_rect(dialog.hwnd)
        # Sent: handled before the call returns.
        self.probe.send(dialog.hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0)
        self.assertEqual(self.rect(dialog), placed)
        self.cancel_settings()
        self.assert_station_works(0)

    def test_repeated_system_menu_requests_open_one_menu(self):
        self.start_station(person=PERSON, **HELD, **GOOD)
        self.click_window(self.open_settings()["save"])
        box = self.wait_message_box()
        # The skin's frame is put on once the box shows: its caption is where the settled box has it.
        left, top, right, _ = self.settled_rect(box.hwnd)
        on_caption = ((top + 10) << 16) | ((left + right) // 2)
        for _ in range(5):
            self.probe.post(box.hwnd, WM_NCRBUTTONDOWN, HTCAPTION, on_caption)
        menus = lambda: self.probe.windows(cls="#32768", pid=self.run_.pid, visible=True)
        wait_until(lambda: len(menus()) >= 1, what="the system menu")
        # The open menu's loop takes the pointer's move only after the requests posted before it: once the
        # item under the pointer shows selected, every request has been handled.
        left, top, right, bottom = menus()[0]["rect"]
        unselected = self.screen.shot().crop(left, top, right - left, bottom - top).rgb
        self.screen.move((left + right) // 2, bottom - 12)
        wait_until(lambda: self.screen.shot().crop(left, top, right - left, bottom - top).rgb != unselected,
                   what="the menu's item under the pointer selected")
        self.assertEqual(len(menus()), 1, "menus open: %r" % [m["rect"] for m in menus()])
        self.screen.key("Escape")
        wait_until(lambda: not menus(), what="the one menu closed by one Escape; open: %r" % menus())
        self.close_box(box)
        self.wait_settings_closed()
        self.assertTrue(self.run_.running())

    def test_captures_back_to_back_never_read_a_preview_being_written(self):
        # A new finger image, and a new preview file, on every frame, as fast as frames come.
        self.start_station(person=PERSON, **GOOD, Journal=0, Pace=0, Finger="hold", MOSAIC_DoMosaic="1")
        self.wait_preview_finger()
        for n in range(40):
            self.host.sync()
            count = len(self.host.notifications(HOST_CODE_COLLECTED))
            self.press(COLLECT)

            def stored_or_refused():
                box = MessageBox.find(self.probe, self.run_.pid)
                if box is not None and box.text:
                    raise AssertionError("capture %d failed: %r" % (n + 1, box.text))
                return len(self.host.notifications(HOST_CODE_COLLECTED)) > count
            wait_until(stored_or_refused, what="capture %d stored" % (n + 1))
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), 40)
        # Every stored finger is a whole bitmap of the scanner's size, and shows in every band of rows the
        # finger the scanner drew: a preview read while it was being written would show another image below
        # where the tear is.
        drawn = self.drawn_finger()
        for slot in range(10):
            path = self.temp("%d.bmp" % slot)
            self.assertEqual(bmp_size(path), (640, 640), "slot %d" % slot)
            self.assertEqual(os.path.getsize(path), bmp_declared_length(path), "slot %d cut short" % slot)
            bands = band_differences(grey_rows(path), drawn)
            self.assertLess(max(bands), BAND_TOLERANCE, "slot %d differs from the drawn finger by band: %s"
                            % (slot, " ".join("%.0f" % d for d in bands)))
        self.assertTrue(os.path.exists(self.temp("1234$XYZ_9.bmp")))

    def drawn_finger(self):
        """The held finger as the scanner saves it, once frames come seconds apart and the preview file stays
        as it is: its rows, top first."""
        self.scanner.configure(Pace=10000)
        path = self.temp("FPTemp.bmp")
        seen = {}

        def still():
            with open(path, "rb") as f:
                data = f.read()
            if data != seen.get("data"):
                seen.update(data=data, at=time.monotonic())
                return None
            return time.monotonic() - seen["at"] >= 0.5 and len(data) == bmp_declared_length(path)
        wait_until(still, what="the preview file to stay as it is")
        return grey_rows(path)


if __name__ == "__main__":
    unittest.main()
