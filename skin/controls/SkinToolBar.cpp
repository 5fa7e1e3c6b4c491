// Tool bars: the skin's background, and hot, pressed and checked buttons in
// the skin's tool bar colours, through the bar's custom-draw notifications.
// The bar's own flat setting and colour come back when skinning stops.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <commctrl.h>

void TSkinToolBar::Init() {
    keptColor_ = Control()->Color();
    keptParentColor_ = Control()->ParentColor();
}

void TSkinToolBar::Install() {
    HWND wnd = GetHandle();
    if (!wnd) return;
    if (look_->IsSkinning()) {
        if (!changed_) {
            const DWORD style = static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE));
            addedStyle_ = TBSTYLE_FLAT & ~style;
            removedStyle_ = TBSTYLE_TRANSPARENT & style;
            SetWindowLongA(wnd, GWL_STYLE, (style | addedStyle_) & ~removedStyle_);
        }
        Control()->SetColor(look_->ControlLook().toolBarStart);
        changed_ = true;
    } else {
        Restore();
    }
    InvalidateRect(wnd, nullptr, TRUE);
}

void TSkinToolBar::Restore() {
    if (!changed_) return;
    changed_ = false;
    if (HWND wnd = GetHandle()) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE));
        SetWindowLongA(wnd, GWL_STYLE, (style & ~addedStyle_) | removedStyle_);
    }
    Control()->SetColor(keptColor_);
    if (keptParentColor_) Control()->SetParentColor(true);
}

bool TSkinToolBar::BeforeMessage(TMessage& m) {
    if (m.Msg == CN_NOTIFY && m.LParam && reinterpret_cast<NMHDR*>(m.LParam)->code == NM_CUSTOMDRAW) {
        m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
        return true;
    }
    return false;
}

LRESULT TSkinToolBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
    const TSkinControlLook& look = look_->ControlLook();
    HDC dc = draw.nmcd.hdc;
    HWND wnd = GetHandle();
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        RECT client{};
        GetClientRect(wnd, &client);
        if (!look.toolBar.Empty())
            DrawStretched(dc, look.toolBar, client, false);
        else
            FillVerticalGradient(dc, client, look.toolBarStart, look.toolBarEnd);
        return CDRF_NOTIFYITEMDRAW;
    }
    case CDDS_ITEMPREPAINT:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const UINT state = draw.nmcd.uItemState;
    const bool pressed = (state & CDIS_SELECTED) != 0;
    // Some bars drop the hot mark while a button is held; held under the mouse it is still hot.
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(wnd, &cursor);
    const bool hot = (state & CDIS_HOT) != 0 || (pressed && PtInRect(&draw.nmcd.rc, cursor));
    const bool checked = (state & CDIS_CHECKED) != 0;
    const TToolFace face = ToolButtonFace(hot, pressed, checked);
    if (face == TToolFace::Bar) return CDRF_DODEFAULT;
    const RECT r = draw.nmcd.rc;
    FillSolid(dc, r, face == TToolFace::Down ? look.toolBarDown : look.toolBarOn);
    FrameSolid(dc, r, look.toolBarBorder);

    TBBUTTONINFOA info{};
    char text[128] = "";
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE | TBIF_TEXT | TBIF_STYLE;
    info.pszText = text;
    info.cchText = sizeof text;
    SendMessageA(wnd, TB_GETBUTTONINFOA, draw.nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&info));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, TB_GETIMAGELIST, 0, 0));
    int imageWidth = 0, imageHeight = 0;
    if (images) ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    const bool list = (GetWindowLongA(wnd, GWL_STYLE) & TBSTYLE_LIST) != 0;
    const bool dropDown = (info.fsStyle & BTNS_DROPDOWN) != 0;
    const POINT at = ToolImagePlace(r, imageWidth, list, dropDown);
    if (images && info.iImage >= 0) ImageList_Draw(images, info.iImage, dc, at.x, at.y, ILD_TRANSPARENT);
    if (dropDown) {
        // A small black arrow in the room kept at the right.
        const int ax = r.right - 10, ay = (r.top + r.bottom) / 2 - 1;
        for (int i = 0; i < 3; ++i) FillSolid(dc, RECT{ax + i, ay + i, ax + 5 - i, ay + i + 1}, RGB(0, 0, 0));
    }
    if (text[0]) {
        SelectObjectScope font(dc, Control()->Font().Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Control()->Font().Color()));
        RECT caption = list ? RECT{at.x + imageWidth + 3, r.top, r.right, r.bottom}
                            : RECT{r.left, at.y + imageHeight + 1, r.right, r.bottom};
        DrawTextA(dc, text, -1, &caption, DT_SINGLELINE | DT_NOPREFIX | (list ? DT_VCENTER : DT_CENTER | DT_TOP));
    }
    return CDRF_SKIPDEFAULT;
}
