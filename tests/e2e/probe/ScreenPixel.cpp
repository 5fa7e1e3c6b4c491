#include "ScreenPixel.h"

COLORREF screenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    if (!dc) return CLR_INVALID;
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

COLORREF systemColour(int index) { return GetSysColor(index); }
