#pragma once
// The scanner's brightness and contrast, 0 to 255 each, applied to every
// pixel through one table.

#include <array>
#include <cstdint>

namespace kv90sim {

inline constexpr int kDefaultBright = 128;
inline constexpr int kDefaultContrast = 128;

using ToneCurve = std::array<std::uint8_t, 256>;

// At 128/128 the grey levels pass unchanged.  Contrast scales around the
// middle between ridge and valley (x0.4 at 0 to x2.5 at 255); brightness
// shifts up to about 75 grey levels either way.
ToneCurve MakeToneCurve(int bright, int contrast);

}  // namespace kv90sim
