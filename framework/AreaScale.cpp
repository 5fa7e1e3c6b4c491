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
      targetHeight_(std::max(1, targetHeight)) {
    BuildAxis(sourceWidth_, targetWidth_, kColumnScale, columns_, columnWeights_);
    BuildAxis(sourceHeight_, targetHeight_, kRowScale, rows_, rowWeights_);
    scratch_.resize(static_cast<std::size_t>(sourceWidth_) * channels_);
    sums_.resize(static_cast<std::size_t>(sourceWidth_) * channels_);
    levels_.resize(static_cast<std::size_t>(sourceWidth_) * channels_);
}

void AreaScaler::BuildAxis(int source, int target, int scale, std::vector<Span>& spans,
                           std::vector<std::uint32_t>& weights) {
    // In units of 1/target of a source pixel, target pixel t covers
    // [t·source, (t+1)·source) and source pixel i covers [i·target, (i+1)·target).
    const std::int64_t s = source, n = target;
    spans.reserve(static_cast<std::size_t>(target));
    for (std::int64_t t = 0; t < n; ++t) {
        const std::int64_t begin = t * s, end = (t + 1) * s;
        const std::int64_t first = begin / n, last = (end - 1) / n;
        Span span{static_cast<int>(first), static_cast<int>(last - first + 1), static_cast<int>(weights.size())};
        std::uint32_t total = 0, largest = 0;
        std::size_t largestAt = weights.size();
        for (std::int64_t i = first; i <= last; ++i) {
            const std::int64_t overlap = std::min(end, (i + 1) * n) - std::max(begin, i * n);
            const auto w = static_cast<std::uint32_t>((overlap * scale + s / 2) / s);
            if (w > largest || largestAt == weights.size()) {
                largest = w;
                largestAt = weights.size();
            }
            weights.push_back(w);
            total += w;
        }
        // Rounding may leave the total a little off; the largest weight absorbs it.
        weights[largestAt] = weights[largestAt] + static_cast<std::uint32_t>(scale) - total;
        spans.push_back(span);
    }
}

void AreaScaler::NextRow(const RowSource& source, std::uint32_t* out) {
    const Span& rowSpan = rows_[static_cast<std::size_t>(std::min(nextRow_, targetHeight_ - 1))];
    ++nextRow_;

    // Down: the source rows this target row covers, weighted, into 8.8 levels.
    const std::size_t n = sums_.size();
    std::uint32_t* sum = sums_.data();
    std::fill(sums_.begin(), sums_.end(), 0u);
    for (int k = 0; k < rowSpan.count; ++k) {
        const std::uint32_t w = rowWeights_[static_cast<std::size_t>(rowSpan.weights + k)];
        const std::uint8_t* row = source(rowSpan.first + k, scratch_.data());
        for (std::size_t i = 0; i < n; ++i) sum[i] += w * row[i];
    }
    std::uint16_t* level = levels_.data();
    for (std::size_t i = 0; i < n; ++i)
        level[i] = static_cast<std::uint16_t>((sum[i] + (1u << (kRowShift - 1))) >> kRowShift);

    // Across: the columns each target pixel covers, weighted.
    constexpr std::uint32_t half = 1u << (kFinalShift - 1);
    const std::uint32_t* weights = columnWeights_.data();
    if (channels_ == 1) {
        for (const Span& span : columns_) {
            const std::uint16_t* p = level + span.first;
            const std::uint32_t* w = weights + span.weights;
            std::uint32_t v = 0;
            for (int k = 0; k < span.count; ++k) v += w[k] * p[k];
            v = (v + half) >> kFinalShift;
            *out++ = v | (v << 8) | (v << 16);
        }
        return;
    }
    for (const Span& span : columns_) {
        const std::uint16_t* p = level + 3 * span.first;
        const std::uint32_t* w = weights + span.weights;
        std::uint32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < span.count; ++k, p += 3) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
        }
        *out++ = ((b + half) >> kFinalShift) | (((g + half) >> kFinalShift) << 8) | (((r + half) >> kFinalShift) << 16);
    }
}
