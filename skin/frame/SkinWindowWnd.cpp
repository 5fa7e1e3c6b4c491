// A foreign window (a message box, a system dialog box) wearing the skin's
// frame: its window procedure is replaced by the skinned window's.
#include "framework/WindowMap.h"
#include "skin/controls/SkinControl.h"
#include "skin/frame/SkinWindow.h"

TSkinWindowWnd::TSkinWindowWnd(HWND wnd, bool activated, ISkinWindowHost* engine)
    : TSkinWindow(wnd, activated, engine) {}

TSkinWindowWnd* TSkinWindowWnd::Of(HWND wnd) { return WindowMap<TSkinWindowWnd>::Instance().Find(wnd); }

void TSkinWindowWnd::Attach() {
    WindowMap<TSkinWindowWnd>::Instance().Add(wnd_, this);
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinWindowWnd::SubclassProc)));
}

void TSkinWindowWnd::Detach() {
    GiveMenuBack();
    if (!oldProc_) return;
    // Only put the old procedure back when nobody replaced ours meanwhile.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd_, GWLP_WNDPROC)) == &TSkinWindowWnd::SubclassProc)
        SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    WindowMap<TSkinWindowWnd>::Instance().Remove(wnd_, this);
    oldProc_ = nullptr;
}

LRESULT CALLBACK TSkinWindowWnd::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSkinWindowWnd* self = Of(wnd);
    if (!self) return DefWindowProcA(wnd, msg, wParam, lParam);
    const WNDPROC own = self->oldProc_;
    if (msg == WM_DESTROY) {
        // The window lets go of its skin (which frees this object) and then sees its destruction.
        ISkinWindowHost* engine = self->engine_;
        self->destroying_ = true;
        engine->SetSkipOnce(wnd);
        engine->UnskinWindow(wnd);
        return CallWindowProcA(own, wnd, msg, wParam, lParam);
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        self->WndProc(m);
    } catch (...) {
        // Nothing may cross back into the system's code. What the skin does after the
        // window's own procedure catches its own failures, so this one came before it:
        // the window's own procedure answers, once.
        return CallWindowProcA(own, wnd, msg, wParam, lParam);
    }
    return m.Result;
}

void TSkinWindowWnd::CallOwn(TMessage& m) { m.Result = CallWindowProcA(oldProc_, wnd_, m.Msg, m.WParam, m.LParam); }

void TSkinWindowWnd::Measure() {
    MeasureFrame();
    shape_.unskinnedSide = 4;
}

void TSkinWindowWnd::SetSkinState(bool on) {
    if (destroying_ || engine_->Destroying()) return;
    const DWORD style = GetWindowLongA(wnd_, GWL_STYLE);
    if (on) {
        SetWindowLongA(wnd_, GWL_STYLE, style & ~WS_SYSMENU);
        if (HMENU menu = GetMenu(wnd_); menu && SetMenu(wnd_, nullptr)) removedMenu_ = menu;
    } else {
        GiveMenuBack();
        SetWindowLongA(wnd_, GWL_STYLE, (savedStyle_ & ~WS_VISIBLE) | (style & WS_VISIBLE));
        SetWindowRgn(wnd_, nullptr, TRUE);
    }
    KeepClientSize(unskinnedClient_);
}

void TSkinWindowWnd::GiveMenuBack() {
    if (!removedMenu_) return;
    const HMENU menu = removedMenu_;
    removedMenu_ = nullptr;
    if (destroying_ || !IsWindow(wnd_) || !SetMenu(wnd_, menu)) DestroyMenu(menu);
}

void TSkinWindowWnd::SkinControls() {
    if (engine_->IsSkinning()) engine_->SkinChildWindows(wnd_, this);
}

bool TSkinWindowWnd::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SYSCOMMAND:
        // Closing a dialog box is its cancel command.
        if ((m.WParam & 0xFFF0) == SC_CLOSE) {
            PostMessageA(wnd_, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        m.Result = reinterpret_cast<LRESULT>(engine_->FormBrush());
        return true;
    }
    return false;
}

void TSkinWindowWnd::AdjustAfterSize() {
    if (IsZoomed(wnd_)) return;
    RECT client;
    GetClientRect(wnd_, &client);
    // A box squeezed flat by a frame taller than the system's gets its height back, once.
    if (!heightRestored_ && client.bottom < unskinnedClient_.cy && client.right > unskinnedClient_.cx * 3 / 2) {
        heightRestored_ = true;
        KeepClientSize(SIZE{client.right, unskinnedClient_.cy});
    }
}
