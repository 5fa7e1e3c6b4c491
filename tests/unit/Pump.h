// Handles the messages queued for this thread as the program's own loop would
// (posted commands, paints, timers); for `forMs` milliseconds when given, so
// that timers due within that time fire too. The unit tests and the benchmarks
// share it.
#pragma once

#include "framework/Forms.h"

#include <windows.h>

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
