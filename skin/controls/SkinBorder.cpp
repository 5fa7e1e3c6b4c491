// The flat border: two one-pixel frames over the control's own sunken edge,
// the skin's border colour outside and the control's colour inside.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

bool TSkinBorderWinControl::HasBorder() const {
    HWND wnd = GetHandle();
    if (!wnd) return false;
    // Only an edge of the control's own is drawn over: without one the frames would cover its client area.
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client.left - window.left >= 2 && client.top - window.top >= 2 && window.right - client.right >= 2 &&
           window.bottom - client.bottom >= 2;
}

void TSkinBorderWinControl::Install() {
    // The frame is drawn afresh, by the skin or, when skinning stops, by the control.
    if (HWND wnd = GetHandle())
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinBorderWinControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        Paint();
        return;
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
        // The client area is the control's own; only the frame is the skin's.
        return;
    }
    TSkinControlVCL::AfterMessage(m);
}

void TSkinBorderWinControl::Paint() {
    if (!HasBorder()) return;
    HWND wnd = GetHandle();
    RECT window{};
    GetWindowRect(wnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    TWindowDC dc(wnd, true);
    DrawFlatBorder(dc.Get(), width, height, look_->ControlLook().controlBorder, ColorToRGB(Control()->Color()));
}
