// The scalar quantizer: bin widths from the subbands' variances for a target
// bit rate, the wider bin around zero, and the quantizing and rebuilding of
// coefficients.
#pragma once

#include "records/wsq/Markers.h"
#include "records/wsq/SubbandLayout.h"

#include <array>
#include <cstdint>

namespace kv90rec::wsq {

constexpr double kBinCentre = 0.44;        // C: a value is rebuilt this far short of its bin's middle
constexpr double kZeroBinRatio = 1.2;      // Z = 1.2 Q
constexpr double kMinCodedVariance = 1.01; // below it a subband is not coded

using SubbandValues = std::array<double, kSubbandCount>;

// Each coded subband's variance over its central part: from 1/8 of its width
// across 3/4 of it, and from 9/32 of its height down 7/16 of it (where the
// ridges of a centred finger are), divided by the count less one; over the
// whole subband when it is too small to have such a part.
SubbandValues SubbandVariances(const float* plane, int stride, const SubbandLayout& layout);

// The bin width of each subband (0 where it is not coded) that aims at
// `bitsPerPixel`: relative widths 1 for the four lowest subbands and
// 10 / (A ln variance) for the others, all divided by one factor chosen from
// the rate; a subband whose bin would be wider than five standard deviations
// is dropped, and the factor chosen again without it.
SubbandValues BinWidths(const SubbandValues& variances, double bitsPerPixel);

// The bin index of `value` for bin width q and zero bin width z.
inline int32_t Quantize(float value, double q, double z) {
    const double half = z / 2.0;
    double index = 0.0;
    if (value > half) {
        index = static_cast<double>(static_cast<int64_t>((value - half) / q)) + 1.0;
    } else if (value < -half) {
        index = -(static_cast<double>(static_cast<int64_t>((-value - half) / q)) + 1.0);
    }
    if (index > 65535.0) index = 65535.0;
    if (index < -65535.0) index = -65535.0;
    return static_cast<int32_t>(index);
}

inline float Dequantize(int32_t index, double q, double z, double c) {
    if (index > 0) return static_cast<float>((index - c) * q + z / 2.0);
    if (index < 0) return static_cast<float>((index + c) * q - z / 2.0);
    return 0.0f;
}

}  // namespace kv90rec::wsq
