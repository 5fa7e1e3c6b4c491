"""A test of the whole capture station: the program, the simulated scanner beside it and, when the
test wants one, the host simulator. Helpers read what the operator sees (status text, buttons,
preview, slot thumbnails) and act as the operator does (clicks through the X display)."""

import os
import struct
import time

from . import layout, settings
from .case import ProgramTestCase
from .files import log_lines
from .hostsim import HOST_CODE_COLLECTED, HOST_CODE_READY, HostSim
from .mainwindow import MainWindow
from .msgbox import MessageBox
from .probe import ProbeError
from .scanner import Scanner
from .waiting import wait_until

PREVIEW_IMAGE = (3, 182, 197, 165)   # Img_View, below the live video, in main client coordinates
# The preview and the slots shrink the finger image (about three and six times) and smooth it, so its
# ridges and valleys average to grey: the finger shown is darker than this in every channel, the bare
# glass around it and an empty image (window colour, or aqua for the selected slot) are not.
INK = 200

COLLECT = "采集指纹"
CLEAR = "清空指纹"
VIEW = "查看指纹"
SETTINGS = "系统设置"
FINISH = "采集完成"

# A finger held still on the glass; each rewrite of the control file (offer_finger) gives exactly one new
# finger image.
HELD = dict(Journal=1, Pace=5, Finger="hold", MOSAIC_DoMosaic="1,2")
# Qualities the capture command's gates accept.
GOOD = dict(MOSAIC_FingerQuality=80, MOSAIC_ImageQuality=80)
PERSON = "1234$XYZ"

# The skin's border along a button's top edge while the pointer is over it.
HOT_BORDER = (0x7F, 0xA3, 0xCF)
VIEWER_CLASS = "TFrm_ImageEdit"
SETTINGS_CLASS = "TFrm_SysConfig"

NO_HOST_LINE = "异步发送消息到ActiveX控件中失败,未找到此程序句柄"


def lost_line(code, value):
    """The line that names a notification no host received."""
    return "通知未送达主机程序,代码%d,值%d" % (code, value)


def caption_for(name):
    return "当前采集姓名为：【%s】的指纹信息" % name


def bmp_size(path):
    """(width, height) from a Windows bitmap's header; raises on anything that is not a BMP."""
    with open(path, "rb") as f:
        head = f.read(54)
    if len(head) < 26 or head[:2] != b"BM":
        raise AssertionError("%s is not a BMP" % path)
    width, height = struct.unpack("<ii", head[18:26])
    return width, abs(height)


def bmp_declared_length(path):
    """The file length a Windows bitmap's header declares for itself."""
    with open(path, "rb") as f:
        head = f.read(6)
    if head[:2] != b"BM":
        raise AssertionError("%s is not a BMP" % path)
    return struct.unpack("<I", head[2:6])[0]


