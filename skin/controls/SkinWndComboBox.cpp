// The combo boxes of dialog boxes: once the control has drawn itself, its
// frame becomes the flat border and its drop-down button the skin's.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

TSkinWndComboBox::TSkinWndComboBox(const ISkinLook* look, TSkinWindow* owner, HWND wnd, const std::string& key)
    : TSkinControlWnd(look, owner, wnd, key) {}

void TSkinWndComboBox::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
        Paint();
        return;
    }
    TSkinControlWnd::AfterMessage(m);
}

void TSkinWndComboBox::Paint() {
    HWND wnd = GetHandle();
    if (!wnd || !IsWindowVisible(wnd)) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    // Only when the system reports the parts is there a button to draw over.
    if (!GetComboBoxInfo(wnd, &info)) return;
    const TSkinControlLook& look = look_->ControlLook();
    RECT window{};
    GetWindowRect(wnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    // The parts are in client coordinates; the drawing is on the whole window.
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    RECT button = info.rcButton;
    OffsetRect(&button, origin.x - window.left, origin.y - window.top);
    TWindowDC dc(wnd, true);
    DrawFlatBorder(dc.Get(), width, height, look.controlBorder, GetSysColor(COLOR_WINDOW));
    if (RectEmpty(button)) return;
    FillSolid(dc.Get(), button, look.controlColor);
    FillSolid(dc.Get(), RECT{button.left, button.top - 1, button.left + 1, button.bottom + 1}, look.controlBorder);
    for (const RECT& row : ComboArrow(button))
        FillSolid(dc.Get(), row, IsEnabled() ? look.controlFont : RGB(0x80, 0x80, 0x80));
}
