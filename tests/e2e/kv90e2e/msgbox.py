"""Standard Win32 message boxes (dialog class #32770) as the operator sees them."""

SS_TYPEMASK = 0x1F
SS_ICON = 0x03
TEXT_ID = 0xFFFF
IDOK = 1
MB_ICONWARNING = 0x30
MB_ICONINFORMATION = 0x40


class MessageBox:
    def __init__(self, probe, window):
        self._probe = probe
        self.window = window
        self.hwnd = window.hwnd
        self.caption = window["text"]
        self.controls = probe.children(self.hwnd)
        texts = [c for c in self.controls if c["class"].lower() == "static" and c["id"] == TEXT_ID]
        self.text = texts[0]["text"] if texts else None
        self.buttons = [c for c in self.controls if c["class"].lower() == "button" and c["visible"]]
        icons = [c for c in self.controls
                 if c["class"].lower() == "static" and (c["style"] & SS_TYPEMASK) == SS_ICON and c["visible"]]
        self.icon = icons[0] if icons else None

    @classmethod
    def find(cls, probe, pid):
        """The visible message box of the process, or None."""
        boxes = probe.windows(cls="#32770", pid=pid, visible=True)
        return cls(probe, boxes[0]) if boxes else None

    def button(self, text=None, control_id=None):
        for b in self.buttons:
            if (text is None or b["text"] == text) and (control_id is None or b["id"] == control_id):
                return b
        raise AssertionError("no button %r/%r among %r" % (text, control_id, [b["text"] for b in self.buttons]))

    def button_texts(self):
        return [b["text"] for b in self.buttons]

    def icon_image(self, screen):
        """The pixels of the icon as drawn on the screen, or None without an icon."""
        if self.icon is None:
            return None
        left, top, right, bottom = self.icon["rect"]
        return screen.shot().crop(left, top, right - left, bottom - top)

    def press(self, button, screen=None):
        """Presses the button: with the X mouse when a screen is given, else by BM_CLICK."""
        if screen is not None:
            left, top, right, bottom = button["rect"]
            screen.click((left + right) // 2, (top + bottom) // 2)
        else:
            self._probe.click_button(button.hwnd)

    def gone(self):
        return self._probe.window(self.hwnd) is None
