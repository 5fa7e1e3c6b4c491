// The filter bank's taps as the FBI's WSQ description publishes them, and a
// split and merge that give the region back.
#include "records/wsq/Wavelet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using kv90rec::wsq::FilterBank;
using kv90rec::wsq::Region;

constexpr double kLowpass[5] = {0.85269867900940, 0.37740285561265, -0.11062440441842, -0.02384946501938,
                                0.03782845550699};
constexpr double kHighpass[4] = {0.78848561640566, -0.41809227322221, -0.04068941760956, 0.06453888262894};

TEST(WsqFilterBank, AnalysisTapsAreThePublishedOnes) {
    const FilterBank& bank = kv90rec::wsq::StandardFilters();
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(bank.low[i], kLowpass[i], 1e-7) << "lowpass tap " << i;
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(bank.high[i], kHighpass[i], 1e-7) << "highpass tap " << i;
}

TEST(WsqFilterBank, LowpassPassesLevelsTimesRootTwoAndHighpassStopsThem) {
    const FilterBank& bank = kv90rec::wsq::StandardFilters();
    const double low = bank.low[0] + 2.0 * (bank.low[1] + bank.low[2] + bank.low[3] + bank.low[4]);
    const double high = bank.high[0] + 2.0 * (bank.high[1] + bank.high[2] + bank.high[3]);
    EXPECT_NEAR(low, std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(high, 0.0, 1e-6);
}

TEST(WsqFilterBank, SynthesisTapsAlternateTheAnalysisSigns) {
    const kv90rec::wsq::SynthesisBank bank = kv90rec::wsq::SynthesisFilters(kv90rec::wsq::StandardFilters());
    const double low[4] = {0.78848561640566, 0.41809227322221, -0.04068941760956, -0.06453888262894};
    const double high[5] = {0.85269867900940, -0.37740285561265, -0.11062440441842, 0.02384946501938,
                            0.03782845550699};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(bank.low[i], low[i], 1e-7) << "synthesis lowpass tap " << i;
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(bank.high[i], high[i], 1e-7) << "synthesis highpass tap " << i;
    // The two lowpass filters are biorthogonal: their inner product is one.
    double inner = kLowpass[0] * low[0];
    for (int i = 1; i < 4; ++i) inner += 2.0 * kLowpass[i] * low[i];
    EXPECT_NEAR(inner, 1.0, 1e-9);
}

TEST(WsqFilterBank, FlatRegionGoesWholeIntoTheLowpassQuarter) {
    const int width = 12;
    const int height = 9;
    std::vector<float> plane(width * height, 3.0f);
    std::vector<float> scratch;
    kv90rec::wsq::SplitRegion(plane.data(), width, Region{0, 0, width, height}, kv90rec::wsq::StandardFilters(),
                              scratch);
    const int lowWidth = 6;
    const int lowHeight = 5;  // an odd side gives its lowpass half the extra sample
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float expected = x < lowWidth && y < lowHeight ? 6.0f : 0.0f;
            EXPECT_NEAR(plane[y * width + x], expected, 1e-5) << "at " << x << "," << y;
        }
    }
}

TEST(WsqFilterBank, MergeUndoesSplitForEvenAndOddSides) {
    std::srand(7);
    for (const Region region : {Region{0, 0, 2, 2}, Region{3, 1, 17, 9}, Region{0, 0, 64, 40}, Region{5, 7, 33, 31}}) {
        const int stride = region.x + region.width + 3;
        std::vector<float> plane(static_cast<size_t>(stride) * (region.y + region.height + 2));
        for (float& value : plane) value = static_cast<float>(std::rand() % 2001 - 1000) / 10.0f;
        const std::vector<float> original = plane;
        std::vector<float> scratch;
        kv90rec::wsq::SplitRegion(plane.data(), stride, region, kv90rec::wsq::StandardFilters(), scratch);
        EXPECT_NE(plane, original);
        kv90rec::wsq::MergeRegion(plane.data(), stride, region, kv90rec::wsq::StandardFilters(), scratch);
        double worst = 0.0;
        for (size_t i = 0; i < plane.size(); ++i) worst = std::fmax(worst, std::fabs(plane[i] - original[i]));
        EXPECT_LT(worst, 1e-3) << region.width << " x " << region.height;
    }
}

}  // namespace
