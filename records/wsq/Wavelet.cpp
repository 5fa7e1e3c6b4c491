#include "records/wsq/Wavelet.h"

#include <algorithm>

namespace kv90rec::wsq {
namespace {

constexpr int kMargin = 4;  // half the longest filter

const FilterBank kStandard = {
    {0.85269867900940f, 0.37740285561265f, -0.11062440441842f, -0.02384946501938f, 0.03782845550699f},
    {0.78848561640566f, -0.41809227322221f, -0.04068941760956f, 0.06453888262894f},
};

// Index of the sample that stands at `i` in the symmetric extension of n >= 2 samples.
int Mirror(int i, int n) {
    for (;;) {
        if (i < 0) {
            i = -i;
        } else if (i >= n) {
            i = 2 * (n - 1) - i;
        } else {
            return i;
        }
    }
}

// Copies n samples, `step` apart, into `line` with kMargin extended samples on each side.
void LoadExtended(const float* source, int step, int n, float* line) {
    for (int i = 0; i < n; ++i) line[kMargin + i] = source[static_cast<long>(i) * step];
    for (int i = 1; i <= kMargin; ++i) {
        line[kMargin - i] = line[kMargin + Mirror(-i, n)];
        line[kMargin + n - 1 + i] = line[kMargin + Mirror(n - 1 + i, n)];
    }
}

// Writes the n outputs contiguously to `target`.
void AnalyzeLine(const float* source, int step, int n, const FilterBank& f, float* line,
                 float* target) {
    LoadExtended(source, step, n, line);
    const float* x = line + kMargin;
    const int lowCount = (n + 1) / 2;
    const int highCount = n / 2;
    float* low = target;
    float* high = target + lowCount;
    for (int i = 0; i < lowCount; ++i) {
        const float* c = x + 2 * i;
        low[i] = f.low[0] * c[0] + f.low[1] * (c[-1] + c[1]) + f.low[2] * (c[-2] + c[2]) +
                                           f.low[3] * (c[-3] + c[3]) + f.low[4] * (c[-4] + c[4]);
    }
    for (int i = 0; i < highCount; ++i) {
        const float* c = x + 2 * i + 1;
        high[i] =
            f.high[0] * c[0] + f.high[1] * (c[-1] + c[1]) + f.high[2] * (c[-2] + c[2]) + f.high[3] * (c[-3] + c[3]);
    }
}

// The synthesis filters follow from the analysis pair: the lowpass one is the
// analysis highpass with alternating signs, the highpass one the analysis lowpass.
// Reads the subbands `step` apart from `source`; writes the n samples contiguously to `target`.
void SynthesizeLine(const float* source, int step, int n, const FilterBank& f, float* line,
                    float* interleaved, float* target) {
    const int lowCount = (n + 1) / 2;
    const int highCount = n / 2;
    const float* low = source;
    const float* high = source + static_cast<long>(lowCount) * step;
    for (int i = 0; i < lowCount; ++i) interleaved[2 * i] = low[static_cast<long>(i) * step];
    for (int i = 0; i < highCount; ++i) interleaved[2 * i + 1] = high[static_cast<long>(i) * step];
    LoadExtended(interleaved, 1, n, line);
    const float* y = line + kMargin;
    const float g0[4] = {f.high[0], -f.high[1], f.high[2], -f.high[3]};
    const float g1[5] = {f.low[0], -f.low[1], f.low[2], -f.low[3], f.low[4]};
    for (int m = 0; m < n; ++m) {
        const float* c = y + m;
        float value;
        if ((m & 1) == 0) {
            value = g0[0] * c[0] + g0[2] * (c[-2] + c[2]) + g1[1] * (c[-1] + c[1]) + g1[3] * (c[-3] + c[3]);
        } else {
            value = g1[0] * c[0] + g1[2] * (c[-2] + c[2]) + g1[4] * (c[-4] + c[4]) + g0[1] * (c[-1] + c[1]) +
                    g0[3] * (c[-3] + c[3]);
        }
        target[m] = value;
    }
}

}  // namespace

const FilterBank& StandardFilters() { return kStandard; }

void SplitRegion(float* plane, int stride, const Region& region, const FilterBank& filters, std::vector<float>& scratch) {
    const int longest = std::max(region.width, region.height);
    scratch.resize(static_cast<size_t>(3 * longest + 2 * kMargin));
    float* line = scratch.data();
    float* output = line + longest + 2 * kMargin;
    float* origin = plane + static_cast<long>(region.y) * stride + region.x;
    for (int row = 0; row < region.height; ++row) {
        float* start = origin + static_cast<long>(row) * stride;
        AnalyzeLine(start, 1, region.width, filters, line, output);
        std::copy(output, output + region.width, start);
    }
    for (int column = 0; column < region.width; ++column) {
        float* start = origin + column;
        AnalyzeLine(start, stride, region.height, filters, line, output);
        for (int i = 0; i < region.height; ++i) start[static_cast<long>(i) * stride] = output[i];
    }
}

void MergeRegion(float* plane, int stride, const Region& region, const FilterBank& filters, std::vector<float>& scratch) {
    const int longest = std::max(region.width, region.height);
    scratch.resize(static_cast<size_t>(3 * longest + 2 * kMargin));
    float* line = scratch.data();
    float* interleaved = line + longest + 2 * kMargin;
    float* output = interleaved + longest;
    float* origin = plane + static_cast<long>(region.y) * stride + region.x;
    for (int column = 0; column < region.width; ++column) {
        float* start = origin + column;
        SynthesizeLine(start, stride, region.height, filters, line, interleaved, output);
        for (int i = 0; i < region.height; ++i) start[static_cast<long>(i) * stride] = output[i];
    }
    for (int row = 0; row < region.height; ++row) {
        float* start = origin + static_cast<long>(row) * stride;
        SynthesizeLine(start, 1, region.width, filters, line, interleaved, output);
        std::copy(output, output + region.width, start);
    }
}

}  // namespace kv90rec::wsq
