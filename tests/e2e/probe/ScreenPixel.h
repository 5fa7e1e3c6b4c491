// Colours as the window system itself reports them: a screen pixel, and the system colours.
#pragma once
#include <windows.h>

// Returns CLR_INVALID when the pixel cannot be read.
COLORREF screenPixel(int x, int y);
COLORREF systemColour(int index);
