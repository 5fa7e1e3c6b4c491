// The push buttons of message boxes and system dialog boxes. Nothing tells a
// foreign button that the mouse went away while a window of the dialog held
// it, so a timer takes the hot face back once the cursor is gone.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/draw/SkinMenuDraw.h"
#include "skin/controls/SkinStdCtrl.h"

#include <windowsx.h>

namespace {

constexpr UINT kHoverInterval = 138;

// Animations and progress bars keep their dialog busy repainting; the timer would only add to it.
bool HoldsAnimation(HWND dialog) {
    return FindWindowExA(dialog, nullptr, "SysAnimate32", nullptr) ||
           FindWindowExA(dialog, nullptr, "msctls_progress32", nullptr);
}

}  // namespace

TSkinWndButton::TSkinWndButton(const ISkinLook* look, TSkinWindow* owner, HWND wnd)
    : TSkinControlWnd(look, owner, wnd, "BUTTON") {}

void TSkinWndButton::Init() {
    if (!HoldsAnimation(GetParent(GetHandle())))
        timer_ = SetTimer(GetHandle(), kSkinHoverTimer, kHoverInterval, nullptr) != 0;
}

void TSkinWndButton::GiveBack() {
    if (timer_) KillTimer(GetHandle(), kSkinHoverTimer);
    timer_ = false;
}

bool TSkinWndButton::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
        return m.WParam == VK_RETURN;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Paint();
        return true;
    case WM_PAINT:
        AnswerPaint(m);
        return true;
    case WM_TIMER:
        if (m.WParam != kSkinHoverTimer) return false;
        Tick();
        return true;
    }
    return false;
}

void TSkinWndButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_TIMER:
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(GetHandle());
        clicks_.MouseDown();
        state_ |= kSkinStatePressed;
        Paint();
        return;
    case WM_LBUTTONUP: {
        const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        RECT client{};
        GetClientRect(GetHandle(), &client);
        state_ &= ~kSkinStatePressed;
        Paint();
        if (clicks_.MouseUp(PtInRect(&client, p) != FALSE)) {
            HWND wnd = GetHandle();
            PostMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(wnd));
        }
        return;
    }
    case WM_MOUSELEAVE:
        clicks_.Forget();
        break;
    case WM_ERASEBKGND:
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
    case BM_SETSTYLE:
        Paint();
        return;
    }
    TSkinControlWnd::AfterMessage(m);
}

void TSkinWndButton::Tick() {
    const bool first = !ticked_;
    ticked_ = true;
    POINT cursor{};
    RECT window{};
    GetCursorPos(&cursor);
    GetWindowRect(GetHandle(), &window);
    if ((state_ & kSkinStateOver) && !PtInRect(&window, cursor)) {
        state_ &= ~(kSkinStateOver | kSkinStatePressed);
        clicks_.Forget();
        Paint();
    } else if (first) {
        Paint();
    }
}

void TSkinWndButton::Paint() { PaintFace(); }

void TSkinWndButton::PaintOn(HDC dc) {
    HWND wnd = GetHandle();
    const TSkinControlLook& look = look_->ControlLook();
    TButtonFace face;
    face.frame = ButtonFrame(state_, IsEnabled());
    face.pressed = (state_ & kSkinStatePressed) != 0;
    face.focused = GetFocus() == wnd;
    face.enabled = IsEnabled();
    face.background = look.formColor;
    face.textColor = look.buttonFont;
    const HFONT menu = MenuFont(false);
    face.font = menu ? menu : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    char text[256] = "";
    GetWindowTextA(wnd, text, sizeof text);
    face.caption = text;
    face.hidePrefix = true;
    face.wordWrap = (GetWindowLongA(wnd, GWL_STYLE) & BS_MULTILINE) != 0;
    RECT client{};
    GetClientRect(wnd, &client);
    ComposeOffscreen(dc, 0, 0, client.right, client.bottom, [&](HDC off) { PaintButtonFace(off, look, client, face); });
}
