#include "skin/controls/SkinControl.h"

#include "framework/WindowMap.h"
#include "skin/draw/SkinDraw.h"
#include "skin/draw/SkinLook.h"
#include "skin/draw/SkinMessages.h"

namespace {

bool IsPressKey(WPARAM key) { return key == VK_SPACE || key == VK_RETURN; }

}  // namespace

// ------------------------------------------------------------ TSkinControl

TSkinControl::TSkinControl(const ISkinLook* look, TSkinWindow* owner, const std::string& kind)
    : look_(look), owner_(owner), kind_(kind) {}

void TSkinControl::Detach() {
    if (detached_) return;
    detached_ = true;
    try {
        GiveBack();
    } catch (...) {
        // The control keeps the skin's look; it still must not call a freed skinner.
    }
    Unhook();
}

void TSkinControl::ControlGone() {
    if (detached_) return;
    detached_ = true;
    Unhook();
}

void TSkinControl::Dispatch(TMessage& m, int controlTag) {
    if (!look_->IsSkinning() || (look_->OptOutTag() != 0 && controlTag == look_->OptOutTag()) || detached_) {
        CallControl(m);
        return;
    }
    if (DrawsWholeFace() && (m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND)) {
        if (m.Msg == WM_PAINT)
            AnswerPaint(m);
        else
            m.Result = 1;
        return;
    }
    const std::shared_ptr<bool> alive = alive_;
    if (!BeforeMessage(m)) CallControl(m);
    if (*alive && !detached_) AfterMessage(m);
}

void TSkinControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ENABLE:
    case WM_SETTEXT:
    // Pressing Alt shows the keyboard cues: the system's controls draw themselves at once.
    case WM_UPDATEUISTATE:
    case WM_CHANGEUISTATE:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case SKM_REDRAW:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Paint();
        break;
    case WM_KEYDOWN:
        if (IsPressKey(m.WParam)) {
            state_ |= kSkinStatePressed;
            Paint();
            KeyDown(static_cast<WORD>(m.WParam));
        }
        break;
    case WM_KEYUP:
        if (IsPressKey(m.WParam)) {
            state_ &= ~kSkinStatePressed;
            Paint();
            KeyUp(static_cast<WORD>(m.WParam));
        }
        break;
    case WM_LBUTTONDOWN:
        state_ |= kSkinStatePressed;
        Paint();
        MouseDown();
        break;
    case WM_LBUTTONUP:
        state_ &= ~kSkinStatePressed;
        Paint();
        MouseUp();
        break;
    case WM_MOUSEMOVE:
        // A foreign window's entering is seen on its first move; leaving is reported once asked for.
        if (TracksMouseItself() && !(state_ & kSkinStateOver)) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, GetHandle(), 0};
            TrackMouseEvent(&track);
            Enter();
        }
        break;
    case CM_MOUSEENTER:
        Enter();
        break;
    case WM_MOUSELEAVE:
        if (TracksMouseItself()) Leave();
        break;
    case CM_MOUSELEAVE:
        Leave();
        break;
    case SKM_QUERYSKINNED:
        m.Result = 1;
        break;
    }
}

void TSkinControl::Enter() {
    state_ |= kSkinStateOver;
    Paint();
    MouseEnter();
}

void TSkinControl::Leave() {
    state_ &= ~(kSkinStateOver | kSkinStatePressed);
    Paint();
    MouseLeave();
}

// ------------------------------------------------------------ TSkinControlVCL

TSkinControlVCL::TSkinControlVCL(const ISkinLook* look, TSkinWindow* owner, TControl* control, TSkinnerKind kind)
    : TSkinControl(look, owner, SkinnerName(kind)),
      control_(control),
      own_(control->WindowProc),
      wantsParentColor_(SkinnerWantsParentColor(kind)) {
    control_->WindowProc = [this](TMessage& m) {
        if (m.Msg == WM_NCDESTROY || m.Msg == CM_DESTROYING) {
            // The control is going before its form's skin lets go: give its slot back now
            // (only the slot: colours and styles given back would be wasted on it, and
            // the control is freed before its form's skin lets go of the rest).
            const TWndMethod own = own_;
            ControlGone();
            own(m);
            return;
        }
        Dispatch(m, control_->Tag());
    };
}

// Owners detach their skinners before freeing them; this only keeps a skinner freed
// otherwise from being called through the control's slot.
TSkinControlVCL::~TSkinControlVCL() { ControlGone(); }

void TSkinControlVCL::Unhook() {
    if (own_) control_->WindowProc = own_;
    own_ = nullptr;
}

HWND TSkinControlVCL::GetHandle() const {
    auto win = dynamic_cast<TWinControl*>(control_);
    return win && win->HandleAllocated() ? win->Handle() : nullptr;
}

// ------------------------------------------------------------ TSkinControlWnd

TSkinControlWnd::TSkinControlWnd(const ISkinLook* look, TSkinWindow* owner, HWND wnd, const std::string& kind)
    : TSkinControl(look, owner, kind), wnd_(wnd) {
    WindowMap<TSkinControlWnd>::Instance().Add(wnd_, this);
    own_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinControlWnd::SubclassProc)));
}

TSkinControlWnd::~TSkinControlWnd() { ControlGone(); }

void TSkinControlWnd::Unhook() {
    if (!own_) return;
    if (IsWindow(wnd_) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd_, GWLP_WNDPROC)) == &TSkinControlWnd::SubclassProc)
        SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_));
    WindowMap<TSkinControlWnd>::Instance().Remove(wnd_, this);
}

RECT TSkinControlWnd::GetBounds() const {
    RECT r{};
    GetWindowRect(wnd_, &r);
    MapWindowPoints(nullptr, GetParent(wnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TSkinControlWnd::CallControl(TMessage& m) {
    calledControl_ = true;
    m.Result = CallWindowProcA(own_, wnd_, m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK TSkinControlWnd::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSkinControlWnd* self = WindowMap<TSkinControlWnd>::Instance().Find(wnd);
    if (!self || !self->own_) return DefWindowProcA(wnd, msg, wParam, lParam);
    const WNDPROC own = self->own_;
    if (msg == WM_NCDESTROY) {
        // The window goes before its dialog's skin lets go: put the procedure back now.
        self->ControlGone();
        return CallWindowProcA(own, wnd, msg, wParam, lParam);
    }
    TMessage m{msg, wParam, lParam, 0};
    const std::shared_ptr<bool> alive = self->alive_;
    const bool outer = self->calledControl_;  // a message sent while another is dispatched
    self->calledControl_ = false;
    try {
        self->Dispatch(m, 0);
    } catch (...) {
        // Nothing may cross back into the system's code; the window answers the message, once.
        if (*alive && !self->calledControl_) m.Result = CallWindowProcA(own, wnd, msg, wParam, lParam);
    }
    if (*alive) self->calledControl_ = outer;
    return m.Result;
}

void TSkinControl::PaintFace() {
    HWND wnd = GetHandle();
    if (!wnd || !IsWindowVisible(wnd)) return;
    TWindowDC dc(wnd);
    PaintOn(dc.Get());
}

void TSkinControl::AnswerPaint(TMessage& m) {
    PaintScope paint(GetHandle());
    PaintOn(paint.Dc());
    m.Result = 0;
}
