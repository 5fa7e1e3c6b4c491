#include "MainWindow.h"

#include "LinkCore.h"

#include <vector>

namespace hostsim {

namespace {

constexpr wchar_t kClassName[] = L"KV90HostSim";
constexpr wchar_t kCaption[] = L"KV90 主机模拟";

enum ControlId : int {
    kIdPersonLabel = 100,
    kIdPersonEdit,
    kIdSendPerson,
    kIdClose,
    kIdCode3323,
    kIdCode3325,
    kIdStatus,
    kIdList,
};

// The list is a record for a person to read, not a store: the oldest lines go.
constexpr LRESULT kMaxListLines = 5000;
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;

}  // namespace

MainWindow::MainWindow(WindowEvents& events, UINT fingerMessage) : events_(events), fingerMessage_(fingerMessage) {}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

bool MainWindow::create(const std::wstring& personText) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // Top left, so that it leaves the middle of the desktop to the capture window.
    window_ = CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 520, 360, nullptr,
                              nullptr, instance, this);
    if (!window_) return false;
    createControls(personText);
    RECT client{};
    GetClientRect(window_, &client);
    layout(client.right, client.bottom);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    return true;
}

void MainWindow::createControls(const std::wstring& personText) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    font_.Reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE, L"SimSun"));
    auto make = [&](DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (control && font_.Get()) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        return control;
    };
    make(0, L"STATIC", L"人员 (编号$姓名):", SS_LEFT | SS_CENTERIMAGE, kIdPersonLabel);
    personEdit_ = make(WS_EX_CLIENTEDGE, L"EDIT", personText.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, kIdPersonEdit);
    make(0, L"BUTTON", L"发送人员", WS_TABSTOP | BS_DEFPUSHBUTTON, kIdSendPerson);
    make(0, L"BUTTON", L"关闭命令 3324", WS_TABSTOP | BS_PUSHBUTTON, kIdClose);
    make(0, L"BUTTON", L"命令 3323", WS_TABSTOP | BS_PUSHBUTTON, kIdCode3323);
    make(0, L"BUTTON", L"命令 3325", WS_TABSTOP | BS_PUSHBUTTON, kIdCode3325);
    status_ = make(0, L"STATIC", L"", SS_LEFT | SS_ENDELLIPSIS | SS_CENTERIMAGE, kIdStatus);
    list_ =
        make(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, kIdList);
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, 900, 0);
}

void MainWindow::layout(int width, int height) {
    auto place = [&](int id, int x, int y, int w, int h) {
        if (HWND control = GetDlgItem(window_, id)) MoveWindow(control, x, y, w, h, TRUE);
    };
    const int inner = width - 2 * kMargin;
    int y = kMargin;
    place(kIdPersonLabel, kMargin, y, 120, 22);
    place(kIdPersonEdit, kMargin + 124, y, inner - 124 - 104, 22);
    place(kIdSendPerson, width - kMargin - 100, y, 100, 22);
    y += kRowHeight + 4;
    place(kIdClose, kMargin, y, 110, 22);
    place(kIdCode3323, kMargin + 116, y, 90, 22);
    place(kIdCode3325, kMargin + 212, y, 90, 22);
    y += kRowHeight + 4;
    place(kIdStatus, kMargin, y, inner, 20);
    y += kRowHeight;
    place(kIdList, kMargin, y, inner, height - y - kMargin > 20 ? height - y - kMargin : 20);
}

bool MainWindow::preTranslate(MSG& message) { return window_ && IsDialogMessageW(window_, &message); }

void MainWindow::addLine(const std::wstring& line) {
    if (!list_) return;
    if (SendMessageW(list_, LB_GETCOUNT, 0, 0) >= kMaxListLines) SendMessageW(list_, LB_DELETESTRING, 0, 0);
    const LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (index >= 0) SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void MainWindow::setStatus(const std::wstring& text) {
    if (status_) SetWindowTextW(status_, text.c_str());
}

void MainWindow::onCommand(int id) {
    switch (id) {
    case IDOK:
    case kIdSendPerson: {
        const int length = GetWindowTextLengthW(personEdit_);
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
        GetWindowTextW(personEdit_, text.data(), length + 1);
        events_.personRequested(std::wstring(text.data()));
        break;
    }
    case kIdClose:
        events_.commandRequested(kCodeClose);
        break;
    case kIdCode3323:
        events_.commandRequested(3323);
        break;
    case kIdCode3325:
        events_.commandRequested(3325);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainWindow*>(create->lpCreateParams)->window_ = window;
    }
    MainWindow* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->dispatch(message, wParam, lParam);
}

LRESULT MainWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == fingerMessage_ && fingerMessage_ != 0) {
        // A host control answers 0; the capture program does not look at it.
        events_.fingerMessage(wParam, lParam, InSendMessage() != FALSE);
        return 0;
    }
    switch (message) {
    case kCommandsWaiting:
        events_.commandsWaiting();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) onCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        events_.timerElapsed(wParam);
        return 0;
    case WM_SIZE:
        layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY: {
        HWND window = window_;
        window_ = nullptr;
        list_ = nullptr;
        status_ = nullptr;
        personEdit_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        events_.windowDestroyed();
        return 0;
    }
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace hostsim
