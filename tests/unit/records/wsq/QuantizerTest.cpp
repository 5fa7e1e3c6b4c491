// The quantizer's bins, and bin widths from subband variances that meet the
// bit rate by the format's model of it.
#include "records/wsq/Quantizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using kv90rec::wsq::SubbandValues;

// The share of the image of subband k, for a 640 x 640 finger.
double Share(int k) { return k < 4 ? 1.0 / 1024 : k < 51 ? 1.0 / 256 : 1.0 / 16; }

// The bit rate the format's model gives for the widths: log2(2 * 2.5 * sigma / Q)
// bits for each coefficient of a coded subband.
double ModelRate(const SubbandValues& variances, const SubbandValues& widths) {
    double rate = 0.0;
    for (int k = 0; k < 60; ++k) {
        if (widths[k] > 0) rate += Share(k) * std::log2(5.0 * std::sqrt(variances[k]) / widths[k]);
    }
    return rate;
}

SubbandValues Variances(double value) {
    SubbandValues variances{};
    for (int k = 0; k < 60; ++k) variances[k] = value;
    return variances;
}

TEST(WsqQuantizer, ZeroBinIsWiderAndOtherBinsStepByQ) {
    // Q 2 and Z 2.4: the zero bin is -1.2..1.2, then bins of 2.
    EXPECT_EQ(kv90rec::wsq::Quantize(1.19f, 2.0, 2.4), 0);
    EXPECT_EQ(kv90rec::wsq::Quantize(-1.19f, 2.0, 2.4), 0);
    EXPECT_EQ(kv90rec::wsq::Quantize(1.21f, 2.0, 2.4), 1);
    EXPECT_EQ(kv90rec::wsq::Quantize(3.19f, 2.0, 2.4), 1);
    EXPECT_EQ(kv90rec::wsq::Quantize(3.21f, 2.0, 2.4), 2);
    EXPECT_EQ(kv90rec::wsq::Quantize(-3.21f, 2.0, 2.4), -2);
    EXPECT_EQ(kv90rec::wsq::Quantize(1e9f, 2.0, 2.4), 65535);
}

TEST(WsqQuantizer, RebuildsShortOfTheBinMiddleByC) {
    EXPECT_NEAR(kv90rec::wsq::Dequantize(1, 2.0, 2.4, 0.44), (1 - 0.44) * 2.0 + 1.2, 1e-6);
    EXPECT_NEAR(kv90rec::wsq::Dequantize(-3, 2.0, 2.4, 0.44), (-3 + 0.44) * 2.0 - 1.2, 1e-6);
    EXPECT_EQ(kv90rec::wsq::Dequantize(0, 2.0, 2.4, 0.44), 0.0f);
}

TEST(WsqQuantizer, BinWidthsFollowTheLogOfTheVariances) {
    SubbandValues variances = Variances(100.0);
    variances[20] = 400.0;
    const SubbandValues widths = kv90rec::wsq::BinWidths(variances, 0.75);
    ASSERT_GT(widths[0], 0.0);
    for (int k = 1; k < 4; ++k) EXPECT_DOUBLE_EQ(widths[k], widths[0]);
    // Q_k / Q_0 = 10 / (A_k ln variance_k), A_k 1 but for the highest subbands.
    const double weights[8] = {1.32, 1.08, 1.42, 1.08, 1.32, 1.42, 1.08, 1.08};
    for (int k = 4; k < 60; ++k) {
        const double weight = k >= 52 ? weights[k - 52] : 1.0;
        EXPECT_NEAR(widths[k] / widths[0], 10.0 / (weight * std::log(variances[k])), 1e-9) << "subband " << k;
    }
    for (int k = 60; k < 64; ++k) EXPECT_EQ(widths[k], 0.0);
}

TEST(WsqQuantizer, WidthsMeetTheBitRateOfTheModel) {
    SubbandValues variances{};
    for (int k = 0; k < 60; ++k) variances[k] = 4000.0 / (1.0 + k * k);  // falling with frequency, like a finger
    for (double rate : {0.5, 0.75, 2.25}) {
        const SubbandValues widths = kv90rec::wsq::BinWidths(variances, rate);
        EXPECT_NEAR(ModelRate(variances, widths), rate, 1e-9) << rate;
    }
}

TEST(WsqQuantizer, DropsQuietSubbandsAndThoseTheRateCannotReach) {
    SubbandValues variances = Variances(300.0);
    variances[10] = 1.0;   // under 1.01: never coded
    variances[59] = 1.5;   // its bin would span more than five standard deviations
    const SubbandValues widths = kv90rec::wsq::BinWidths(variances, 0.75);
    EXPECT_EQ(widths[10], 0.0);
    EXPECT_EQ(widths[59], 0.0);
    EXPECT_GT(widths[58], 0.0);
    for (int k = 0; k < 60; ++k) {
        if (widths[k] > 0) {
            EXPECT_LT(widths[k], 5.0 * std::sqrt(variances[k])) << "subband " << k;
        }
    }
    // The factor is chosen again without the dropped subbands, so the rest still meets the rate.
    EXPECT_NEAR(ModelRate(variances, widths), 0.75, 1e-9);
}

TEST(WsqQuantizer, VarianceIsTakenOverTheCentralPartOnly) {
    kv90rec::wsq::SubbandLayout layout;
    ASSERT_TRUE(kv90rec::wsq::MakeSubbandLayout(640, 640, layout));
    std::vector<float> plane(640 * 640, 0.0f);
    // Subband 4 is 40 x 40 at (40, 0): its central part is x 5..34, y 11..27.
    const kv90rec::wsq::Region band = layout.subbands[4];
    for (int y = 0; y < band.height; ++y) {
        for (int x = 0; x < band.width; ++x) {
            const bool central = x >= 5 && x < 35 && y >= 11 && y < 28;
            plane[(band.y + y) * 640 + band.x + x] = central ? static_cast<float>((x + y) % 2 * 2) : 1000.0f;
        }
    }
    const SubbandValues variances = kv90rec::wsq::SubbandVariances(plane.data(), 640, layout);
    const double count = 30.0 * 17.0;
    const double ones = 255.0;  // of the 510 central values, 255 are 2 and 255 are 0
    EXPECT_NEAR(variances[4], (ones * 4.0 - (ones * 2.0) * (ones * 2.0) / count) / (count - 1.0), 1e-9);
    EXPECT_NEAR(variances[5], 0.0, 1e-12);
}

}  // namespace
