#include "FramePacer.h"

#include <windows.h>

namespace kv90sim {

unsigned FramePacer::Wait(std::uint64_t nowMs, int periodMs) {
    if (periodMs <= 0) {
        started_ = false;
        return 0;
    }
    if (!started_ || nowMs >= dueMs_) {
        started_ = true;
        dueMs_ = nowMs + periodMs;
        return 0;
    }
    const unsigned wait = static_cast<unsigned>(dueMs_ - nowMs);
    dueMs_ += periodMs;
    return wait;
}

std::uint64_t SteadyMilliseconds() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart / frequency * 1000 + now.QuadPart % frequency * 1000 / frequency);
}

}  // namespace kv90sim
