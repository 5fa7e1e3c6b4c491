#include "framework/Controls.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WindowMap.h"

#include <windowsx.h>

#include <algorithm>

namespace {

WindowMap<TWinControl>& Registry() { return WindowMap<TWinControl>::Instance(); }

// The control whose window CreateWindowEx is making on this thread: its first
// messages (WM_NCCREATE and friends) arrive before the property is set.
thread_local TWinControl* t_creatingControl = nullptr;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) {
        if (!Is<TWinControl>()) InvalidateBounds();
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        if (parentFont_) font_.Assign(parent_->Font());
        if (parentColor_) color_ = parent_->Color();
    }
    ParentChanged();
    if (parent_ && !Is<TWinControl>()) Invalidate();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (parent_ && !Is<TWinControl>()) Invalidate();
    StoreBounds(left, top, width, height);
    BoundsChanged();
    if (parent_ && !Is<TWinControl>()) Invalidate();
    if (parent_) parent_->ControlChanged(this);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_) parent_->AlignControls();
}

void TControl::BringToFront() {
    if (!parent_) return;
    // Only the order of drawing changes; the order of Tab stays.
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    siblings.push_back(this);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    ApplyColor(color);
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (parentColor_ && parent_) ApplyColor(parent_->Color());
}

void TControl::ApplyColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    ColorChanged();
    if (auto self = dynamic_cast<TWinControl*>(this))
        for (TControl* child : self->Controls())
            if (child->parentColor_) child->ApplyColor(color_);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (parentFont_ && parent_) {
        font_.Assign(parent_->Font());
        ApplyFont();
    }
}

void TControl::FontChanged() {
    parentFont_ = false;
    ApplyFont();
}

void TControl::ApplyFont() {
    FontChangedHook();
    if (auto self = dynamic_cast<TWinControl*>(this)) {
        for (TControl* child : self->Controls()) {
            if (!child->parentFont_) continue;
            child->font_.Assign(font_);
            child->ApplyFont();
        }
    }
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    VisibleChanged();
    Perform(CM_SHOWINGCHANGED);
}

void TControl::VisibleChanged() {
    if (parent_) {
        InvalidateBounds();
        parent_->ControlChanged(this);
    }
}

