// Conversion of a decoded skin bitmap into a GDI bitmap for drawing.
#pragma once

#include "framework/Handles.h"
#include "skin/archive/SkinBitmap.h"

#include <windows.h>

// A 24-bit device-independent section bitmap with the skin bitmap's pixels;
// empty for an empty skin bitmap or when GDI refuses.
GdiObject<HBITMAP> CreateSkinHBitmap(const SkinBitmap& bitmap);

// COLORREF and the skin's colour value share the 0x00BBGGRR layout.
inline COLORREF SkinColorToColorRef(SkinColor color) { return static_cast<COLORREF>(color & 0xFFFFFFu); }
