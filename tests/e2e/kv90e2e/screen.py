"""The X display as the operator sees it: screenshots and mouse clicks through xdotool.

Win32 screen coordinates are those of the Wine desktop; the X position of a Wine
virtual desktop window is added so that a click lands where Win32 puts a window.
"""

import re
import subprocess
import time

from .image import Image


def _run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60, **kw).stdout


class Screen:
    def __init__(self):
        self._offset = None

    def desktop_offset(self):
        """X root position of the Wine virtual desktop's window; (0, 0) without one."""
        if self._offset is None:
            self._offset = (0, 0)
            tree = _run(["xwininfo", "-root", "-children"]).decode("utf-8", "replace")
            for line in tree.splitlines():
                if "Wine desktop" in line:
                    m = re.search(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", line)
                    if m:
                        self._offset = (int(m.group(3)), int(m.group(4)))
                    break
        return self._offset

    def has_virtual_desktop(self):
        tree = _run(["xwininfo", "-root", "-children"]).decode("utf-8", "replace")
        return "Wine desktop" in tree

    def x_toplevel_names(self):
        """Names of the X windows directly under the root (windows outside a virtual desktop show here)."""
        tree = _run(["xwininfo", "-root", "-children"]).decode("utf-8", "replace")
        return re.findall(r'^\s+0x[0-9a-f]+ "(.*)":', tree, re.M)

    def to_x(self, x, y):
        dx, dy = self.desktop_offset()
        return x + dx, y + dy

    def _move(self, xx, yy):
        """Moves the X pointer and waits until it is there. `mousemove --sync` waits for a motion that never
        comes when the pointer is already at the point, so that case is left out."""
        for attempt in range(5):
            try:
                out = _run(["xdotool", "getmouselocation", "--shell"]).decode()
                break
            except subprocess.CalledProcessError:
                # The window under the pointer went while xdotool asked about it; it asks again.
                if attempt == 4:
                    raise
                time.sleep(0.05)
        here = dict(line.split("=", 1) for line in out.split() if "=" in line)
        if (here.get("X"), here.get("Y")) != (str(xx), str(yy)):
            _run(["xdotool", "mousemove", "--sync", str(xx), str(yy)])

    def click(self, x, y, button=1):
        """Moves the X pointer to the Win32 screen point and clicks there."""
        xx, yy = self.to_x(x, y)
        self._move(xx, yy)
        _run(["xdotool", "click", str(button)])

    def double_click(self, x, y):
        xx, yy = self.to_x(x, y)
        self._move(xx, yy)
        _run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])

    def key(self, *keys):
        """Presses keys (xdotool names such as Escape, Right, ctrl+a) on the focused window."""
        _run(["xdotool", "key", "--delay", "40"] + list(keys))

    def type_text(self, text):
        _run(["xdotool", "type", "--delay", "40", text])

    def drag(self, x1, y1, x2, y2):
        """Holds the left button at the first point and lets go at the second."""
        a, b = self.to_x(x1, y1)
        c, d = self.to_x(x2, y2)
        self._move(a, b)
        _run(["xdotool", "mousedown", "1"])
        self._move((a + c) // 2, (b + d) // 2)
        self._move(c, d)
        _run(["xdotool", "mouseup", "1"])

    def move(self, x, y):
        """Moves the pointer to the Win32 screen point, buttons as they are."""
        self._move(*self.to_x(x, y))

    def mouse_down(self, x, y):
        """Moves to the point and holds the left button there."""
        self.move(x, y)
        _run(["xdotool", "mousedown", "1"])

    def mouse_up(self):
        _run(["xdotool", "mouseup", "1"])

    def key_down(self, key):
        _run(["xdotool", "keydown", key])

    def key_up(self, key):
        _run(["xdotool", "keyup", key])

    def park_pointer(self):
        """Moves the pointer to the screen's corner so that no hover effect lies on what a test reads."""
        self._move(*self.to_x(1279, 799))

    def shot(self):
        """The whole desktop in Win32 screen coordinates."""
        image = Image.from_ppm(_run(["import", "-window", "root", "-depth", "8", "ppm:-"]))
        dx, dy = self.desktop_offset()
        if (dx, dy) != (0, 0):
            image = image.crop(dx, dy, image.width - dx, image.height - dy)
        return image

    def pixel(self, x, y):
        return self.shot().pixel(x, y)