void TControl::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    CaptionChanged();
    Perform(CM_TEXTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::Invalidate() {
    if (visible_) InvalidateBounds();
}

void TControl::InvalidateBounds() {
    if (!parent_ || !parent_->HandleAllocated()) return;
    RECT r = BoundsRect();
    parent_->face_.Changed(r);
    InvalidateRect(parent_->Handle(), &r, TRUE);
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::WndProc(TMessage& m) {
    if (clickEvents_) {
        switch (m.Msg) {
        case WM_LBUTTONDOWN:
            clicked_ = true;
            break;
        case WM_LBUTTONDBLCLK:
            // The second press of a double click raises OnDblClick, not a second OnClick.
            clicked_ = false;
            DblClick();
            break;
        case WM_LBUTTONUP:
            if (clicked_) {
                clicked_ = false;
                const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
                const RECT client = ClientRect();
                if (PtInRect(&client, p)) Click();
            }
            break;
        case WM_CANCELMODE:
            clicked_ = false;
            break;
        }
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

// ---------------------------------------------------------- TGraphicControl

TGraphicControl::~TGraphicControl() { Perform(CM_DESTROYING); }

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        Paint(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    TControl::WndProc(m);
}

// ------------------------ TWinControl: creation and class registration

namespace {

// The toolkit's own messages (CM_*, reflected CN_*) reach a control through its
// WindowProc slot, never through its window; the same numbers arriving through the
// window came from another program, and their parameters may be anything. The form's
// CM_RELEASE is the one posted, and the form checks that it asked for it.
bool IsStrayToolkitMessage(UINT msg) { return msg >= CM_BASE && msg < 0xC000 && msg != CM_RELEASE; }

}  // namespace

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsStrayToolkitMessage(msg)) return 0;
    TWinControl* control = TWinControl::FindControl(wnd);
    if (!control) {
        control = t_creatingControl;
        if (!control) return DefWindowProcA(wnd, msg, wParam, lParam);
        t_creatingControl = nullptr;
        control->AttachHandle(wnd);
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (const std::exception& e) {
        // No exception may cross back into the system's code.
        Application->HandleException(e);
    } catch (...) {
        Application->HandleException(Exception("Unknown failure"));
    }
    if (msg == WM_NCDESTROY) {
        Registry().Remove(wnd, control);
        control->handle_ = nullptr;
    }
    return message.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Whatever sits in the control's WindowProc slot lets go now; a control whose window
    // was never made sees no WM_NCDESTROY.
    if (!HandleAllocated()) Perform(CM_DESTROYING);
    DestroyComponents();
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND wnd) { return wnd ? Registry().Find(wnd) : nullptr; }

void TWinControl::AttachHandle(HWND wnd) {
    handle_ = wnd;
    Registry().Add(wnd, this);
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (Parent()) Parent()->HandleNeeded();
        // Making the parent's window makes its children's too, this one's among them.
        if (handle_) return handle_;
        CreateWnd();
        for (TControl* child : controls_)
            if (auto win = dynamic_cast<TWinControl*>(child)) win->HandleNeeded();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.winClassName = ClassName();
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
    if (Visible()) params.style |= WS_VISIBLE;
    if (tabStop_) params.style |= WS_TABSTOP;
    if (!Enabled()) params.style |= WS_DISABLED;
    if (Parent()) params.parentWnd = Parent()->Handle();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (params.superclassOf) {
        WNDCLASSA system{};
        if (!GetClassInfoA(nullptr, params.superclassOf, &system))
            throw Exception("Cannot find window class " + std::string(params.superclassOf));
        defWndProc_ = system.lpfnWndProc;
        wrapsSystemClass_ = true;
        if (!GetClassInfoA(instance, params.winClassName.c_str(), &existing)) {
            system.hInstance = instance;
            system.lpfnWndProc = StdWndProc;
            system.lpszClassName = params.winClassName.c_str();
            RegisterClassA(&system);
        }
    } else if (!GetClassInfoA(instance, params.winClassName.c_str(), &existing)) {
        WNDCLASSA wc{};
        wc.style = params.classStyle;
        wc.lpfnWndProc = StdWndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = params.winClassName.c_str();
        if (!RegisterClassA(&wc)) throw Exception("Cannot register window class " + params.winClassName);
    }
    t_creatingControl = this;
    HWND wnd = CreateWindowExA(params.exStyle, params.winClassName.c_str(), Caption().c_str(), params.style, params.x,
                               params.y, params.width, params.height, params.parentWnd, nullptr, instance, nullptr);
    t_creatingControl = nullptr;
    if (!wnd) throw Exception("Cannot create window " + Name());
    if (!handle_) AttachHandle(wnd);
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    // Siblings made later go below it, so it stays in front.
    if (onTop_) SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
    face_.Drop();
    if (HWND wnd = handle_) {
        DestroyWindow(wnd);
        Registry().Remove(wnd, this);  // also when the system refused, so no stale owner stays behind
    }
    handle_ = nullptr;
}

void TWinControl::ParentChanged() {
    if (!Parent()) {
        DestroyHandle();
    } else if (handle_) {
        ::SetParent(handle_, Parent()->Handle());
    } else if (Parent()->HandleAllocated()) {
        HandleNeeded();
    }
}

// -------------------------- TWinControl: children, tab order and focus

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (auto win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
    if (handle_)
        if (auto win = dynamic_cast<TWinControl*>(control)) win->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* control) {
    if (mouseControl_ == control) mouseControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
}

void TWinControl::SetTabStop(bool value) {
    tabStop_ = value;
    if (!handle_) return;
    const LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::max(0, std::min(order, static_cast<int>(list.size())));
    list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : tabList_) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

// -------------------------- TWinControl: layout and the window's state

void TWinControl::BoundsChanged() {
    if (handle_) MoveWindow(handle_, Left(), Top(), Width(), Height(), TRUE);
    AlignControls();
}

RECT TWinControl::ClientArea() const {
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return r;
    }
    return ClientRect();
}

void TWinControl::AlignControls() {
    RECT area = ClientArea();
    for (TControl* c : controls_) {
        if (c->Align() != TAlign::alTop || !c->Visible()) continue;
        c->SetBounds(area.left, area.top, area.right - area.left, c->Height());
        area.top += c->Height();
    }
    for (TControl* c : controls_) {
        if (c->Align() != TAlign::alClient || !c->Visible()) continue;
        c->SetBounds(area.left, area.top, std::max(0L, area.right - area.left), std::max(0L, area.bottom - area.top));
    }
}

void TWinControl::ControlChanged(TControl*) {}

void TWinControl::FollowWindow() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        // Stored only: the window is where it is, so nothing is moved again.
        StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        // A top-level window keeps the place the program gave it: only its size follows.
        StoreBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
    }
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    onTop_ = !handle_;
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string TWinControl::Text() const {
    if (!handle_) return Caption();
    std::string text(static_cast<size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TWinControl::ColorChanged() { Invalidate(); }

void TWinControl::FontChangedHook() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    Invalidate();
}

void TWinControl::CaptionChanged() {
    if (handle_) SetWindowTextA(handle_, Caption().c_str());
    if (!wrapsSystemClass_) Invalidate();
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

// ----------------------------------------------- TWinControl: painting

void TWinControl::Invalidate() {
    FacesChanged();
    if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinControl::Repaint() {
    FacesChanged();
    if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinControl::FacesChanged() {
    face_.Changed();
    for (TWinControl* child : tabList_) child->FacesChanged();
}

void TWinControl::DropFaces() {
    face_.Drop();
    for (TWinControl* child : tabList_) child->DropFaces();
}

void TWinControl::PaintWindow(HDC dc) {
    BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    RECT r = ClientArea();
    FillRect(dc, &r, brush.Get());
}

void TWinControl::PaintFace(HDC dc, const RECT& area) {
    RECT client;
    GetClientRect(handle_, &client);
    face_.Paint(dc, SIZE{client.right, client.bottom}, area, [this](HDC face, const RECT& part) {
        PaintWindow(face);
        PaintControls(face, part);
    });
}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        RECT bounds = c->BoundsRect(), overlap;
        if (!IntersectRect(&overlap, &bounds, &area)) continue;
        SavedDC saved(dc);
        SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

// ------------------------------------------ TWinControl: mouse routing

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, point)) return c;
    }
    return nullptr;
}

void TWinControl::RouteMouse(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = mouseControl_ ? mouseControl_ : ControlAtPos(p);
    if (!target) {
        TControl::WndProc(m);
        return;
    }
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
        mouseControl_ = target;
        SetCapture(handle_);
    } else if (m.Msg == WM_LBUTTONUP) {
        mouseControl_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    const RECT b = target->BoundsRect();
    target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - b.left, p.y - b.top));
    m.Result = 0;
}

