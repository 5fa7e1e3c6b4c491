// The simulator's window: the notification list and the few controls an
// integrator needs to play the host by hand. It draws and reports; what the
// host does is decided by its owner.
#pragma once
#include "framework/HandleOwners.h"

#include <string>

namespace hostsim {

class WindowEvents {
public:
    virtual void fingerMessage(WPARAM code, LPARAM value, bool sent) = 0;
    virtual void commandsWaiting() = 0;
    virtual void personRequested(const std::wstring& text) = 0;
    virtual void commandRequested(WPARAM code) = 0;
    virtual void timerElapsed(UINT_PTR id) = 0;
    virtual void windowDestroyed() = 0;

protected:
    ~WindowEvents() = default;
};

class MainWindow {
public:
    // Posted by the standard input reader when command lines wait.
    static constexpr UINT kCommandsWaiting = WM_APP + 1;

    MainWindow(WindowEvents& events, UINT fingerMessage);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create(const std::wstring& personText);
    HWND handle() const { return window_; }
    // For keyboard navigation between the controls.
    bool preTranslate(MSG& message);

    void addLine(const std::wstring& line);
    void setStatus(const std::wstring& text);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(const std::wstring& personText);
    void layout(int width, int height);
    void onCommand(int id);

    WindowEvents& events_;
    UINT fingerMessage_;
    HWND window_ = nullptr;
    HWND personEdit_ = nullptr;
    HWND status_ = nullptr;
    HWND list_ = nullptr;
    FontHandle font_;
};

}  // namespace hostsim
