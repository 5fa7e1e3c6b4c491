#include "ContactAnalysis.h"

#include <algorithm>

namespace kv90sim {
namespace {

constexpr int kSampleStep = 3;
constexpr int kRowStep = 2;
constexpr int kMinContrast = 40;

}  // namespace

GreyLevels MeasureLevels(const std::uint8_t* image, int width, int height) {
    int histogram[256] = {};
    int samples = 0;
    for (int y = 0; y < height; y += kSampleStep) {
        const std::uint8_t* row = image + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; x += kSampleStep) {
            ++histogram[row[x]];
            ++samples;
        }
    }
    // The glass is most of the frame even under a flat finger, and the
    // darkest percent is ridge when a finger lies there.
    int glass = 255;
    int darkest = 0;
    int seen = 0;
    bool darkestFound = false;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (!darkestFound && seen * 100 >= samples) {
            darkest = v;
            darkestFound = true;
        }
        if (seen * 100 >= samples * 85) {
            glass = v;
            break;
        }
    }
    GreyLevels levels;
    levels.glass = glass;
    levels.threshold = glass - std::max(kMinContrast, (glass - darkest) * 45 / 100);
    return levels;
}

int CountRidgePixels(const std::uint8_t* image, int width, int height, const GreyLevels& levels) {
    int dark = 0;
    for (int y = 0; y < height; y += kSampleStep) {
        const std::uint8_t* row = image + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; x += kSampleStep) dark += row[x] < levels.threshold;
    }
    return dark * kSampleStep * kSampleStep;
}

void ProfileColumns(const std::uint8_t* image, int width, int height, const GreyLevels& levels,
                    ColumnProfile& profile) {
    profile.count.assign(width, 0);
    profile.top.assign(width, height);
    profile.bottom.assign(width, -1);
    int dark = 0;
    for (int y = 0; y < height; y += kRowStep) {
        const std::uint8_t* row = image + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x] >= levels.threshold) continue;
            ++profile.count[x];
            profile.top[x] = std::min(profile.top[x], y);
            profile.bottom[x] = y;
            ++dark;
        }
    }
    profile.ridgePixels = dark * kRowStep;
}

}  // namespace kv90sim
