// The skinned window's message handling, shared by forms and foreign windows.
#include "skin/frame/SkinWindow.h"

#include "framework/Menus.h"
#include "skin/controls/SkinControl.h"
#include "skin/draw/SkinMessages.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// A press on a title button does not hold the mouse, so its release can reach another
// window; the physical button tells whether the press is still going on.
bool PrimaryButtonHeld() {
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

}  // namespace

TSkinWindow::TSkinWindow(HWND wnd, bool activated, ISkinWindowHost* engine)
    : engine_(engine), wnd_(wnd), activated_(activated) {}

TSkinWindow::~TSkinWindow() { *alive_ = false; }

void TSkinWindow::Init() {
    Attach();
    try {
        SkinControls();
    } catch (...) {
        // A control that cannot be skinned keeps its own drawing.
    }
    SetSkin(engine_->IsSkinning());
}

void TSkinWindow::Done() {
    SetSkin(false);
    UnskinControls();
    Detach();
}

void TSkinWindow::UnskinControls() {
    for (auto& c : controls_) {
        try {
            c->Detach();
        } catch (...) {
        }
    }
    controls_.clear();
}

std::string TSkinWindow::Caption() const {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(wnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(wnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool TSkinWindow::IsSizeable() const { return (GetWindowLongA(wnd_, GWL_STYLE) & WS_THICKFRAME) != 0; }

TFrameShape TSkinWindow::CurrentShape() const {
    TFrameShape s = shape_;
    s.iconic = IsIconic(wnd_) != FALSE;
    s.zoomed = IsZoomed(wnd_) != FALSE;
    s.sizeable = IsSizeable();
    s.hasIcon = HasIcon();
    s.hasClose = HasClose();
    s.hasMaximize = HasMaximize();
    s.hasMinimize = HasMinimize();
    s.hasHelp = HasHelp();
    return s;
}

void TSkinWindow::MeasureFrame() {
    RECT window, client;
    GetWindowRect(wnd_, &window);
    GetClientRect(wnd_, &client);
    POINT origin{0, 0};
    ClientToScreen(wnd_, &origin);
    unskinnedClient_ = SIZE{client.right, client.bottom};
    shape_.unskinnedTop = origin.y - window.top;
    shape_.unskinnedSide = origin.x - window.left;
    shape_.unskinnedBottom = window.bottom - (origin.y + client.bottom);
    if (shape_.unskinnedSide <= 0) shape_.unskinnedSide = 4;
    const DWORD style = GetWindowLongA(wnd_, GWL_STYLE);
    shape_.hasTitle = !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION;
    shape_.hasBorder = (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0;
    savedStyle_ = style;
    measured_ = true;
}

void TSkinWindow::SetSkin(bool on) {
    on = on && enabled_;
    if (on == skinOn_ && measured_) return;
    if (measured_) {
        skinOn_ = on;
        SetSkinState(on);
        if (on) UpdateRegion();
        RestyleControls();
    } else if (on && (IsWindowVisible(wnd_) || SkinAtOnce())) {
        Measure();
        skinOn_ = true;
        SetSkinState(true);
        UpdateRegion();
    } else {
        skinOn_ = on;
    }
}

void TSkinWindow::RestyleControls() {
    // Each skinner puts its colours on, or gives the control's own back, and the controls repaint.
    // A detached skinner leaves its control alone by itself.
    for (auto& c : controls_) {
        try {
            c->Restyle();
        } catch (...) {
        }
    }
    RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TSkinWindow::KeepClientSize(SIZE client) {
    keepingClientSize_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{keepingClientSize_};
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsZoomed(wnd_) || IsIconic(wnd_)) return;
    RECT window, now;
    GetWindowRect(wnd_, &window);
    GetClientRect(wnd_, &now);
    const int width = (window.right - window.left) + client.cx - now.right;
    const int height = (window.bottom - window.top) + client.cy - now.bottom;
    // Grown and shrunk about its centre, so that a centred window stays centred.
    const int left = window.left - (width - (window.right - window.left)) / 2;
    const int top = window.top - (height - (window.bottom - window.top)) / 2;
    MoveBounds(RECT{left, top, left + width, top + height});
}

void TSkinWindow::MoveBounds(const RECT& r) {
    SetWindowPos(wnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT TSkinWindow::MouseInWindow() const {
    POINT p;
    GetCursorPos(&p);
    RECT window;
    GetWindowRect(wnd_, &window);
    return POINT{p.x - window.left, p.y - window.top};
}

bool TSkinWindow::FrameDrawn() const { return engine_->IsSkinning() && enabled_ && skinOn_ && measured_; }

void TSkinWindow::PaintFrame(const POINT* mouse) {
    if (!FrameDrawn() || !IsWindow(wnd_)) return;
    RECT window;
    GetWindowRect(wnd_, &window);
    const SIZE size{window.right - window.left, window.bottom - window.top};
    TFrameState st;
    st.caption = Caption();
    st.icon = HasIcon() ? IconHandle() : nullptr;
    st.font = engine_->CaptionFont();
    st.active = drawnActive_;
    st.captionXOverride = engine_->CaptionXOverride();
    st.mouseDown = mouseDown_;
    // A mouse message's own point counts, not where the cursor has gone since.
    st.mouse = mouse ? POINT{mouse->x - window.left, mouse->y - window.top} : MouseInWindow();
    st.mouseInside = st.mouse.x >= 0 && st.mouse.y >= 0 && st.mouse.x < size.cx && st.mouse.y < size.cy &&
                     (mouse || WindowFromPoint(POINT{st.mouse.x + window.left, st.mouse.y + window.top}) == wnd_);
    TWindowDC dc(wnd_, true);
    if (!dc.Get()) return;
    lastPaint_ = painter_.Paint(dc.Get(), size, engine_->Metrics(), CurrentShape(), st);
    lastPaintActive_ = st.active;
}

void TSkinWindow::UpdateRegion() {
    if (!FrameDrawn() || !IsWindow(wnd_) || !shape_.hasTitle) return;
    RECT window;
    GetWindowRect(wnd_, &window);
    const SIZE size{window.right - window.left, window.bottom - window.top};
    const TSkinMetrics& m = engine_->Metrics();
    const TFrameShape shape = CurrentShape();
    // The shape comes from the frame's pieces; the last paint composed them unless the size changed.
    const SIZE composed = painter_.ComposedSize();
    if (composed.cx != size.cx || composed.cy != size.cy) {
        TFrameState st;
        st.caption = Caption();
        st.font = engine_->CaptionFont();
        painter_.Paint(nullptr, size, m, shape, st);
    }
    GdiObject<HRGN> region(painter_.BuildRegion(size, m, shape));
    // Setting a shape recalculates and repaints the frame, so only a changed one is set.
    GdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(wnd_, current.Get());
    if (!region) {
        if (kind != ERROR) SetWindowRgn(wnd_, nullptr, TRUE);
        return;
    }
    if (kind != ERROR && EqualRgn(current.Get(), region.Get())) return;
    GiveWindowRegion(wnd_, region);
}

void TSkinWindow::LoadRegionSettings() {
    if (!engine_->IsSkinning()) return;
    PaintFrame();
    UpdateRegion();
}

void TSkinWindow::SetHasTitle(bool value) {
    shape_.hasTitle = value;
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintFrame();
}

void TSkinWindow::SetHasBorder(bool value) {
    shape_.hasBorder = value;
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintFrame();
}

void TSkinWindow::ShowSystemMenu(POINT screen) { engine_->ShowSystemMenu(this, screen); }

void TSkinWindow::Command(TFrameHot kind) {
    WPARAM command = 0;
    switch (kind) {
    case fhClose:
        command = SC_CLOSE;
        break;
    case fhMaxRestore:
        // A minimised window without a maximize button comes back as it was.
        if (IsIconic(wnd_))
            command = HasMaximize() ? SC_MAXIMIZE : SC_RESTORE;
        else if (IsZoomed(wnd_))
            command = SC_RESTORE;
        else if (HasMaximize())
            command = SC_MAXIMIZE;
        break;
    case fhMinimize:
        command = IsIconic(wnd_) ? SC_RESTORE : SC_MINIMIZE;
        break;
    case fhHelp:
        command = SC_CONTEXTHELP;
        break;
    default:
        break;
    }
    if (command) PostMessageA(wnd_, WM_SYSCOMMAND, command, 0);
}

void TSkinWindow::CallWithoutSystemCaption(TMessage& m) {
    // The default handling of a new text repaints the system's caption at once
    // when the window has one; without the caption bits it only stores the text.
    const LONG style = GetWindowLongA(wnd_, GWL_STYLE);
    const bool strip = (style & WS_CAPTION) == WS_CAPTION;
    if (strip) SetWindowLongA(wnd_, GWL_STYLE, style & ~WS_CAPTION);
    CallOwn(m);
    if (strip) SetWindowLongA(wnd_, GWL_STYLE, GetWindowLongA(wnd_, GWL_STYLE) | (style & WS_CAPTION));
}

// ------------------------------------------------------------ messages

namespace {

// Where a mouse message happened, in screen coordinates.
POINT MessagePoint(const TMessage& m) { return POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}; }

}  // namespace

int TSkinWindow::HitTestAt(POINT screen) const {
    RECT window;
    GetWindowRect(wnd_, &window);
    const POINT p{screen.x - window.left, screen.y - window.top};
    return FrameHitTest(p, SIZE{window.right - window.left, window.bottom - window.top}, engine_->Metrics(),
                        CurrentShape());
}

bool TSkinWindow::IsNonClientButton(UINT msg) {
    switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
        return true;
    }
    return false;
}

bool TSkinWindow::EndsSkinWork(UINT msg) {
    return msg == WM_DESTROY || msg == WM_NCDESTROY || msg == WM_COMMAND || msg == WM_SYSCOMMAND ||
           msg == WM_ACTIVATEAPP;
}

void TSkinWindow::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && !measured_ && !SkinAtOnce() && engine_->IsSkinning() && enabled_) SetSkin(true);
    if (!FrameDrawn()) {
        CallOwn(m);
        return;
    }
    bool handled = false;
    try {
        handled = BeforeOwn(m) || BeforeMessage(m);
    } catch (...) {
        // The skin could not handle it: the window's own procedure answers.
    }
    if (handled) return;
    const TMessage sent = m;
    const std::shared_ptr<bool> alive = alive_;
    CallOwn(m);
    // The window may have gone (and this object with it), or skinning stopped, while its own procedure ran.
    if (!*alive || EndsSkinWork(sent.Msg) || !FrameDrawn()) return;
    AfterOwn(sent, m);
}

// Before the window's own procedure; true when the skin answered the message itself.
bool TSkinWindow::BeforeOwn(TMessage& m) {
    if (IsNonClientButton(m.Msg)) {
        // The frame's own answer at the point, not a code another program put in the message:
        // the system would size a fixed window for HTTOP or draw its close box for HTCLOSE.
        m.WParam = static_cast<WPARAM>(HitTestAt(MessagePoint(m)));
    }
    switch (m.Msg) {
    case WM_NCPAINT:
        return OnNcPaint(m);
    case WM_NCACTIVATE:
        return BeforeNcActivate(m);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(m);
    case WM_NCHITTEST:
        return OnNcHitTest(m);
    case WM_NCLBUTTONDOWN:
        return BeforeNcLButtonDown(m);
    case WM_NCLBUTTONDBLCLK:
        return OnNcLButtonDblClk(m);
    case WM_NCRBUTTONDOWN:
        return OnNcRButtonDown(m);
    case WM_NCRBUTTONUP:
        return OnNcRButtonUp(m);
    case WM_CONTEXTMENU:
        return OnContextMenu(m);
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return OnOwnerDraw(m);
    case WM_CTLCOLORDLG:
        return OnCtlColorDlg(m);
    case WM_SETTEXT:
        return OnSetText(m);
    case SKM_QUERYACTIVE:
        return OnQueryActive(m);
    case SKM_QUERYSKINNED:
        return OnQuerySkinned(m);
    }
    return false;
}

// After the window's own procedure, which had `sent` and answered in `m`.
void TSkinWindow::AfterOwn(const TMessage& sent, TMessage& m) {
    // Cannot fail, so the press is over even when the drawing below fails.
    if (sent.Msg == WM_NCLBUTTONDOWN) AfterNcLButtonDown(sent);
    try {
        AfterMessage(m);
        switch (m.Msg) {
        case WM_ACTIVATE:
            OnActivate(m);
            break;
        case WM_NCMOUSEMOVE:
            OnNcMouseMove(m);
            break;
        case WM_NCMOUSELEAVE:
            OnNcMouseLeave();
            break;
        case WM_NCLBUTTONUP:
            OnNcLButtonUp(m);
            break;
        case WM_SIZE:
            OnSize(m);
            break;
        case WM_NCACTIVATE:
            AfterNcActivate();
            break;
        }
    } catch (...) {
        // The frame could not be drawn; the window's own answer stands.
    }
}

// ------------------------------------------------------------ one handler per message

bool TSkinWindow::OnNcPaint(TMessage& m) {
    // The whole frame is ours.
    PaintFrame();
    m.Result = 0;
    return true;
}

bool TSkinWindow::BeforeNcActivate(TMessage& m) {
    // Redrawn in the new state; -1 keeps the system from painting its frame.
    drawnActive_ = m.WParam != 0;
    PaintFrame();
    if (SuppressSystemActivation()) {
        m.Result = 1;
        return true;
    }
    m.LParam = -1;
    return false;
}

void TSkinWindow::AfterNcActivate() {
    // A themed system draws its caption on activation whatever the skin asked: the skin's goes on top.
    PaintFrame();
}

bool TSkinWindow::OnNcCalcSize(TMessage& m) {
    // The client area lies inside the skin's frame.
    const TFrameShape shape = CurrentShape();
    const TSkinMetrics& metrics = engine_->Metrics();
    if (m.WParam) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
        const RECT client = FrameClientRect(params->rgrc[0], metrics, shape);
        params->rgrc[0] = client;
        params->rgrc[1] = client;
        m.Result = WVR_VALIDRECTS;
    } else {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        *r = FrameClientRect(*r, metrics, shape);
        m.Result = 0;
    }
    return true;
}

bool TSkinWindow::OnNcHitTest(TMessage& m) {
    // The skin's frame, not the system's metrics.
    m.Result = HitTestAt(MessagePoint(m));
    return true;
}

bool TSkinWindow::BeforeNcLButtonDown(TMessage& m) {
    // A press on a button waits for the release; the plain caption drags.
    const POINT point = MessagePoint(m);
    mouseDown_ = true;
    PaintFrame(&point);
    if (lastPaint_.hot != fhNone) {
        m.WParam = HTNOWHERE;
    } else if (m.WParam == HTCAPTION && IsZoomed(wnd_)) {
        MONITORINFO info{sizeof info, {}, {}, 0};
        GetMonitorInfoA(MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &info);
        RECT window;
        GetWindowRect(wnd_, &window);
        if (window.right - window.left >= info.rcWork.right - info.rcWork.left &&
            window.bottom - window.top >= info.rcWork.bottom - info.rcWork.top)
            m.WParam = HTNOWHERE;
    }
    if (IsWindowEnabled(wnd_) && GetActiveWindow() != wnd_) SetActiveWindow(wnd_);
    return false;
}

void TSkinWindow::AfterNcLButtonDown(const TMessage& sent) {
    // A press on the plain caption has been handled (a drag ended) by the time it returns.
    if (sent.WParam != HTNOWHERE) mouseDown_ = false;
}

void TSkinWindow::OnNcLButtonUp(TMessage& m) {
    const POINT point = MessagePoint(m);
    mouseDown_ = false;
    PaintFrame(&point);
    switch (lastPaint_.hot) {
    case fhIcon: {
        POINT origin{0, 0};
        ClientToScreen(wnd_, &origin);
        origin.x = std::max(0L, origin.x);
        if (IsIconic(wnd_)) origin.y += 24 - engine_->Metrics().titleHeight;
        ShowSystemMenu(origin);
        break;
    }
    case fhNone:
        break;
    default:
        Command(lastPaint_.hot);
        break;
    }
}

bool TSkinWindow::OnNcLButtonDblClk(TMessage& m) {
    // Caption: maximize or restore; icon: close.
    const POINT point = MessagePoint(m);
    PaintFrame(&point);
    if (m.WParam == HTCAPTION && lastPaint_.hot == fhNone) {
        Command(fhMaxRestore);
        mouseDown_ = false;
        PaintFrame();
        return true;
    }
    if (lastPaint_.hot == fhIcon) {
        Command(fhClose);
        mouseDown_ = false;
        return true;
    }
    m.WParam = HTNOWHERE;
    return false;
}

bool TSkinWindow::OnNcRButtonDown(TMessage& m) {
    // The skinned system menu on the caption.
    const POINT point = MessagePoint(m);
    PaintFrame(&point);
    if (m.WParam == HTCAPTION && lastPaint_.hot == fhNone) ShowSystemMenu(point);
    return m.WParam != HTCLIENT;
}

bool TSkinWindow::OnNcRButtonUp(TMessage& m) {
    // The system would open its own menu after this one.
    return m.WParam != HTCLIENT;
}

bool TSkinWindow::OnContextMenu(TMessage& m) {
    // Likewise from a context-menu request over the frame.
    const POINT p = MessagePoint(m);
    RECT client;
    GetClientRect(wnd_, &client);
    MapWindowPoints(wnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return reinterpret_cast<HWND>(m.WParam) == wnd_ && m.LParam != -1 && !PtInRect(&client, p);
}

void TSkinWindow::OnNcMouseMove(TMessage& m) {
    const POINT point = MessagePoint(m);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, wnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    if (mouseDown_ && !PrimaryButtonHeld()) mouseDown_ = false;  // released elsewhere
    if (mouseDown_) {
        // Still over the pressed button: this paint shows it; off it, the press is dropped.
        PaintFrame(&point);
        if (lastPaint_.hot != fhNone) return;
        mouseDown_ = false;
    }
    PaintFrame(&point);
}

void TSkinWindow::OnNcMouseLeave() {
    // No button stays lit once the mouse has left the frame.
    trackingLeave_ = false;
    if (!PrimaryButtonHeld()) mouseDown_ = false;
    PaintFrame();
}

bool TSkinWindow::OnOwnerDraw(TMessage& m) {
    if (TMenuItem::DispatchOwnerDraw(m.Msg, m.LParam)) {
        m.Result = TRUE;
        return true;
    }
    return false;
}

bool TSkinWindow::OnCtlColorDlg(TMessage& m) {
    m.Result = reinterpret_cast<LRESULT>(engine_->FormBrush());
    return true;
}

bool TSkinWindow::OnSetText(TMessage& m) {
    CallWithoutSystemCaption(m);
    PaintFrame();
    UpdateRegion();
    return true;
}

void TSkinWindow::OnActivate(TMessage& m) {
    const bool active = LOWORD(m.WParam) != WA_INACTIVE;
    // The frame of the non-client activation just before shows this state already.
    const bool painted = active == drawnActive_ && lastPaintActive_ == active;
    drawnActive_ = active;
    if (!painted) PaintFrame();
    UpdateRegion();
}

void TSkinWindow::OnSize(TMessage& m) {
    AdjustAfterSize();
    // The operator sized the window: switching the skin off and on keeps that size.
    if (m.WParam == SIZE_RESTORED && IsSizeable() && !keepingClientSize_)
        unskinnedClient_ = SIZE{LOWORD(m.LParam), HIWORD(m.LParam)};
    PaintFrame();
    UpdateRegion();
}

bool TSkinWindow::OnQueryActive(TMessage& m) {
    m.Result = drawnActive_ ? 1 : 2;
    return true;
}

bool TSkinWindow::OnQuerySkinned(TMessage& m) {
    m.Result = 1;
    return true;
}
