// What a control that draws itself last drew, kept in a bitmap the size of its
// client area. A repaint the system asks for (the window was uncovered, the
// form shown again) copies the kept face instead of drawing it all again; only
// the parts marked changed since are drawn again, into the kept face.
// Under Wine each part drawn onto a window costs far more than a copy, and a
// form's panels, with their frames, labels and thumbnails, are drawn whole
// every time the form is uncovered.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <functional>

class TKeptFace {
public:
    // Draws the whole face onto dc; the caller has clipped dc to `part`, the
    // changed part, and may leave the rest undrawn.
    using Draw = std::function<void(HDC dc, const RECT& part)>;

    // A part (client coordinates) changed; Changed() without one: all of it.
    void Changed(const RECT& part);
    void Changed();
    // Brings the kept face up to date for a client area of `size`, then copies
    // `area` of it onto dc.
    void Paint(HDC dc, SIZE size, const RECT& area, const Draw& draw);
    // Gives the bitmap back; the next paint draws everything.
    void Drop();

private:
    OffscreenBitmap* Surface(HDC like, SIZE size);
    // The kept face, in the format of the window's device; empty before the first paint.
    OffscreenBitmap surface_;
    RECT changed_{0, 0, 0, 0};
};
