// What the skin benchmarks share: the clock, repetition and report (each
// figure the minimum, median and maximum of its runs, in milliseconds), and
// handling the messages that painting has queued.
#pragma once

#include "tests/unit/Pump.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

inline double ClockMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The sorted times of the runs.
template <typename F>
std::vector<double> Repeat(int times, F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const double start = ClockMs();
        f();
        ms.push_back(ClockMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

inline void Report(const char* what, const std::vector<double>& ms) {
    std::printf("%-44s min %7.3f ms   median %7.3f ms   max %7.3f ms   (%zu runs)\n", what, ms.front(),
                ms[ms.size() / 2], ms.back(), ms.size());
}

template <typename F>
void Report(const char* what, int times, F&& f) {
    Report(what, Repeat(times, f));
}
