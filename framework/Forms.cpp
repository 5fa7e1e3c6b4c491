#include "framework/Forms.h"

#include "framework/Thread.h"

#include <algorithm>
#include <vector>

TApplication* Application = nullptr;
static TScreen g_screen;
TScreen* Screen = &g_screen;

// ------------------------------------------------------------------ TScreen

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    ::SetCursor(CursorHandle());
}

HCURSOR TScreen::CursorHandle() const {
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(cursor_ == crHourGlass ? IDC_WAIT : IDC_ARROW));
}

// -------------------------------------------------------------- TCustomForm

namespace {

void FrameStyle(TFormBorderStyle border, unsigned icons, DWORD& style, DWORD& exStyle) {
    style = WS_POPUP;
    exStyle = WS_EX_WINDOWEDGE;
    switch (border) {
    case TFormBorderStyle::bsNone:
        exStyle = 0;
        break;
    case TFormBorderStyle::bsSingle:
        style = WS_CAPTION | WS_BORDER;
        break;
    case TFormBorderStyle::bsSizeable:
        style = WS_CAPTION | WS_THICKFRAME;
        break;
    case TFormBorderStyle::bsDialog:
        style = WS_POPUP | WS_CAPTION | WS_DLGFRAME;
        exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case TFormBorderStyle::bsToolWindow:
        style = WS_CAPTION | WS_BORDER;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        style = WS_CAPTION | WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (border != TFormBorderStyle::bsNone && (icons & biSystemMenu)) {
        style |= WS_SYSMENU;
        // Dialog and tool frames have no minimise or maximise boxes.
        if (border == TFormBorderStyle::bsSingle || border == TFormBorderStyle::bsSizeable) {
            if (icons & biMinimize) style |= WS_MINIMIZEBOX;
            if (icons & biMaximize) style |= WS_MAXIMIZEBOX;
        }
        if ((icons & biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) exStyle |= WS_EX_CONTEXTHELP;
    }
    style |= WS_CLIPCHILDREN;
}

// The program's form that owns a window, walking up from a control inside it.
TCustomForm* FormOf(HWND wnd) {
    HWND root = wnd ? GetAncestor(wnd, GA_ROOT) : nullptr;
    return dynamic_cast<TCustomForm*>(TWinControl::FindControl(root));
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    DestroyComponents();
    if (Application) Application->FormDestroyed(this);
}

void TCustomForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    DWORD style, exStyle;
    FrameStyle(borderStyle_, borderIcons_, style, exStyle);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TCustomForm::CreateParams(TCreateParams& params) {
    // The window is made where it will first show, so it is never seen elsewhere.
    PlaceOnScreen();
    TWinControl::CreateParams(params);
    FrameStyle(borderStyle_, borderIcons_, params.style, params.exStyle);
    params.parentWnd = Application ? Application->Handle() : nullptr;  // the owner, not a parent
    params.classStyle = CS_DBLCLKS;
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated()) SetForegroundWindow(Handle());
}

void TCustomForm::VisibleChanged() {
    if (Visible()) {
        HandleNeeded();
        // The show handler runs before the window appears, every time it appears.
        if (OnShow) OnShow(this);
        if (!Visible()) return;
        PlaceOnScreen();
        // The program's one task bar button is the application's window, which owns every form.
        if (Application && Application->MainForm() == this) ShowWindow(Application->Handle(), SW_SHOWNA);
        ShowWindow(Handle(), windowState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    } else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TCustomForm::PlaceOnScreen() {
    if (placed_) return;
    placed_ = true;
    if (position_ == TPosition::poScreenCenter) {
        // The whole screen, task bar included, not its work area.
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
                  Width(), Height());
    }
}

int TCustomForm::ShowModal() {
    // Every other window of the thread waits while this one is open.
    struct Disabled {
        std::vector<HWND> windows;
        static BOOL CALLBACK Collect(HWND wnd, LPARAM param) {
            if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
                reinterpret_cast<Disabled*>(param)->windows.push_back(wnd);
                EnableWindow(wnd, FALSE);
            }
            return TRUE;
        }
        void Restore() {
            for (HWND wnd : windows) EnableWindow(wnd, TRUE);
            windows.clear();
        }
        ~Disabled() { Restore(); }
    } disabled;
    HWND previous = GetActiveWindow();
    HandleNeeded();
    EnumThreadWindows(GetCurrentThreadId(), Disabled::Collect, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    Show();
    MSG msg;
    while (modalResult_ == mrNone && HandleAllocated()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit to the outer loop
            modalResult_ = mrCancel;
            break;
        }
        if (got < 0) break;
        if (Application && Application->PreprocessMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    modal_ = false;
    // Re-enable the owner before hiding, so that activation returns to it.
    disabled.Restore();
    Hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return modalResult_;
}

void TCustomForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == TCloseAction::caHide)
        Hide();
    else if (action == TCloseAction::caFree)
        Release();
}

void TCustomForm::FocusActiveControl() {
    TWinControl* kept = FindControl(focusedWnd_);
    if (kept && kept != this && IsChild(Handle(), kept->Handle()) && kept->CanFocus()) {
        kept->SetFocus();
        return;
    }
    // The first control in Tab order, and only that one: while it is disabled the focus stays
    // on the form, so that a key pressed by chance never reaches a control further down the
    // order (on the capture window, before a person is named, that would be the finish button).
    std::vector<TWinControl*> order;
    GetTabOrderList(order);
    const auto first = std::find_if(order.begin(), order.end(), [](TWinControl* c) { return c->TabStop(); });
    if (first != order.end() && (*first)->CanFocus()) (*first)->SetFocus();
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> order;
    GetTabOrderList(order);
    const int count = static_cast<int>(order.size());
    if (count == 0) return;
    int at = static_cast<int>(std::find(order.begin(), order.end(), current) - order.begin());
    if (at == count) at = forward ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        TWinControl* candidate = order[static_cast<size_t>(((at + (forward ? step : -step)) % count + count) % count)];
        if (candidate->TabStop() && candidate->CanFocus()) {
            candidate->SetFocus();
            return;
        }
    }
}

void TCustomForm::Release() {
    if (!HandleAllocated()) return;
    releasing_ = true;
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        // Only the form's own Release frees it; the same message from elsewhere is ignored.
        if (releasing_) delete this;
        return;
    case CM_FOCUSCHANGED:
        // The form's own window takes the focus on the way (the system gives it on activation).
        if (auto control = reinterpret_cast<TWinControl*>(m.WParam);
            control && control != this && control->HandleAllocated())
            focusedWnd_ = control->Handle();
        return;
    case WM_ACTIVATE:
        // The system's own handling gives the focus to the form's window itself.
        TWinControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE && !HIWORD(m.WParam)) FocusActiveControl();
        return;
    case WM_SYSCOMMAND:
        // A window without a maximize button keeps its size, whoever asks.
        if ((m.WParam & 0xFFF0) == SC_MAXIMIZE && HandleAllocated() &&
            !(GetWindowLongA(Handle(), GWL_STYLE) & WS_MAXIMIZEBOX))
            return;
        break;
    }
    TWinControl::WndProc(m);
}

