// Skin entries as the drawing code takes them from a loaded skin.
#pragma once

#include "skin/draw/SkinDraw.h"

#include <windows.h>

class TSkinReader;

// The bitmap of that index ready for GDI; empty when the skin lacks it.
TSkinImage SkinImage(const TSkinReader& reader, int index);
// The colour of that index; the fallback when the skin lacks it (-1).
COLORREF SkinColorOr(const TSkinReader& reader, int index, COLORREF fallback);
