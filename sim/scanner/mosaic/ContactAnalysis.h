#pragma once
// Finds the finger in a raw frame.  Ridges in contact are much darker than the
// bare glass; the levels are taken from the frame itself so that detection
// follows the scanner's brightness and contrast.

#include <cstdint>
#include <vector>

namespace kv90sim {

struct GreyLevels {
    int glass = 255;    // the bare glass
    int threshold = 0;  // pixels darker than this are ridges in contact
};

// Fewer ridge pixels than this is an empty scanner (dust, smudges) or a
// finger that has been lifted.
inline constexpr int kMinRidgePixels = 2500;
// A finger newly placed must show this many, so that the last moment of a lift
// does not count as a new finger.
inline constexpr int kPlacedRidgePixels = 2 * kMinRidgePixels;

GreyLevels MeasureLevels(const std::uint8_t* image, int width, int height);

// Ridge pixels in the whole frame, estimated from a sample.
int CountRidgePixels(const std::uint8_t* image, int width, int height, const GreyLevels& levels);

// Per column: how many sampled rows hold ridge, and the first and last such row.
struct ColumnProfile {
    std::vector<int> count;
    std::vector<int> top;
    std::vector<int> bottom;
    int ridgePixels = 0;  // estimate for the whole frame
};

// Fills `profile` (resized to `width`, no allocation once it has that size).
void ProfileColumns(const std::uint8_t* image, int width, int height, const GreyLevels& levels, ColumnProfile& profile);

}  // namespace kv90sim
