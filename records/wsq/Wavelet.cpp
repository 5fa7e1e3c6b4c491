#include "records/wsq/Wavelet.h"

#include <algorithm>

namespace kv90rec::wsq {
namespace {

constexpr int kMargin = 4;  // half the longest filter

const FilterBank kStandard = {
    {0.85269867900940, 0.37740285561265, -0.11062440441842, -0.02384946501938, 0.03782845550699},
    {0.78848561640566, -0.41809227322221, -0.04068941760956, 0.06453888262894},
};

struct AnalysisTaps {
    float low[5];
    float high[4];
};

AnalysisTaps ToFloat(const FilterBank& bank) {
    AnalysisTaps taps;
    for (int i = 0; i < 5; ++i) taps.low[i] = static_cast<float>(bank.low[i]);
    for (int i = 0; i < 4; ++i) taps.high[i] = static_cast<float>(bank.high[i]);
    return taps;
}

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

// Copies n samples into `line` with kMargin extended samples on each side.
void LoadExtended(const float* source, int n, float* line) {
    std::copy(source, source + n, line + kMargin);
    for (int i = 1; i <= kMargin; ++i) {
        line[kMargin - i] = line[kMargin + Mirror(-i, n)];
        line[kMargin + n - 1 + i] = line[kMargin + Mirror(n - 1 + i, n)];
    }
}

// Writes the n outputs contiguously to `target`.
void AnalyzeLine(const float* source, int n, const AnalysisTaps& f, float* line, float* target) {
    LoadExtended(source, n, line);
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

// Reads the lowpass then the highpass half from `source`; writes the n samples to `target`.
void SynthesizeLine(const float* source, int n, const SynthesisBank& s, float* line,
                    float* interleaved, float* target) {
    const int lowCount = (n + 1) / 2;
    const int highCount = n / 2;
    const float* low = source;
    const float* high = source + lowCount;
    for (int i = 0; i < lowCount; ++i) interleaved[2 * i] = low[i];
    for (int i = 0; i < highCount; ++i) interleaved[2 * i + 1] = high[i];
    LoadExtended(interleaved, n, line);
    const float* y = line + kMargin;
    const float* g0 = s.low;
    const float* g1 = s.high;
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

// The vertical passes filter whole rows at a time, so that the inner loops run
// along memory; `rows` points at the rows of the symmetric extension.
void AnalyzeColumns(float* origin, int stride, const Region& region, const AnalysisTaps& f,
                    std::vector<float>& scratch) {
    const int n = region.height;
    const int width = region.width;
    scratch.resize(static_cast<size_t>(width) * n);
    std::vector<const float*> extended(static_cast<size_t>(n + 2 * kMargin));
    for (int i = -kMargin; i < n + kMargin; ++i) extended[i + kMargin] = origin + static_cast<long>(Mirror(i, n)) * stride;
    const float* const* x = extended.data() + kMargin;
    const int lowCount = (n + 1) / 2;
    for (int i = 0; i < n; ++i) {
        float* out = scratch.data() + static_cast<size_t>(i) * width;
        if (i < lowCount) {
            const int c = 2 * i;
            const float *r0 = x[c], *m1 = x[c - 1], *p1 = x[c + 1], *m2 = x[c - 2], *p2 = x[c + 2];
            const float *m3 = x[c - 3], *p3 = x[c + 3], *m4 = x[c - 4], *p4 = x[c + 4];
            for (int j = 0; j < width; ++j) {
                out[j] = f.low[0] * r0[j] + f.low[1] * (m1[j] + p1[j]) + f.low[2] * (m2[j] + p2[j]) +
                         f.low[3] * (m3[j] + p3[j]) + f.low[4] * (m4[j] + p4[j]);
            }
        } else {
            const int c = 2 * (i - lowCount) + 1;
            const float *r0 = x[c], *m1 = x[c - 1], *p1 = x[c + 1], *m2 = x[c - 2], *p2 = x[c + 2];
            const float *m3 = x[c - 3], *p3 = x[c + 3];
            for (int j = 0; j < width; ++j) {
                out[j] = f.high[0] * r0[j] + f.high[1] * (m1[j] + p1[j]) + f.high[2] * (m2[j] + p2[j]) +
                         f.high[3] * (m3[j] + p3[j]);
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        const float* row = scratch.data() + static_cast<size_t>(i) * width;
        std::copy(row, row + width, origin + static_cast<long>(i) * stride);
    }
}

void SynthesizeColumns(float* origin, int stride, const Region& region, const SynthesisBank& s,
                       std::vector<float>& scratch) {
    const int n = region.height;
    const int width = region.width;
    const int lowCount = (n + 1) / 2;
    scratch.resize(static_cast<size_t>(width) * n);
    // Row j of the interleaved signal: lowpass rows at even j, highpass rows at odd j.
    std::vector<const float*> extended(static_cast<size_t>(n + 2 * kMargin));
    for (int i = -kMargin; i < n + kMargin; ++i) {
        const int j = Mirror(i, n);
        const int row = (j & 1) == 0 ? j / 2 : lowCount + j / 2;
        extended[i + kMargin] = origin + static_cast<long>(row) * stride;
    }
    const float* const* y = extended.data() + kMargin;
    const float* g0 = s.low;
    const float* g1 = s.high;
    for (int m = 0; m < n; ++m) {
        float* out = scratch.data() + static_cast<size_t>(m) * width;
        const float *r0 = y[m], *m1 = y[m - 1], *p1 = y[m + 1], *m2 = y[m - 2], *p2 = y[m + 2];
        const float *m3 = y[m - 3], *p3 = y[m + 3];
        if ((m & 1) == 0) {
            for (int j = 0; j < width; ++j) {
                out[j] = g0[0] * r0[j] + g0[2] * (m2[j] + p2[j]) + g1[1] * (m1[j] + p1[j]) + g1[3] * (m3[j] + p3[j]);
            }
        } else {
            const float *m4 = y[m - 4], *p4 = y[m + 4];
            for (int j = 0; j < width; ++j) {
                out[j] = g1[0] * r0[j] + g1[2] * (m2[j] + p2[j]) + g1[4] * (m4[j] + p4[j]) + g0[1] * (m1[j] + p1[j]) +
                         g0[3] * (m3[j] + p3[j]);
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        const float* row = scratch.data() + static_cast<size_t>(i) * width;
        std::copy(row, row + width, origin + static_cast<long>(i) * stride);
    }
}

}  // namespace

const FilterBank& StandardFilters() { return kStandard; }

SynthesisBank SynthesisFilters(const FilterBank& analysis) {
    const AnalysisTaps t = ToFloat(analysis);
    return SynthesisBank{{t.high[0], -t.high[1], t.high[2], -t.high[3]},
                         {t.low[0], -t.low[1], t.low[2], -t.low[3], t.low[4]}};
}

void SplitRegion(float* plane, int stride, const Region& region, const FilterBank& filters,
                 std::vector<float>& scratch) {
    const AnalysisTaps taps = ToFloat(filters);
    float* origin = plane + static_cast<long>(region.y) * stride + region.x;
    std::vector<float> line(static_cast<size_t>(2 * region.width + 2 * kMargin));
    float* output = line.data() + region.width + 2 * kMargin;
    for (int row = 0; row < region.height; ++row) {
        float* start = origin + static_cast<long>(row) * stride;
        AnalyzeLine(start, region.width, taps, line.data(), output);
        std::copy(output, output + region.width, start);
    }
    AnalyzeColumns(origin, stride, region, taps, scratch);
}

void MergeRegion(float* plane, int stride, const Region& region, const FilterBank& filters,
                 std::vector<float>& scratch) {
    const SynthesisBank taps = SynthesisFilters(filters);
    float* origin = plane + static_cast<long>(region.y) * stride + region.x;
    SynthesizeColumns(origin, stride, region, taps, scratch);
    std::vector<float> line(static_cast<size_t>(3 * region.width + 2 * kMargin));
    float* interleaved = line.data() + region.width + 2 * kMargin;
    float* output = interleaved + region.width;
    for (int row = 0; row < region.height; ++row) {
        float* start = origin + static_cast<long>(row) * stride;
        SynthesizeLine(start, region.width, taps, line.data(), interleaved, output);
        std::copy(output, output + region.width, start);
    }
}

}  // namespace kv90rec::wsq
