#include "framework/Handles.h"

namespace {

// A child window whose client area is all of it: no border, no scroll bars.
bool IsFramelessChild(HWND wnd) {
    if (!(GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)) return false;
    RECT window, client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

}  // namespace

bool GiveWindowRegion(HWND wnd, RegionHandle& region, bool redraw) {
    if (!SetWindowRgn(wnd, region.Get(), redraw)) return false;
    region.Release();
    return true;
}

PaintScope::PaintScope(HWND wnd) : wnd_(wnd) {
    if (!IsFramelessChild(wnd)) {
        begun_ = true;
        dc_ = BeginPaint(wnd, &ps_);
        return;
    }
    GdiObject<HRGN> update(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(wnd, update.Get(), FALSE);
    GetRgnBox(update.Get(), &ps_.rcPaint);
    ValidateRect(wnd, nullptr);
    dc_ = GetDC(wnd);
    ExtSelectClipRgn(dc_, update.Get(), RGN_AND);
}

PaintScope::~PaintScope() {
    if (begun_)
        EndPaint(wnd_, &ps_);
    else
        ReleaseDC(wnd_, dc_);
}
