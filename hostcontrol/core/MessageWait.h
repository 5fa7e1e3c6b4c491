// Waiting on the thread that owns the link's window without blocking it: the
// station's notifications (its sent 3224 among them) keep being delivered.
// Only what the wait needs is dispatched: messages sent to the thread, those
// posted to the link's own window and to COM's window of the thread. Whatever
// else the host posted (its forms' messages, its own thread messages) stays
// queued for the host's loop, which is not re-entered by a wait.
#pragma once
#include <windows.h>

#include <functional>

namespace kv90host {

// A WM_QUIT that a wait took off the queue, put back for the loop that owns
// the thread when the wait ends: while it stays queued, every look at the
// queue finds it again and a wait could only end at once.
class HeldQuit {
public:
    HeldQuit() = default;
    ~HeldQuit() {
        if (held_) PostQuitMessage(code_);
    }
    HeldQuit(const HeldQuit&) = delete;
    HeldQuit& operator=(const HeldQuit&) = delete;
    bool held() const { return held_; }
    void hold(int code) {
        held_ = true;
        code_ = code;
    }

private:
    bool held_ = false;
    int code_ = 0;
};

// Dispatches what waits for `own` and the thread's COM window, and lets sent
// messages in. A WM_QUIT that came goes into `quit`.
void dispatchWaiting(HWND own, HeldQuit& quit);

// What a wait wakes for: the messages dispatchWaiting() takes.
constexpr DWORD kWakeMask = QS_SENDMESSAGE | QS_POSTMESSAGE | QS_TIMER;

// Dispatches messages until done() holds (true) or timeoutMs pass or WM_QUIT
// comes (false). Dispatches at least once, also with a timeout of 0.
bool dispatchUntil(HWND own, DWORD timeoutMs, const std::function<bool()>& done);

}  // namespace kv90host
