// An 8-bit grey finger image as the records exchange it: rows top to bottom,
// one byte a pixel, no padding, and the resolution it was captured at.
#pragma once

#include <cstdint>
#include <vector>

namespace kv90rec {

// The live-scan standard's resolution, at which the station captures.
constexpr int kCapturePpi = 500;

struct GrayImage {
    int width = 0;
    int height = 0;
    int ppi = kCapturePpi;
    std::vector<uint8_t> pixels;  // width * height bytes, rows top to bottom
};

}  // namespace kv90rec
