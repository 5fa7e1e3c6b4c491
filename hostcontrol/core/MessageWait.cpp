#include "MessageWait.h"

#include <cwchar>

namespace kv90host {

namespace {

// COM's hidden window of an apartment thread: calls from other apartments and
// their answers arrive there. Windows names its class OleMainThreadWndClass,
// Wine adds a suffix to the same name.
bool isComWindow(HWND window) {
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64)) return false;
    static constexpr wchar_t kComClass[] = L"OleMainThreadWndClass";
    return std::wcsncmp(name, kComClass, sizeof kComClass / sizeof(wchar_t) - 1) == 0;
}

HWND comWindowOfThisThread() {
    const DWORD thread = GetCurrentThreadId();
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
        if (GetWindowThreadProcessId(window, nullptr) == thread && isComWindow(window)) return window;
    }
    return nullptr;
}

void dispatchFor(HWND window) {
    MSG message;
    while (window && PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void dispatchWaiting(HWND own, HeldQuit& quit) {
    MSG message;
    // Delivers the messages sent to the thread; nothing posted is taken.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quit.hold(static_cast<int>(message.wParam));
    dispatchFor(own);
    dispatchFor(comWindowOfThisThread());
}

bool dispatchUntil(HWND own, DWORD timeoutMs, const std::function<bool()>& done) {
    HeldQuit quit;
    const DWORD began = GetTickCount();
    for (;;) {
        dispatchWaiting(own, quit);
        if (done()) return true;
        if (quit.held()) return false;
        const DWORD spent = GetTickCount() - began;
        if (spent >= timeoutMs) return false;
        // Wakes for what arrived since the last look: what the host left queued does not spin the wait.
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - spent, kWakeMask, 0);
    }
}

}  // namespace kv90host
