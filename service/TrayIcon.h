// The service's icon in the notification area: its tooltip tells the state,
// a balloon tells what went wrong, and its menu has "退出".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TrayIcon {
public:
    // The icon's own hidden window lives on the calling thread.
    TrayIcon(HICON icon, const std::wstring& tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void SetTip(const std::wstring& tip);
    void ShowBalloon(const std::wstring& title, const std::wstring& text, bool error);

    // Chosen "退出" from the menu.
    std::function<void()> OnExit;

    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Add();
    void ShowMenu();

    HWND window_ = nullptr;
    HICON icon_;
    std::wstring tip_;
    UINT taskbarCreated_ = 0;
    bool added_ = false;
};
