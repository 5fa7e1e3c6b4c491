#pragma once
// Keeps the fetches at the scanner's frame rate: a fetch that comes early
// waits for the next frame; one that comes late gets a frame at once, and the
// rate starts again from there (a real scanner does not hand out a burst of
// stale frames after a pause).

#include <cstdint>

namespace kv90sim {

class FramePacer {
public:
    // How many milliseconds a fetch made at `nowMs` must wait for its frame.
    unsigned Wait(std::uint64_t nowMs, int periodMs);

private:
    bool started_ = false;
    std::uint64_t dueMs_ = 0;
};

// Milliseconds from a steady clock.
std::uint64_t SteadyMilliseconds();

}  // namespace kv90sim
