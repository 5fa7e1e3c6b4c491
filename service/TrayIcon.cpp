// The notification-area icon and its menu.
#include "service/TrayIcon.h"

#include <shellapi.h>

#include <cwchar>

namespace {

constexpr UINT kTrayMessage = WM_APP + 10;
constexpr UINT kIconId = 1;
constexpr UINT kExitCommand = 100;
constexpr const wchar_t* kWindowClass = L"KV90ServiceTray";

template <size_t N>
void CopyText(wchar_t (&target)[N], const std::wstring& text) {
    wcsncpy(target, text.c_str(), N - 1);
    target[N - 1] = L'\0';
}

NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

}  // namespace

TrayIcon::TrayIcon(HICON icon, const std::wstring& tip) : icon_(icon), tip_(tip) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // A top-level window that is never shown: message-only windows do not get
    // the taskbar's broadcast that it was restarted.
    window_ = CreateWindowExW(0, kWindowClass, L"KV90Service", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                              windowClass.hInstance, this);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    Add();
}

TrayIcon::~TrayIcon() {
    if (added_) {
        NOTIFYICONDATAW data = IconData(window_);
        Shell_NotifyIconW(NIM_DELETE, &data);
    }
    if (window_) DestroyWindow(window_);
}

void TrayIcon::Add() {
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    CopyText(data.szTip, tip_);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::SetTip(const std::wstring& tip) {
    tip_ = tip;
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_TIP;
    CopyText(data.szTip, tip_);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, bool error) {
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = error ? NIIF_ERROR : NIIF_INFO;
    CopyText(data.szInfoTitle, title);
    CopyText(data.szInfo, text);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::ShowMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuW(menu, MF_STRING, kExitCommand, L"退出");
    POINT cursor{};
    GetCursorPos(&cursor);
    // The menu closes when clicked elsewhere only if its owner is in the foreground.
    SetForegroundWindow(window_);
    const UINT chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    DestroyMenu(menu);
    if (chosen == kExitCommand && OnExit) OnExit();
}

LRESULT TrayIcon::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayMessage) {
        if (LOWORD(lParam) == WM_RBUTTONUP || LOWORD(lParam) == WM_CONTEXTMENU) ShowMenu();
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        Add();
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kExitCommand) {
        if (OnExit) OnExit();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK TrayIcon::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* tray = reinterpret_cast<TrayIcon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!tray || !tray->window_) return DefWindowProcW(window, message, wParam, lParam);
    return tray->Handle(message, wParam, lParam);
}
