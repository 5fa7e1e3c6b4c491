#include "records/wsq/ScaledNumber.h"

#include <cmath>

namespace kv90rec::wsq {

double ToDouble(ScaledNumber number) {
    double result = number.value;
    for (int i = 0; i < number.scale; ++i) result /= 10.0;
    return result;
}

ScaledNumber ToScaled(double magnitude, uint32_t maxValue) {
    ScaledNumber number;
    if (!(magnitude > 0.0)) return number;
    const double limit = static_cast<double>(maxValue);
    if (magnitude >= limit) {
        number.value = maxValue;
        return number;
    }
    double scaled = magnitude;
    uint8_t scale = 0;
    // Each step keeps one more decimal digit while the integer still fits.
    while (scale < 20 && std::fabs(scaled - std::round(scaled)) > 1e-6 &&
           std::round(scaled * 10.0) <= limit) {
        scaled *= 10.0;
        ++scale;
    }
    number.scale = scale;
    number.value = static_cast<uint32_t>(std::round(scaled));
    return number;
}

}  // namespace kv90rec::wsq