class StationTestCase(ProgramTestCase):

    def setUp(self):
        super().setUp()
        # The host block of an earlier test's simulator must be gone: the program would find it.
        wait_until(lambda: self.probe.read_mapping("FINGER_ACTIVEX_FILE", 1) is None,
                   what="no host block left by an earlier test")
        # A fresh installation: nothing in Temp\ or LogFiles\, whatever the staged folder holds.
        for sub in ("Temp", "LogFiles"):
            for name in os.listdir(self.folder.file(sub)):
                os.remove(self.folder.file(sub, name))
        self.scanner = Scanner(self.folder.path)
        self.host = None
        self.run_ = None
        self.main = None

    # -- starting ---------------------------------------------------------------------------
    def start_host(self, *options):
        host = HostSim(*options, log_dir=self.folder.root, label="host%d" % len(self.folder.runs))
        self.addCleanup(host.close)
        if "--no-block" not in options and not any(o == "--late-block" for o in options):
            host.wait_line(lambda l: l.startswith("block created"), what="the host block")
        self.host = host
        return host

    def start_station(self, person=None, host_options=(), with_host=True, **scanner):
        """Starts the host simulator (unless with_host is false) and the program; with a person, waits until
        the host has named it. Scanner settings go into the control file first."""
        if scanner:
            self.scanner.configure(**scanner)
        if with_host:
            options = list(host_options)
            if person is not None:
                options += ["--person", person]
            self.start_host(*options)
        self.run_ = self.launch()
        self.main = self.wait_main_window(self.run_)
        # A host whose block does not name its window cannot be told that the window is ready.
        if with_host and not {"--no-block", "--late-block", "--garbage-block"} & set(host_options):
            ready = self.host.wait_notifications(HOST_CODE_READY)
            self.assertEqual(ready[0].value, self.main.hwnd, "the ready notification names another window")
        if person is not None:
            name = person.split("$", 1)[1] if "$" in person else person
            self.wait_caption(caption_for(name))
        return self.run_, self.main

    def launch(self):
        """Starts the program and holds a handle to its process for its Windows exit code."""
        run = self.start_program()
        try:
            self.watch_exit(run)
        except ProbeError:
            # Ended already (a start-up that ends the program at once): only the launcher's status is left.
            run.watched = False
        return run

    def exit_code(self, timeout=30):
        """The program's exit code as Windows reports it, once the process has ended."""
        return self.windows_exit_code(self.run_, timeout)

    # -- what the operator sees -------------------------------------------------------------
    def wait_caption(self, caption, timeout=30):
        wait_until(lambda: self.main.refresh() and self.main.caption == caption, timeout,
                   what="the caption %r (now %r)" % (caption, self.main.window["text"]))

    def status_text(self):
        return self.main.status_text()

    def wait_status(self, text, timeout=30):
        wait_until(lambda: self.main.shows_status(text), timeout,
                   what="the status text %r (now %r)" % (text, self.status_text()))

    def button(self, text):
        return self.main.control("TButton", text)

    def enabled(self, text):
        return self.button(text)["enabled"]

    def button_states(self):
        return {b.text: self.enabled(b.text) for b in layout.BUTTONS}

    def click_window(self, window):
        left, top, right, bottom = window["rect"]
        self.screen.click((left + right) // 2, (top + bottom) // 2)

    def press(self, text):
        """Clicks the main window's button through the X display."""
        self.click_window(self.button(text))

    def hover_to_settle(self, button=None):
        """Moves the pointer over a button of the main window (the finish button unless told) and waits for its
        hot border, or for the settings dialog, which would take the mouse from the window. The window handles
        mouse and keys in the order they come, so whatever came before has been handled then. A hot border left
        from before would say nothing: the pointer is parked until the border has gone first, and after."""
        button = button or self.button(FINISH)
        self.screen.park_pointer()
        wait_until(lambda: self.settings_dialog() is not None or not self.shows_hot(button),
                   what="the hot border of %r gone with the pointer parked" % button["text"])
        left, top, right, bottom = button["rect"]
        self.screen.move((left + right) // 2, (top + bottom) // 2)
        wait_until(lambda: self.settings_dialog() is not None or self.shows_hot(button),
                   what="the hot border of %r" % button["text"])
        self.screen.park_pointer()

    def shows_hot(self, button, shot=None):
        """Whether the main window's button shows the hot border along its top edge."""
        left, top, right, _ = button["rect"]
        pixel = (shot or self.screen.shot()).pixel((left + right) // 2, top)
        return all(abs(a - b) <= 8 for a, b in zip(pixel, HOT_BORDER))

    def click_slot(self, number, double=False, dx=0, dy=0):
        """Clicks the slot's image (dx, dy from its centre); nothing of the pointer is left on the panels."""
        x, y = self.main.to_screen(*layout.slot_image_centre(layout.SLOTS[number]))
        if double:
            self.screen.double_click(x + dx, y + dy)
        else:
            self.screen.click(x + dx, y + dy)
        self.screen.park_pointer()

    def dark_pixels(self, shot, left, top, width, height, step=3):
        ox, oy = self.main.to_screen(0, 0)
        count = 0
        for y in range(top, top + height, step):
            for x in range(left, left + width, step):
                if max(shot.pixel(ox + x, oy + y)) < INK:
                    count += 1
        return count

    def preview_dark(self, shot=None):
        left, top, width, height = PREVIEW_IMAGE
        return self.dark_pixels(shot or self.screen.shot(), left + 8, top + 8, width - 16, height - 16)

    def slot_dark(self, number, shot=None):
        slot = layout.SLOTS[number]
        top = slot.top + layout.LABEL_STRIP + layout.BEVEL_STRIP + 4
        return self.dark_pixels(shot or self.screen.shot(), slot.left + 4, top, slot.width - 8,
                                slot.top + slot.height - top - 4)

    def wait_preview_finger(self, timeout=30):
        wait_until(lambda: self.preview_dark() > 200, timeout, what="a finger image in the preview")

    def wait_preview_empty(self, timeout=30):
        wait_until(lambda: self.preview_dark() == 0, timeout, what="the preview to empty")

    def occupied_slots(self):
        shot = self.screen.shot()
        return [n for n in range(10) if self.slot_dark(n, shot) > 100]

    def wait_message_box(self, run=None, timeout=30):
        return super().wait_message_box(run or self.run_, timeout)

    def close_box(self, box):
        box.press(box.buttons[0], screen=self.screen)
        wait_until(box.gone, what="the message box to close")

    def assert_box(self, box, text, caption="提示"):
        self.assertEqual((box.caption, box.text), (caption, text))
        self.assertEqual(len(box.buttons), 1, "buttons: %r" % box.button_texts())

    def no_message_box(self):
        return MessageBox.find(self.probe, self.run_.pid) is None

    def save_main_shot(self, name, shot=None):
        """The main window as shown, into the artifacts folder for people to look at."""
        shot = shot or self.screen.shot()
        left, top, right, bottom = self.main.refresh()["rect"]
        path = os.path.join(settings.artifacts_dir(), name)
        shot.crop(left, top, right - left, bottom - top).save_png(path)
        return path

    # -- files ------------------------------------------------------------------------------
    def temp(self, *name):
        return self.folder.file("Temp", *name)

    def temp_files(self):
        return sorted(os.listdir(self.temp()))

    def plant(self, name, data=b"left by another program"):
        """A file in Temp\\ as another program, or a failing disk, leaves it."""
        with open(self.temp(name), "wb") as f:
            f.write(data)

    def log_texts(self):
        return [l.text for l in log_lines(self.folder.path)]

    # -- the scanner ------------------------------------------------------------------------
    def saves(self):
        """How many preview files the capture thread has had the scanner write."""
        return len(self.scanner.calls("LIVESCAN_SaveToFile"))

    def offer_finger(self):
        """With a held finger and `MOSAIC_DoMosaic=1,2`: one new finger image, shown in the preview."""
        before = self.saves()
        self.scanner.restart_scripts()
        wait_until(lambda: self.saves() > before, what="a new preview file")
        self.wait_preview_finger()

    def collect_finger(self, slot):
        """Offers a new finger to the current slot, which must be `slot`, and presses the capture button."""
        self.wait_status(layout.SLOTS[slot].finger_text)
        self.offer_finger()
        self.press(COLLECT)

    def capture(self, slot):
        """Stores one finger into the current slot, which must be `slot`: the host is told of that slot, and the
        preview empties."""
        self.host.sync()
        count = len(self.host.notifications(HOST_CODE_COLLECTED))
        self.collect_finger(slot)
        note = self.host.wait_notifications(HOST_CODE_COLLECTED, count=count + 1)[-1]
        self.assertEqual(note.value, slot)
        self.wait_preview_empty()

    # -- the image viewer -------------------------------------------------------------------
    def viewer(self):
        found = self.probe.windows(cls=VIEWER_CLASS, pid=self.run_.pid, visible=True)
        return found[0] if found else None

    def wait_viewer(self):
        return wait_until(self.viewer, what="the image viewer")

    def wait_viewer_closed(self, what="the viewer closed"):
        wait_until(lambda: self.viewer() is None, what=what)

    # -- the settings dialog ----------------------------------------------------------------
    def settings_dialog(self):
        found = self.probe.windows(cls=SETTINGS_CLASS, pid=self.run_.pid, visible=True)
        return found[0] if found else None

    def wait_settings_dialog(self):
        return wait_until(self.settings_dialog, what="the settings dialog")

    def wait_settings_closed(self, what="the settings dialog closed"):
        wait_until(lambda: self.settings_dialog() is None, what=what)

    def open_settings(self):
        """Presses the settings button; returns the dialog's controls (see settings_controls)."""
        self.press(SETTINGS)
        return self.settings_controls()

    def cancel_settings(self):
        self.click_window(self.settings_controls()["cancel"])
        self.wait_settings_closed("the settings dialog closed by cancel")

    def settings_controls(self):
        """The open settings dialog and its controls by role, once the skin's frame has moved the client
        area and the controls stand in their places in it."""
        def placed():
            dialog = self.settings_dialog()
            if dialog is None:
                return None
            children = self.probe.children(dialog.hwnd)

            def at(cls, left, top):
                for c in children:
                    if c["class"] == cls and c.client_rect_in(dialog)[:2] == (left, top):
                        return c
                raise LookupError("no %s at %d,%d in the dialog" % (cls, left, top))

            def button(text):
                return [c for c in children if c["class"] == "TButton" and c["text"] == text][0]
            try:
                return {
                    "dialog": dialog,
                    "check": [c for c in children if c["class"] == "TCheckBox"][0],
                    "fq": at("TEdit", 48 + 93, 17 + 22),
                    "pq": at("TEdit", 48 + 93, 17 + 49),
                    "bright_box": at("TEdit", 328, 103),
                    "contrast_box": at("TEdit", 328, 156),
                    "bright": at("TTrackBar", 40, 125),
                    "contrast": at("TTrackBar", 40, 176),
                    "save": button("确  定"),
                    "cancel": button("取  消"),
                }
            except (LookupError, IndexError):
                return None
        return wait_until(placed, what="the settings dialog's controls in their places")

    def find_main(self):
        return MainWindow.find(self.probe, self.run_.pid)

    def elapsed(self, since):
        return time.monotonic() - since