// ------------------------------------------------------------- TApplication

namespace {

const char kApplicationClass[] = "TApplication";
constexpr UINT CM_ACTIVATEPOPUP = WM_APP + 0x3F02;  // after CM_RELEASE and CM_SYNCHRONIZE

LRESULT CALLBACK ApplicationWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CM_SYNCHRONIZE) {
        TThread::HandleSynchronize();
        return 0;
    }
    if (msg == WM_CLOSE && Application && Application->MainForm()) {
        Application->MainForm()->Close();
        return 0;
    }
    // Activated through its task bar button: the window the operator works
    // in (the main form, or the dialog it has open) takes the activation, once
    // the system has finished activating this one.
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        PostMessageA(wnd, CM_ACTIVATEPOPUP, 0, 0);
        return 0;
    }
    if (msg == CM_ACTIVATEPOPUP) {
        HWND popup = GetLastActivePopup(wnd);
        if (popup && popup != wnd && IsWindowVisible(popup) && IsWindowEnabled(popup) && GetActiveWindow() == wnd)
            SetActiveWindow(popup);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, kApplicationClass, &wc)) {
        wc.lpfnWndProc = ApplicationWndProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.lpszClassName = kApplicationClass;
        RegisterClassA(&wc);
    }
    title_ = ExtractFileName(ModuleFileName());
    // No size: it is never seen, only its task bar button, from when the main form is first shown.
    handle_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, instance, nullptr);
}

