#include "framework/Forms.h"

#include "framework/Thread.h"

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

void FrameStyle(TFormBorderStyle border, DWORD& style, DWORD& exStyle) {
    if (border == TFormBorderStyle::bsDialog) {
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
        exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    } else {
        style = WS_OVERLAPPEDWINDOW;
        exStyle = WS_EX_WINDOWEDGE;
    }
    style |= WS_CLIPCHILDREN;
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TCustomForm::~TCustomForm() {
    DestroyComponents();
    if (Application) Application->FormDestroyed(this);
}

void TCustomForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    DWORD style, exStyle;
    FrameStyle(borderStyle_, style, exStyle);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    FrameStyle(borderStyle_, params.style, params.exStyle);
    if (Application && Application->MainForm() == this) params.exStyle |= WS_EX_APPWINDOW;
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
        ShowWindow(Handle(), SW_SHOW);
    } else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TCustomForm::PlaceOnScreen() {
    if (placed_) return;
    placed_ = true;
    if (position_ == TPosition::poScreenCenter) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetBounds(work.left + (work.right - work.left - Width()) / 2, work.top + (work.bottom - work.top - Height()) / 2,
                  Width(), Height());
    }
}

void TCustomForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == TCloseAction::caHide)
        Hide();
    else if (action == TCloseAction::caFree)
        Release();
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        delete this;
        return;
    }
    TWinControl::WndProc(m);
}

// ------------------------------------------------------------- TApplication

namespace {

const char kApplicationClass[] = "TApplication";

LRESULT CALLBACK ApplicationWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CM_SYNCHRONIZE) {
        TThread::HandleSynchronize(lParam);
        return 0;
    }
    if (msg == WM_CLOSE && Application && Application->MainForm()) {
        Application->MainForm()->Close();
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
    handle_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
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
        HandleMessage(msg);
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
    while (!terminated_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!HandleMessage(msg)) break;
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
