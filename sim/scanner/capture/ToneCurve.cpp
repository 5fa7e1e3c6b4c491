#include "ToneCurve.h"

#include <algorithm>
#include <cmath>

namespace kv90sim {
namespace {

constexpr double kPivot = 150.0;

}  // namespace

ToneCurve MakeToneCurve(int bright, int contrast) {
    const double gain = std::pow(2.0, (contrast - kDefaultContrast) / 96.0);
    const double shift = (bright - kDefaultBright) * 0.6;
    ToneCurve curve{};
    for (int v = 0; v < 256; ++v) {
        const double mapped = (v - kPivot) * gain + kPivot + shift;
        curve[v] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(mapped)), 0, 255));
    }
    return curve;
}

}  // namespace kv90sim
