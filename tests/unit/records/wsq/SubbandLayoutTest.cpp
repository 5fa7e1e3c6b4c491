// The 64 subbands of a 640 x 640 finger where the format's figure puts them,
// numbered by frequency, and the layout of any size covering the image once.
#include "records/wsq/SubbandLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using kv90rec::wsq::Region;
using kv90rec::wsq::SubbandLayout;

struct Placed {
    int subband;
    Region region;
};

TEST(WsqSubbandLayout, SubbandsOfA640Finger) {
    SubbandLayout layout;
    ASSERT_TRUE(kv90rec::wsq::MakeSubbandLayout(640, 640, layout));
    const Placed expected[] = {
        {0, {0, 0, 20, 20}},       {1, {20, 0, 20, 20}},      {2, {0, 20, 20, 20}},     {3, {20, 20, 20, 20}},
        {4, {40, 0, 40, 40}},      {5, {0, 40, 40, 40}},      {6, {40, 40, 40, 40}},
        // After a horizontal highpass the higher frequencies lie to the left.
        {7, {120, 0, 40, 40}},     {8, {80, 0, 40, 40}},      {9, {120, 40, 40, 40}},   {10, {80, 40, 40, 40}},
        {11, {0, 120, 40, 40}},    {13, {0, 80, 40, 40}},     {15, {120, 120, 40, 40}}, {18, {80, 80, 40, 40}},
        {19, {240, 0, 40, 40}},    {20, {280, 0, 40, 40}},    {23, {200, 0, 40, 40}},   {24, {160, 0, 40, 40}},
        {27, {240, 120, 40, 40}},  {34, {160, 80, 40, 40}},   {35, {0, 240, 40, 40}},   {39, {120, 240, 40, 40}},
        {43, {0, 200, 40, 40}},    {50, {80, 160, 40, 40}},   {51, {160, 160, 160, 160}},
        {52, {480, 0, 160, 160}},  {53, {320, 0, 160, 160}},  {54, {480, 160, 160, 160}}, {55, {320, 160, 160, 160}},
        {56, {0, 480, 160, 160}},  {57, {160, 480, 160, 160}}, {58, {0, 320, 160, 160}},  {59, {160, 320, 160, 160}},
    };
    for (const Placed& placed : expected) {
        const Region& band = layout.subbands[placed.subband];
        EXPECT_EQ(band.x, placed.region.x) << "subband " << placed.subband;
        EXPECT_EQ(band.y, placed.region.y) << "subband " << placed.subband;
        EXPECT_EQ(band.width, placed.region.width) << "subband " << placed.subband;
        EXPECT_EQ(band.height, placed.region.height) << "subband " << placed.subband;
    }
    // Five levels: the image, its lowpass quarter and two more levels, the last over one subband of 1/256.
    EXPECT_EQ(layout.splits.size(), 20u);
}

TEST(WsqSubbandLayout, BlocksHoldTheLowSubbandsThenTheMiddleThenTheHigh) {
    SubbandLayout layout;
    ASSERT_TRUE(kv90rec::wsq::MakeSubbandLayout(640, 640, layout));
    const long expected[3] = {160L * 160, 3L * 160 * 160, 8L * 160 * 160};
    for (int block = 0; block < 3; ++block) {
        long pixels = 0;
        for (int k = kv90rec::wsq::kBlockFirstSubband[block]; k < kv90rec::wsq::kBlockFirstSubband[block + 1]; ++k) {
            pixels += static_cast<long>(layout.subbands[k].width) * layout.subbands[k].height;
        }
        EXPECT_EQ(pixels, expected[block]) << "block " << block;
    }
}

TEST(WsqSubbandLayout, EverySizeIsCoveredOnceBySubbands) {
    for (const auto& size : {std::pair<int, int>{640, 640}, {641, 479}, {32, 32}, {500, 33}}) {
        SubbandLayout layout;
        ASSERT_TRUE(kv90rec::wsq::MakeSubbandLayout(size.first, size.second, layout));
        std::vector<int> cover(static_cast<size_t>(size.first) * size.second, 0);
        for (const Region& band : layout.subbands) {
            EXPECT_GT(band.width, 0);
            EXPECT_GT(band.height, 0);
            for (int y = band.y; y < band.y + band.height; ++y) {
                for (int x = band.x; x < band.x + band.width; ++x) ++cover[static_cast<size_t>(y) * size.first + x];
            }
        }
        for (int count : cover) ASSERT_EQ(count, 1) << size.first << " x " << size.second;
        for (const Region& split : layout.splits) {
            EXPECT_GE(split.width, 2);
            EXPECT_GE(split.height, 2);
        }
    }
}

TEST(WsqSubbandLayout, RefusesImagesTooSmallForFiveLevels) {
    SubbandLayout layout;
    EXPECT_FALSE(kv90rec::wsq::MakeSubbandLayout(31, 640, layout));
    EXPECT_FALSE(kv90rec::wsq::MakeSubbandLayout(640, 0, layout));
}

}  // namespace
