// Handles the messages queued for this thread as the program's own loop would
// (posted commands, paints, timers); for `forMs` milliseconds when given, so
// that timers due within that time fire too; or until a condition holds. The
// unit tests and the benchmarks share them.
#pragma once

#include "framework/Forms.h"

#include <windows.h>

#include <functional>

inline void Pump(DWORD forMs = 0) {
    const DWORD until = GetTickCount() + forMs;
    do {
        if (Application && !Application->Terminated()) {
            Application->ProcessMessages();
        } else {
            // Once told to end, the application takes no more messages; what follows (a
            // thread's close command, the frees it posts) still has to be dispatched.
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        if (forMs) Sleep(10);
    } while (static_cast<LONG>(GetTickCount() - until) < 0);
}

// Handles messages until done() holds or `timeoutMs` milliseconds have passed, waking as soon as
// a message arrives; whether done() holds in the end.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}
