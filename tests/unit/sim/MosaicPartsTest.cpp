// Finger detection, stitching and quality scores, fed with simulated frames.

#include <gtest/gtest.h>

#include <vector>

#include "capture/FingerMotion.h"
#include "capture/FingerTexture.h"
#include "capture/FrameRenderer.h"
#include "mosaic/ContactAnalysis.h"
#include "mosaic/Quality.h"
#include "mosaic/RollStitcher.h"

namespace kv90sim {
namespace {

constexpr int kSide = 640;

RollTiming ShortRoll() {
    RollTiming timing;
    timing.gapFrames = 2;
    timing.placeFrames = 3;
    timing.rollFrames = 25;
    timing.holdFrames = 5;
    timing.liftFrames = 3;
    return timing;
}

class RolledFinger : public ::testing::Test {
protected:
    RolledFinger()
        : texture_(MakeFingerTexture(FingerOutline{}, 3)),
          renderer_(texture_, 3),
          motion_(FingerScript::Roll, ShortRoll(), FingerOutline{}),
          frame_(kSide * kSide),
          image_(kSide * kSide) {}

    bool NextFrameHasFinger() {
        renderer_.Render(motion_.Next(), frame_.data());
        const GreyLevels levels = MeasureLevels(frame_.data(), kSide, kSide);
        return CountRidgePixels(frame_.data(), kSide, kSide, levels) >= kMinRidgePixels;
    }

    // Runs frames as the program does until the finger is seen, starts the
    // stitching, then records each step's result until `steps` were made or
    // the finger was lifted.
    std::vector<StitchResult> Roll(int steps, RollMode mode = RollMode::Roll) {
        while (!NextFrameHasFinger()) {
        }
        stitcher_.Start(image_.data(), kSide, kSide, mode);
        return Continue(steps);
    }

    std::vector<StitchResult> Continue(int steps) {
        std::vector<StitchResult> results;
        while (static_cast<int>(results.size()) < steps) {
            renderer_.Render(motion_.Next(), frame_.data());
            results.push_back(stitcher_.Step(frame_.data()));
            if (results.back() == StitchResult::Lifted) break;
        }
        return results;
    }

    FingerTexture texture_;
    FrameRenderer renderer_;
    FingerMotion motion_;
    RollStitcher stitcher_;
    std::vector<std::uint8_t> frame_;
    std::vector<std::uint8_t> image_;
};

TEST_F(RolledFinger, EmptyGlassIsNoFinger) {
    EXPECT_FALSE(NextFrameHasFinger());
    EXPECT_FALSE(NextFrameHasFinger());
    EXPECT_TRUE(NextFrameHasFinger());
}

TEST_F(RolledFinger, RollingGivesNewImagesHoldingNothingNewAndLiftingEnds) {
    const std::vector<StitchResult> results = Roll(100);
    ASSERT_GE(results.size(), 30u);
    EXPECT_EQ(results.back(), StitchResult::Lifted);
    int fresh = 0;
    for (size_t i = 0; i + 1 < results.size(); ++i) {
        EXPECT_NE(results[i], StitchResult::Lifted) << "step " << i;
        fresh += results[i] == StitchResult::NewImage;
    }
    EXPECT_GE(fresh, 20);
    EXPECT_EQ(results.front(), StitchResult::NewImage);
    // Holding still adds nothing.
    const size_t holdEnd = results.size() - 1 - ShortRoll().liftFrames + 1;
    EXPECT_EQ(results[holdEnd - 2], StitchResult::NothingNew);
}

TEST_F(RolledFinger, FullRollScoresWellAndAPartialOneLow) {
    Roll(6);
    const QualityReport partial = AssessQuality(image_.data(), kSide, kSide);
    Continue(100);
    const QualityReport full = AssessQuality(image_.data(), kSide, kSide);

    EXPECT_LT(partial.finger, 45);
    EXPECT_LT(partial.image, 70);
    EXPECT_GE(full.finger, 60);
    EXPECT_LE(full.finger, 95);
    EXPECT_GE(full.image, 75);
    EXPECT_GT(full.coverage, 0.9);
    EXPECT_GT(full.coverage, partial.coverage * 2);
}

TEST(Quality, BlankAndFlatImagesScoreNothing) {
    std::vector<std::uint8_t> white(kSide * kSide, 255);
    EXPECT_EQ(AssessQuality(white.data(), kSide, kSide).finger, 0);
    EXPECT_EQ(AssessQuality(white.data(), kSide, kSide).image, 0);
    std::vector<std::uint8_t> grey(kSide * kSide, 120);
    EXPECT_EQ(AssessQuality(grey.data(), kSide, kSide).finger, 0);
}

TEST_F(RolledFinger, FlatModeShowsTheLatestFrame) {
    const std::vector<StitchResult> results = Roll(3, RollMode::Flat);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results.front(), StitchResult::NewImage);
    EXPECT_EQ(image_, frame_);
}

}  // namespace
}  // namespace kv90sim
