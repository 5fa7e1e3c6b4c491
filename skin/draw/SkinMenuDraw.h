// Owner-drawn menu items in the skin's menu colours: a left bar for images and
// check marks, the caption, and the selection.
#pragma once

#include <windows.h>

class ISkinLook;
class TMenuItem;

// Separators are 5 high; other items max(text height, 21) high and text + 66 wide.
void MeasureSkinMenuItem(const ISkinLook& look, const TMenuItem& item, HDC dc, int& width, int& height);
void DrawSkinMenuItem(const ISkinLook& look, const TMenuItem& item, HDC dc, const RECT& rect, UINT state);

// The system's menu font, bold or not, made once for the process.
HFONT MenuFont(bool bold);

// Width of the image column of a menu without images.
constexpr int kMenuLeftBarWidth = 26;
