#pragma once
// The skin of one finger as it would print when rolled flat, in glass
// coordinates.  Rolling without slipping keeps each point of the skin at one
// place on the glass, so a frame is this texture seen through the contact area.

#include <cstdint>
#include <vector>

#include "FingerGeometry.h"

namespace kv90sim {

class FingerTexture {
public:
    // Marks glass that the finger never touches.
    static constexpr std::uint8_t kNoSkin = 255;

    FingerTexture(int width, int height) : width_(width), height_(height), pixels_(width * height, kNoSkin) {}

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + y * width_; }
    std::uint8_t* row(int y) { return pixels_.data() + y * width_; }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// Draws a plausible finger: ridges about 9.5 pixels apart following a loop or
// whorl pattern around a core, with ridge endings and bifurcations, pores,
// uneven ink and skin noise.  The same seed always gives the same finger.
FingerTexture MakeFingerTexture(const FingerOutline& outline, std::uint32_t seed);

}  // namespace kv90sim
