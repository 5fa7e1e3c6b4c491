#include "RollStitcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kv90sim {
namespace {

constexpr int kMinColumnRidge = 4;     // sampled ridge rows that make a column part of the patch
constexpr int kRowMargin = 8;          // rows kept above and below a column's outermost ridge
constexpr int kPatchKeepPercent = 85;  // of the patch's half width, around its middle
constexpr int kVisibleChange = 12;     // grey levels; less is sensor noise
constexpr int kNewPixels = 150;        // fewer changed pixels is "nothing new"
constexpr int kFlatChangePercent = 5;
constexpr int kGlassMargin = 20;  // darker than the glass by this much is skin

}  // namespace

void RollStitcher::Start(std::uint8_t* target, int width, int height, RollMode mode) {
    target_ = target;
    width_ = width;
    height_ = height;
    mode_ = mode;
    shownRidgePixels_ = 0;
    std::memset(target_, 255, static_cast<size_t>(width) * height);
}

StitchResult RollStitcher::Step(const std::uint8_t* frame) {
    const GreyLevels levels = MeasureLevels(frame, width_, height_);
    ProfileColumns(frame, width_, height_, levels, profile_);
    if (profile_.ridgePixels < kMinRidgePixels) return StitchResult::Lifted;
    return mode_ == RollMode::Flat ? Flat(frame, profile_.ridgePixels) : Roll(frame, levels);
}

StitchResult RollStitcher::Roll(const std::uint8_t* frame, const GreyLevels& levels) {
    // Bare glass around the skin is left out, so the image stays white there.
    const int skin = levels.glass - kGlassMargin;
    int left = -1;
    int right = -1;
    for (int x = 0; x < width_; ++x) {
        if (profile_.count[x] < kMinColumnRidge) continue;
        if (left < 0) left = x;
        right = x;
    }
    if (left < 0) return StitchResult::NothingNew;
    const int middle = (left + right) / 2;
    const int keep = (right - left) / 2 * kPatchKeepPercent / 100;
    int changed = 0;
    for (int x = std::max(left, middle - keep); x <= std::min(right, middle + keep); ++x) {
        if (profile_.count[x] < kMinColumnRidge) continue;
        const int top = std::max(0, profile_.top[x] - kRowMargin);
        const int bottom = std::min(height_ - 1, profile_.bottom[x] + kRowMargin);
        for (int y = top; y <= bottom; ++y) {
            const size_t at = static_cast<size_t>(y) * width_ + x;
            const std::uint8_t seen = frame[at];
            std::uint8_t& kept = target_[at];
            if (seen >= kept || seen >= skin) continue;
            changed += kept - seen > kVisibleChange;
            kept = seen;
        }
    }
    return changed >= kNewPixels ? StitchResult::NewImage : StitchResult::NothingNew;
}

StitchResult RollStitcher::Flat(const std::uint8_t* frame, int ridgePixels) {
    std::memcpy(target_, frame, static_cast<size_t>(width_) * height_);
    const int difference = std::abs(ridgePixels - shownRidgePixels_);
    if (shownRidgePixels_ > 0 && difference * 100 < shownRidgePixels_ * kFlatChangePercent) {
        return StitchResult::NothingNew;
    }
    shownRidgePixels_ = ridgePixels;
    return StitchResult::NewImage;
}

}  // namespace kv90sim
