#include "MessageWait.h"

namespace kv90host {

bool dispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

bool dispatchUntil(DWORD timeoutMs, const std::function<bool()>& done) {
    const DWORD began = GetTickCount();
    for (;;) {
        if (done()) return true;
        const DWORD spent = GetTickCount() - began;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!dispatchWaiting()) return done();
    }
}

}  // namespace kv90host
