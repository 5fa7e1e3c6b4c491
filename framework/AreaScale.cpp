#include "framework/AreaScale.h"

#include <algorithm>
#include <cstdint>

namespace {

// Weights of one span add up to exactly these, so a flat area stays flat.
// Rows are summed first: 255 × 16384 fits easily; the sums are kept as 8.8
// fixed-point levels (>> 6), and 65280 × 4096 still fits the 32-bit column sums.
constexpr int kRowScale = 1 << 14;
constexpr int kColumnScale = 1 << 12;
constexpr int kRowShift = 6;
constexpr int kFinalShift = 20;  // 14 - 6 + 12

}  // namespace

AreaScaler::AreaScaler(int sourceWidth, int sourceHeight, int channels, int targetWidth, int targetHeight)
    : sourceWidth_(std::max(1, sourceWidth)),
      sourceHeight_(std::max(1, sourceHeight)),
      channels_(channels == 1 ? 1 : 3),
      targetWidth_(std::max(1, targetWidth)),
      targetHeight_(std::max(1, targetHeight)),
      columns_(BuildAxis(sourceWidth_, targetWidth_, kColumnScale)),
      rows_(BuildAxis(sourceHeight_, targetHeight_, kRowScale)) {
    const std::size_t values = static_cast<std::size_t>(sourceWidth_) * channels_;
    for (auto& scratch : scratch_) scratch.resize(values);
    sums_.resize(values);
}

std::vector<AreaScaler::Span> AreaScaler::BuildAxis(int source, int target, std::uint32_t scale) {
    // In units of 1/target of a source pixel, target pixel t covers
    // [t·source, (t+1)·source) and source pixel i covers [i·target, (i+1)·target).
    const std::int64_t s = source, n = target;
    const auto weight = [&](std::int64_t overlap) { return static_cast<std::uint32_t>((overlap * scale + s / 2) / s); };
    std::vector<Span> spans;
    spans.reserve(static_cast<std::size_t>(target));
    for (std::int64_t t = 0; t < n; ++t) {
        const std::int64_t begin = t * s, end = (t + 1) * s;
        const std::int64_t first = begin / n, last = (end - 1) / n;
        Span span{static_cast<int>(first), static_cast<int>(last), scale, 0, 0};
        if (last > first) {
            span.firstWeight = weight((first + 1) * n - begin);
            span.lastWeight = weight(end - last * n);
            span.innerWeight = weight(n);
            // Rounding may leave the total a little off; the larger edge absorbs it.
            const std::int64_t total = static_cast<std::int64_t>(span.firstWeight) + span.lastWeight +
                                       static_cast<std::int64_t>(span.innerWeight) * (last - first - 1);
            std::uint32_t& edge = span.firstWeight >= span.lastWeight ? span.firstWeight : span.lastWeight;
            edge =
                static_cast<std::uint32_t>(std::max<std::int64_t>(0, edge + static_cast<std::int64_t>(scale) - total));
        }
        spans.push_back(span);
    }
    return spans;
}

void AreaScaler::NextRow(const RowSource& source, std::uint32_t* out) {
    const Span& span = rows_[static_cast<std::size_t>(std::min(nextRow_, targetHeight_ - 1))];
    ++nextRow_;

    // Down: the rows wholly inside summed, then the two partly covered rows added by their share.
    const std::size_t n = sums_.size();
    std::uint32_t* sum = sums_.data();
    const std::uint8_t* first = source(span.first, scratch_[0].data());
    if (span.last == span.first) {
        for (std::size_t i = 0; i < n; ++i) sum[i] = span.firstWeight * first[i];
    } else {
        std::fill(sums_.begin(), sums_.end(), 0u);
        for (int y = span.first + 1; y < span.last; ++y) {
            const std::uint8_t* row = source(y, scratch_[2].data());
            for (std::size_t i = 0; i < n; ++i) sum[i] += row[i];
        }
        const std::uint8_t* last = source(span.last, scratch_[1].data());
        const std::uint32_t wf = span.firstWeight, wi = span.innerWeight, wl = span.lastWeight;
        for (std::size_t i = 0; i < n; ++i) sum[i] = sum[i] * wi + wf * first[i] + wl * last[i];
    }
    ScaleRowAcross(out);
}

void AreaScaler::ScaleRowAcross(std::uint32_t* out) {
    // The summed rows as 8.8 fixed-point levels, in place.
    const std::size_t n = sums_.size();
    std::uint32_t* level = sums_.data();
    for (std::size_t i = 0; i < n; ++i) level[i] = (level[i] + (1u << (kRowShift - 1))) >> kRowShift;

    constexpr std::uint32_t half = 1u << (kFinalShift - 1);
    if (channels_ == 1) {
        for (const Span& span : columns_) {
            std::uint32_t v = span.firstWeight * level[span.first];
            if (span.last != span.first) {
                std::uint32_t inner = 0;
                for (int x = span.first + 1; x < span.last; ++x) inner += level[x];
                v += span.innerWeight * inner + span.lastWeight * level[span.last];
            }
            v = (v + half) >> kFinalShift;
            *out++ = v | (v << 8) | (v << 16);
        }
        return;
    }
    for (const Span& span : columns_) {
        const std::uint32_t* f = level + 3 * span.first;
        std::uint32_t b = span.firstWeight * f[0], g = span.firstWeight * f[1], r = span.firstWeight * f[2];
        if (span.last != span.first) {
            std::uint32_t ib = 0, ig = 0, ir = 0;
            for (const std::uint32_t* p = f + 3; p < level + 3 * span.last; p += 3) {
                ib += p[0];
                ig += p[1];
                ir += p[2];
            }
            const std::uint32_t* l = level + 3 * span.last;
            b += span.innerWeight * ib + span.lastWeight * l[0];
            g += span.innerWeight * ig + span.lastWeight * l[1];
            r += span.innerWeight * ir + span.lastWeight * l[2];
        }
        *out++ = ((b + half) >> kFinalShift) | (((g + half) >> kFinalShift) << 8) | (((r + half) >> kFinalShift) << 16);
    }
}
