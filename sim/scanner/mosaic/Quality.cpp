#include "Quality.h"

#include <algorithm>
#include <cmath>

namespace kv90sim {
namespace {

constexpr int kBlock = 16;
// Finger blocks of a complete rolled print on a 640 x 640 image, as the
// simulated roll produces it; other sizes scale with their area.
constexpr double kFullRollBlocks = 900.0;
constexpr double kFullRollArea = 640.0 * 640.0;
constexpr double kPaperWhite = 215.0;
constexpr double kTextured = 18.0;       // grey-level deviation of a block with ridges
constexpr double kGoodDeviation = 55.0;  // deviation of well-printed ridges

struct BlockMeasure {
    double mean = 0.0;
    double deviation = 0.0;
    double coherence = 0.0;
};

BlockMeasure MeasureBlock(const std::uint8_t* image, int width, int x0, int y0) {
    double sum = 0.0;
    double squares = 0.0;
    double gxx = 0.0;
    double gyy = 0.0;
    double gxy = 0.0;
    for (int y = y0; y < y0 + kBlock; ++y) {
        const std::uint8_t* row = image + static_cast<size_t>(y) * width;
        const std::uint8_t* up = row - width;
        const std::uint8_t* down = row + width;
        for (int x = x0; x < x0 + kBlock; ++x) {
            const double v = row[x];
            sum += v;
            squares += v * v;
            const double gx = static_cast<double>(row[x + 1]) - row[x - 1];
            const double gy = static_cast<double>(down[x]) - up[x];
            gxx += gx * gx;
            gyy += gy * gy;
            gxy += gx * gy;
        }
    }
    const double n = kBlock * kBlock;
    BlockMeasure measure;
    measure.mean = sum / n;
    measure.deviation = std::sqrt(std::max(0.0, squares / n - measure.mean * measure.mean));
    const double energy = gxx + gyy;
    measure.coherence = energy > 0.0 ? std::sqrt((gxx - gyy) * (gxx - gyy) + 4.0 * gxy * gxy) / energy : 0.0;
    return measure;
}

int Score(double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 100.0)); }

}  // namespace

QualityReport AssessQuality(const std::uint8_t* image, int width, int height) {
    QualityReport report;
    if (image == nullptr || width < kBlock + 2 || height < kBlock + 2) return report;
    int blocks = 0;
    double clarity = 0.0;
    double contrast = 0.0;
    double grey = 0.0;
    // Blocks start one pixel in so that every gradient has both neighbours.
    for (int y0 = 1; y0 + kBlock < height; y0 += kBlock) {
        for (int x0 = 1; x0 + kBlock < width; x0 += kBlock) {
            const BlockMeasure block = MeasureBlock(image, width, x0, y0);
            if (block.mean >= kPaperWhite || block.deviation < kTextured) continue;
            ++blocks;
            clarity += block.coherence;
            contrast += std::min(1.0, block.deviation / kGoodDeviation);
            grey += block.mean;
        }
    }
    if (blocks == 0) return report;
    const double expected = kFullRollBlocks * (static_cast<double>(width) * height / kFullRollArea);
    report.coverage = std::min(1.0, blocks / expected);
    report.clarity = clarity / blocks;
    report.contrast = contrast / blocks;
    // Ridges and valleys together average near 120 on a well-set scanner.
    report.tone = std::max(0.0, 1.0 - std::fabs(grey / blocks - 120.0) / 100.0);
    report.finger = Score(report.coverage * (0.2 + 0.7 * report.clarity));
    report.image =
        Score((0.4 * report.contrast + 0.35 * report.clarity + 0.25 * report.tone) * std::sqrt(report.coverage));
    return report;
}

}  // namespace kv90sim
