#pragma once
// What the control file asks of the simulated scanner, parsed from its text.
// Everything has a default that gives the realistic scanner, so an absent or
// empty control file means "behave like the real device".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "EntryPoints.h"

namespace kv90sim {

// One step of an entry point's result script.
struct Outcome {
    enum class Kind { Real, Value, Raise };
    Kind kind = Kind::Real;
    int value = 0;           // the result returned, for Kind::Value
    std::uint32_t code = 0;  // the structured exception code, for Kind::Raise
};

// The access violation code: what the program would most likely meet from a
// misbehaving driver.
inline constexpr std::uint32_t kDefaultRaiseCode = 0xC0000005u;

enum class FingerScript { Roll, Hold, None };

// Lengths of the phases of one roll, in frames (25 frames are one second at
// the default pace).  Counting frames rather than time keeps a run at pace 0
// the same as one at full pace.
struct RollTiming {
    int gapFrames = 30;   // nothing on the glass
    int placeFrames = 5;  // the finger's side comes down at one nail edge
    int rollFrames = 50;  // rolled across to the other nail edge
    int holdFrames = 75;  // held still, time for the operator to capture
    int liftFrames = 4;   // lifted off
};

struct Settings {
    int paceMs = 40;
    FingerScript finger = FingerScript::Roll;
    RollTiming timing;
    std::uint32_t seed = 7302;
    int journal = 0;  // 0 off, 1 every call but the per-frame ones, 2 every call
    std::vector<int> failFetchAt;
    std::vector<int> exceptionAt;
    std::vector<std::string> missing;
    // A list of outcomes per entry point, consumed one per call; the last one
    // stays in force.  Empty: the real result.
    std::array<std::vector<Outcome>, kEntryCount> results;
    // Lines that could not be understood, for the journal.
    std::vector<std::string> problems;
};

Settings ParseSettings(std::string_view text);

}  // namespace kv90sim
