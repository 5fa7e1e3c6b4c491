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

// Dispatches what waits for `own` and the thread's COM window, and lets sent
// messages in. False when WM_QUIT came: it is put back for the loop that owns
// the thread.
bool dispatchWaiting(HWND own);

// What a wait wakes for: the messages dispatchWaiting() takes.
constexpr DWORD kWakeMask = QS_SENDMESSAGE | QS_POSTMESSAGE | QS_TIMER;

// Dispatches messages until done() holds (true) or timeoutMs pass (false).
// Dispatches at least once, also with a timeout of 0.
bool dispatchUntil(HWND own, DWORD timeoutMs, const std::function<bool()>& done);

}  // namespace kv90host
