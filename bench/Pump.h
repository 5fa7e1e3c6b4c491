// Handles the messages queued for this thread, for the benchmarks. They are
// dispatched whether or not the application has been told to end: the capture
// loop ending posts the close command, and what follows still has to be pumped.
#pragma once

#include <windows.h>

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}