TApplication::~TApplication() {
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextA(handle_, title_.c_str());
}

void TApplication::FormDestroyed(TCustomForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
}

bool TApplication::HandleMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::Run() {
    if (mainForm_ && !terminated_) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            terminated_ = true;
            break;
        }
        if (!PreprocessMessage(msg)) HandleMessage(msg);
    }
    // A worker's termination handler still has to run (it may release a
    // device), so keep answering messages until every worker is through.
    while (TThread::LiveThreads() > 0) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (PreprocessMessage(msg)) continue;
        if (!HandleMessage(msg)) break;
    }
}

bool TApplication::PreprocessMessage(MSG& msg) {
    TCustomForm* form = FormOf(msg.hwnd);
    if (!form) return false;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->KeyPreview() && form->OnKeyDown) {
        WORD key = static_cast<WORD>(msg.wParam);
        form->OnKeyDown(form, key);
        if (key == 0) return true;
    }
    // Tab moves through the form's controls in their order of Tab, Shift+Tab back.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        form->SelectNext(TWinControl::FindControl(GetFocus()), GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return false;
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    return ::MessageBoxA(owner ? owner : handle_, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(const std::exception& e) {
    MessageBox(ExceptionMessage(e), title_, MB_OK | MB_ICONSTOP);
}

// --------------------------------------------------------------- TScrollBox

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::BoundsChanged() {
    TWinControl::BoundsChanged();
    UpdateScrollBars();
}

void TScrollBox::ControlChanged(TControl*) { UpdateScrollBars(); }

// The range is what the visible children need, measured from the unscrolled origin.
void TScrollBox::UpdateScrollBars() {
    if (!HandleAllocated() || updating_) return;
    updating_ = true;
    int right = 0, bottom = 0;
    for (TControl* c : Controls()) {
        if (!c->Visible()) continue;
        right = std::max(right, c->Left() + scrollX_ + c->Width());
        bottom = std::max(bottom, c->Top() + scrollY_ + c->Height());
    }
    RECT client;
    GetClientRect(Handle(), &client);
    SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE, 0, std::max(0, right - 1), static_cast<UINT>(client.right), 0, 0};
    SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE, 0, std::max(0, bottom - 1), static_cast<UINT>(client.bottom), 0, 0};
    SetScrollInfo(Handle(), SB_HORZ, &h, TRUE);
    SetScrollInfo(Handle(), SB_VERT, &v, TRUE);
    // A shrunk range may leave the children scrolled too far.
    GetClientRect(Handle(), &client);
    ScrollTo(std::min(scrollX_, std::max(0, right - static_cast<int>(client.right))),
             std::min(scrollY_, std::max(0, bottom - static_cast<int>(client.bottom))));
    updating_ = false;
}

void TScrollBox::ScrollTo(int x, int y) {
    x = std::max(0, x);
    y = std::max(0, y);
    const int dx = scrollX_ - x, dy = scrollY_ - y;
    if (dx == 0 && dy == 0) return;
    scrollX_ = x;
    scrollY_ = y;
    const bool wasUpdating = updating_;
    updating_ = true;
    for (TControl* c : Controls()) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    updating_ = wasUpdating;
    SetScrollPos(Handle(), SB_HORZ, scrollX_, TRUE);
    SetScrollPos(Handle(), SB_VERT, scrollY_, TRUE);
    Invalidate();
}

void TScrollBox::WndProc(TMessage& m) {
    if (m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) {
        if (m.LParam != 0) {  // a scroll bar control's notification, not ours
            TWinControl::WndProc(m);
            return;
        }
        const int bar = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), bar, &info);
        int pos = info.nPos;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP:
            pos -= 16;
            break;
        case SB_LINEDOWN:
            pos += 16;
            break;
        case SB_PAGEUP:
            pos -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            pos += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = info.nTrackPos;
            break;
        case SB_TOP:
            pos = info.nMin;
            break;
        case SB_BOTTOM:
            pos = info.nMax;
            break;
        }
        pos = std::max(info.nMin, std::min(pos, info.nMax - static_cast<int>(info.nPage) + 1));
        if (bar == SB_HORZ)
            ScrollTo(pos, scrollY_);
        else
            ScrollTo(scrollX_, pos);
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_SIZE) {
        TWinControl::WndProc(m);
        UpdateScrollBars();
        return;
    }
    TWinControl::WndProc(m);
}
