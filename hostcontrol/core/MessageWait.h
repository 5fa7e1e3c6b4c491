// Waiting on the thread that owns the link's window without blocking it: the
// station's notifications (its sent 3224 among them) keep being delivered.
#pragma once
#include <windows.h>

#include <functional>

namespace kv90host {

// Dispatches what waits in the thread's queue. False when WM_QUIT came: it is
// put back for the loop that owns the thread.
bool dispatchWaiting();

// Dispatches messages until done() holds (true) or timeoutMs pass (false).
bool dispatchUntil(DWORD timeoutMs, const std::function<bool()>& done);

}  // namespace kv90host
