"""The capture program's main window (class TFrm_Main) and its child controls, seen from outside."""

from . import layout

WS_THICKFRAME = 0x00040000
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000

MAIN_CLASS = "TFrm_Main"


class MainWindow:
    def __init__(self, probe, window):
        self._probe = probe
        self.window = window
        self.hwnd = window.hwnd

    @classmethod
    def find(cls, probe, pid):
        """The visible main window of the process, or None."""
        found = probe.windows(cls=MAIN_CLASS, pid=pid, visible=True)
        return cls(probe, found[0]) if found else None

    def refresh(self):
        """This window's current description; None once it is gone."""
        current = self._probe.window(self.hwnd)
        if current is not None:
            self.window = current
        return current

    @property
    def caption(self):
        return self.window["text"]

    @property
    def client_size(self):
        return self.window.client_size

    def controls(self, cls=None, text=None):
        # Fresh geometry of the window too, so that client coordinates follow a window that moved.
        self.refresh()
        return [c for c in self._probe.children(self.hwnd)
                if (cls is None or c["class"] == cls) and (text is None or c["text"] == text)]

    def control(self, cls, text):
        found = self.controls(cls, text)
        if len(found) != 1:
            raise AssertionError("expected one %s %r, found %d" % (cls, text, len(found)))
        return found[0]

    def client_bounds(self, control):
        """(left, top, width, height) of a control in this window's client coordinates."""
        return control.client_rect_in(self.window)

    def control_at(self, cls, left, top):
        """The control of the class whose top-left corner lies at the client point, or None."""
        for c in self.controls(cls):
            bounds = self.client_bounds(c)
            if bounds[0] == left and bounds[1] == top:
                return c
        return None

    def to_screen(self, x, y):
        self.refresh()
        ox, oy = self.window.client_origin
        return ox + x, oy + y

    # -- the labels, which the form and the panels draw -----------------------------------------
    def shows_text(self, area, font, text, align="left", hwnd=None):
        """Whether the window (this one, or the child hwnd) shows text in area, drawn with font.
        A few pixels may differ where smoothed edges meet the background."""
        ink, mismatches = self._probe.drawn_text(hwnd or self.hwnd, area, font, align, text)
        return mismatches <= max(2, ink // 30)

    def shows_status(self, text):
        return self.shows_text(layout.STATUS_AREA, layout.STATUS_FONT, text)

    def status_text(self):
        """The status line's text among those it is known to show ("" when blank), or None."""
        return next((t for t in layout.STATUS_TEXTS if self.shows_status(t)), None)

    def panel_label_shown(self, panel, text):
        """Whether the framed panel (a child window) shows text centred in the strip at its top."""
        left, top, width, height = layout.STRIP_LABEL_AREA
        area = (left, top, panel.client_size[0] + width, height)
        return self.shows_text(area, layout.STRIP_FONT, text, "center", panel.hwnd)
