#include "records/wsq/Quantizer.h"

#include <cmath>

namespace kv90rec::wsq {
namespace {

constexpr double kLoadingFactor = 2.5;  // the quantizer spans this many standard deviations each side

// The share of the image each coded subband covers.
double SubbandShare(int k) {
    if (k < 4) return 1.0 / 1024.0;
    if (k < 51) return 1.0 / 256.0;
    return 1.0 / 16.0;
}

// The weights of the highest coded subbands' bin widths.
double Weight(int k) {
    switch (k) {
    case 52:
    case 56:
        return 1.32;
    case 53:
    case 58:
        return 1.08;
    case 54:
    case 57:
        return 1.42;
    case 55:
    case 59:
        return 1.08;
    default:
        return 1.0;
    }
}

}  // namespace

SubbandValues SubbandVariances(const float* plane, int stride, const SubbandLayout& layout) {
    SubbandValues variances{};
    for (int k = 0; k < kCodedSubbandCount; ++k) {
        const Region& band = layout.subbands[k];
        int x0 = band.x + band.width / 8;
        int y0 = band.y + 9 * band.height / 32;
        int width = 3 * band.width / 4;
        int height = 7 * band.height / 16;
        // The subbands of a small image can be too small to have a central part.
        if (static_cast<long>(width) * height < 2) {
            x0 = band.x;
            y0 = band.y;
            width = band.width;
            height = band.height;
        }
        const double count = static_cast<double>(width) * height;
        if (count < 2) continue;
        double sum = 0.0;
        double squares = 0.0;
        for (int y = y0; y < y0 + height; ++y) {
            const float* row = plane + static_cast<long>(y) * stride;
            for (int x = x0; x < x0 + width; ++x) {
                sum += row[x];
                squares += static_cast<double>(row[x]) * row[x];
            }
        }
        variances[k] = (squares - sum * sum / count) / (count - 1.0);
    }
    return variances;
}

SubbandValues BinWidths(const SubbandValues& variances, double bitsPerPixel) {
    SubbandValues relative{};
    std::array<bool, kSubbandCount> kept{};
    for (int k = 0; k < kCodedSubbandCount; ++k) {
        if (variances[k] < kMinCodedVariance) continue;
        relative[k] = k < 4 ? 1.0 : 10.0 / (Weight(k) * std::log(variances[k]));
        kept[k] = true;
    }
    SubbandValues widths{};
    for (;;) {
        double share = 0.0;
        double logProduct = 0.0;  // log2 of the product of (sigma / relative width)^share
        for (int k = 0; k < kCodedSubbandCount; ++k) {
            if (!kept[k]) continue;
            share += SubbandShare(k);
            logProduct += SubbandShare(k) * std::log2(std::sqrt(variances[k]) / relative[k]);
        }
        if (share <= 0.0) break;
        const double factor = std::exp2(bitsPerPixel / share - 1.0 - logProduct / share) / kLoadingFactor;
        bool dropped = false;
        for (int k = 0; k < kCodedSubbandCount; ++k) {
            if (!kept[k]) continue;
            widths[k] = relative[k] / factor;
            if (widths[k] >= 2.0 * kLoadingFactor * std::sqrt(variances[k])) {
                kept[k] = false;
                dropped = true;
            }
        }
        if (!dropped) break;
    }
    for (int k = 0; k < kSubbandCount; ++k) {
        if (!kept[k]) widths[k] = 0.0;
    }
    return widths;
}

}  // namespace kv90rec::wsq
