// Both libraries together, driven the way the program's capture loop drives
// them, through a whole roll of the simulated finger.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "LoadedLibraries.h"

namespace kv90sim_test {
namespace {

class Roll : public LoadedLibraries {
protected:
    void SetUp() override {
        Load("Pace=0\nGapFrames=3\nRollFrames=30\nHoldFrames=6\n");
        ASSERT_EQ(livescan_->Init(), 1);
        ASSERT_EQ(stitch_->Init(), 1);
        ASSERT_EQ(livescan_->SetCaptWindow(0, 0, 0, kSide, kSide), 1);
        ASSERT_GE(stitch_->SetRollMode(1), 0);
    }

    void TearDown() override {
        stitch_->Stop();
        stitch_->Close();
        livescan_->Close();
    }

    // Fetches until a finger is seen and starts stitching, as the program does.
    int WaitForFinger() {
        for (int frames = 1; frames < 1000; ++frames) {
            EXPECT_EQ(livescan_->Fetch(frame_.data()), 1);
            if (stitch_->IsFinger(frame_.data(), kSide, kSide) > 0) {
                stitch_->Start(image_.data(), kSide, kSide);
                return frames;
            }
        }
        return -1;
    }

    int Step() {
        livescan_->Fetch(frame_.data());
        return stitch_->DoMosaic(frame_.data(), kSide, kSide);
    }
};

TEST_F(Roll, FingerIsPlacedRolledHeldAndLiftedAgainAndAgain) {
    for (int cycle = 0; cycle < 2; ++cycle) {
        const int waited = WaitForFinger();
        EXPECT_GT(waited, 0);
        if (cycle == 0) {
            EXPECT_EQ(waited, 4);  // after the three frames of pause
        }
        int images = 0;
        int steps = 0;
        int result = 1;
        while ((result = Step()) > 0 && steps < 500) {
            images += result == 1;
            ++steps;
        }
        EXPECT_LE(result, 0);
        EXPECT_GE(images, 20);
        EXPECT_LT(steps, 60);
        stitch_->Stop();
    }
}

TEST_F(Roll, QualityIsLowForAPartialRollAndGoodForAFullOne) {
    ASSERT_GT(WaitForFinger(), 0);
    for (int i = 0; i < 8; ++i) Step();
    const int partialFinger = stitch_->FingerQuality(image_.data(), kSide, kSide);
    const int partialImage = stitch_->ImageQuality(image_.data(), kSide, kSide);
    for (int i = 0; i < 28; ++i) ASSERT_GT(Step(), 0);  // to the end of the hold
    const int fullFinger = stitch_->FingerQuality(image_.data(), kSide, kSide);
    const int fullImage = stitch_->ImageQuality(image_.data(), kSide, kSide);
    EXPECT_LT(partialFinger, 50);
    EXPECT_LT(partialImage, 75);
    EXPECT_GE(fullFinger, 60);
    EXPECT_GE(fullImage, 75);
    EXPECT_LE(fullFinger, 100);
}

TEST_F(Roll, StitchingBeforeStartOrInitIsRefused) {
    EXPECT_LT(stitch_->DoMosaic(frame_.data(), kSide, kSide), 0);
    stitch_->Close();
    EXPECT_LT(stitch_->IsFinger(frame_.data(), kSide, kSide), 0);
    EXPECT_LT(stitch_->SetRollMode(1), 0);
    stitch_->Init();
    EXPECT_LT(stitch_->SetRollMode(7), 0);
}

}  // namespace
}  // namespace kv90sim_test
