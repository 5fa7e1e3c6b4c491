// Handles the messages queued for this thread as the program's own loop would
// (posted commands, paints, timers); for `forMs` milliseconds when given, so
// that timers due within that time fire too.
#pragma once

#include "framework/Forms.h"

#include <windows.h>

inline void Pump(DWORD forMs = 0) {
    const DWORD until = GetTickCount() + forMs;
    do {
        Application->ProcessMessages();
        if (forMs) Sleep(10);
    } while (static_cast<LONG>(GetTickCount() - until) < 0);
}
