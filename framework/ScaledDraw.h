// Drawing a picture's pixels into a device context at any size: at its own
// size as it is, at any other size area-averaged to that size (smooth, no
// aliasing of fine lines). The last scaled copy is kept, so that repainting
// at the same size costs only the copy to the device.
#pragma once

#include "framework/AreaScale.h"
#include "framework/Handles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// Copies a whole bitmap unscaled with its top left corner at x, y.
void DrawBitmapAt(HDC dc, int x, int y, HBITMAP bitmap, int width, int height);

class TScaledCopy {
public:
    // Draws a width × height picture, whose rows `rows` gives top row first
    // with `channels` bytes per pixel, scaled into the target rectangle.
    void Draw(HDC dc, const RECT& target, int width, int height, int channels, const AreaScaler::RowSource& rows);
    // The picture's pixels changed: the kept copy is scaled again at the next
    // draw, into the same memory when the size stays.
    void Invalidate() { valid_ = false; }
    // Gives the kept copy's memory back as well.
    void Clear();

private:
    // The kept copy, as a 32-bit top-down DIB section that is copied with BitBlt.
    OffscreenBitmap copy_;
    bool valid_ = false;
};