// Entering is seen on the first move; the system reports the leaving once asked to.
void TWinControl::NoticeMouseEntering() {
    if (mouseInside_ || !handle_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
    mouseInside_ = TrackMouseEvent(&track) != FALSE;
    Perform(CM_MOUSEENTER);
}

void TWinControl::OnMouseLeave() {
    mouseInside_ = false;
    Perform(CM_MOUSELEAVE);
}

// ----------------------------------- TWinControl: the window procedure

// One handler per message; each returns true when it answered the message, which then
// goes no further, and false when TControl::WndProc and the default procedure follow.

void TWinControl::WndProc(TMessage& m) {
    if (m.Msg == WM_MOUSEMOVE) NoticeMouseEntering();
    if (!wrapsSystemClass_ && HandleOwnWindowMessage(m)) return;
    if (HandleMessage(m)) return;
    TControl::WndProc(m);
}

// The messages that a window of the toolkit's own class answers itself; a wrapped
// system control paints and takes the mouse as its class does.
bool TWinControl::HandleOwnWindowMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        return OnEraseBackground(m);
    case WM_MOUSEWHEEL:
        return false;
    }
    if (!IsMouseMessage(m.Msg)) return false;
    RouteMouse(m);
    return true;
}

bool TWinControl::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
        AlignControls();
        return false;
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(m);
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return OnOwnerDraw(m);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ReflectNotification(m);
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED:
        // The system's colours or the screen's format changed: every kept face is out of date.
        DropFaces();
        return false;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocusChange(m);
        return false;
    case WM_SETCURSOR:
        return OnSetCursor(m);
    case WM_CANCELMODE:
        mouseControl_ = nullptr;
        return false;
    }
    return false;
}

bool TWinControl::OnPaint() {
    // The toolkit's own windows never hold a caret.
    PaintScope paint(handle_);
    PaintFace(paint.Dc(), paint.Area());
    return true;
}

bool TWinControl::OnEraseBackground(TMessage& m) {
    // Painting fills the background itself, so erasing would only flicker.
    m.Result = 1;
    return true;
}

bool TWinControl::OnWindowPosChanged(TMessage& m) {
    // The system moved or sized the window (maximized it, say): the bounds follow.
    DefaultHandler(m);
    FollowWindow();
    return true;
}

bool TWinControl::OnOwnerDraw(TMessage& m) {
    // Owner-drawn items of a menu this window opened measure and draw themselves.
    if (!TMenuItem::DispatchOwnerDraw(m.Msg, m.LParam)) return false;
    m.Result = TRUE;
    return true;
}

void TWinControl::OnFocusChange(const TMessage& m) {
    if (TCustomForm* form = dynamic_cast<TCustomForm*>(FindControl(GetAncestor(handle_, GA_ROOT))))
        form->Perform(CM_FOCUSCHANGED, reinterpret_cast<WPARAM>(m.Msg == WM_SETFOCUS ? this : nullptr));
}

bool TWinControl::OnSetCursor(TMessage& m) {
    if (Screen->Cursor() == crDefault || LOWORD(m.LParam) != HTCLIENT) return false;
    ::SetCursor(Screen->CursorHandle());
    m.Result = 1;
    return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
    // A reflected notification that the control does not handle stops here.
    if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) return;
    if (handle_ || m.Msg == WM_NCCREATE || m.Msg == WM_CREATE)
        m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

// -------------------------------- TWinControl: reflected notifications

// Hands a notification back to the child control that sent it.
bool TWinControl::ReflectNotification(TMessage& m) {
    if (m.Msg == WM_NOTIFY && !m.LParam) return false;
    TWinControl* child = FindControl(m.Msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom
                                                        : reinterpret_cast<HWND>(m.LParam));
    if (!child || child == this) return false;
    DeliverNotification(*child, m);
    return true;
}

// The notification is the child's own event (a click, a slider moved), so a
// failure in its handler is reported as the child's: through the application's
// error report, as for any message of the child's own window. The parent's
// window procedure never sees it, so a form that guards its own messages does
// not swallow an operator's command failing.
void TWinControl::DeliverNotification(TWinControl& child, TMessage& m) {
    try {
        m.Result = child.Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    } catch (const std::exception& e) {
        Application->HandleException(e);
    } catch (...) {
        Application->HandleException(Exception("Unknown failure"));
    }
}
