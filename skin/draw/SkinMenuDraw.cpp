#include "skin/draw/SkinMenuDraw.h"

#include "framework/Handles.h"
#include "framework/Menus.h"
#include "skin/draw/SkinDraw.h"
#include "skin/draw/SkinLook.h"
#include "skin/archive/SkinNames.h"

#include <algorithm>

namespace {

// The 13 menu colours start at the menu bar's start colour.
COLORREF MenuColor(const ISkinLook& look, int skinIndex) {
    return look.Metrics().menuColors[skinIndex - SKIN_COLOR_MENUBARSTARTCOLOR];
}

}  // namespace

HFONT MenuFont(bool bold) {
    static FontHandle regular, heavy;
    FontHandle& font = bold ? heavy : regular;
    if (!font) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
        font.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
    }
    return font.Get();
}

void MeasureSkinMenuItem(const ISkinLook&, const TMenuItem& item, HDC dc, int& width, int& height) {
    if (item.IsLine()) {
        width = 0;
        height = 5;
        return;
    }
    SelectObjectScope font(dc, MenuFont(item.Default()));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, item.Caption().c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    width = (r.right - r.left) + 66;
    height = std::max<int>(r.bottom - r.top, 21);
}

void DrawSkinMenuItem(const ISkinLook& look, const TMenuItem& item, HDC dc, const RECT& rect, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
    RECT bar{rect.left, rect.top, rect.left + kMenuLeftBarWidth, rect.bottom};
    RECT body{bar.right, rect.top, rect.right, rect.bottom};
    FillSolid(dc, body, MenuColor(look, SKIN_COLOR_MENUITEMCOLOR));
    FillVerticalGradient(dc, bar, MenuColor(look, SKIN_COLOR_LEFTBARSTARTCOLOR),
                         MenuColor(look, SKIN_COLOR_LEFTBARENDCOLOR));
    if (item.IsLine()) {
        const int y = rect.top + (rect.bottom - rect.top) / 2;
        FillSolid(dc, RECT{body.left + 4, y, rect.right, y + 1}, MenuColor(look, SKIN_COLOR_SELECTEDMENUBORDERCOLOR));
        return;
    }
    COLORREF text = disabled ? RGB(0x80, 0x80, 0x80) : MenuColor(look, SKIN_COLOR_MENUITEMFONTCOLOR);
    if (selected && !disabled) {
        BrushHandle fill(CreateSolidBrush(MenuColor(look, SKIN_COLOR_SELECTEDMENUCOLOR)));
        PenHandle border(CreatePen(PS_SOLID, 1, MenuColor(look, SKIN_COLOR_SELECTEDMENUBORDERCOLOR)));
        SelectObjectScope b(dc, fill.Get()), p(dc, border.Get());
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        text = MenuColor(look, SKIN_COLOR_SELECTEDMENUFONTCOLOR);
    }
    if (item.Checked()) {
        const TSkinImage& mark = look.CheckedMark();
        DrawAt(dc, mark, bar.left + (kMenuLeftBarWidth - mark.Width()) / 2,
               rect.top + (rect.bottom - rect.top - mark.Height()) / 2, true);
    }
    SelectObjectScope font(dc, MenuFont(item.Default()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT caption{bar.right + 4, rect.top, rect.right - 16, rect.bottom};
    DrawTextA(dc, item.Caption().c_str(), -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}
