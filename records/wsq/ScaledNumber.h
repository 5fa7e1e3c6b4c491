// The file's form of a real number: an unsigned integer and a decimal scale
// byte, the number being value / 10^scale.
#pragma once

#include <cstdint>

namespace kv90rec::wsq {

struct ScaledNumber {
    uint8_t scale = 0;
    uint32_t value = 0;
};

double ToDouble(ScaledNumber number);

// The most precise form of `magnitude` (not negative) whose value fits in
// `maxValue`; a number that is exact with fewer digits keeps only those, so
// that 0.44 is written as 44 at scale 2.
ScaledNumber ToScaled(double magnitude, uint32_t maxValue);

}  // namespace kv90rec::wsq
