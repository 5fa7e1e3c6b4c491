// Fingers through the encoder and back, and the images and rates the encoder refuses.
#include "WsqTestFiles.h"

#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

bool RoundTrip(const kv90rec::GrayImage& original, double rate, kv90rec::GrayImage& decoded, size_t& bytes) {
    std::vector<uint8_t> file;
    std::string error;
    if (!kv90rec::wsq::Encode(original, rate, file, error)) return false;
    bytes = file.size();
    return kv90rec::wsq::Decode(file.data(), file.size(), decoded, error);
}

TEST(WsqRoundTrip, FingerAtTheDefaultRateComesBackClose) {
    const kv90rec::GrayImage original = wsqtest::FingerLike(640, 640);
    kv90rec::GrayImage decoded;
    size_t bytes = 0;
    ASSERT_TRUE(RoundTrip(original, kv90rec::wsq::kDefaultBitRate, decoded, bytes));
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.height, 640);
    EXPECT_EQ(decoded.ppi, 500);
    EXPECT_LT(wsqtest::Rmse(original, decoded), 8.0);
    // 0.75 bits per pixel is 38,400 bytes; the rate model is only a model.
    EXPECT_GT(bytes, 25000u);
    EXPECT_LT(bytes, 55000u);
}

TEST(WsqRoundTrip, HigherRateGivesALargerFileAndASmallerError) {
    const kv90rec::GrayImage original = wsqtest::FingerLike(640, 640);
    kv90rec::GrayImage low;
    kv90rec::GrayImage high;
    size_t lowBytes = 0;
    size_t highBytes = 0;
    ASSERT_TRUE(RoundTrip(original, kv90rec::wsq::kMinBitRate, low, lowBytes));
    ASSERT_TRUE(RoundTrip(original, kv90rec::wsq::kMaxBitRate, high, highBytes));
    EXPECT_GT(highBytes, 3 * lowBytes);
    EXPECT_LT(wsqtest::Rmse(original, high), wsqtest::Rmse(original, low));
    EXPECT_LT(wsqtest::Rmse(original, high), 3.5);
}

TEST(WsqRoundTrip, RealFingersComeBackWithinTheirReferenceError) {
    if (wsqtest::VectorsFolder().empty()) GTEST_SKIP() << "no WSQ reference files beside the repository";
    for (const char* finger : {"finger1", "finger2", "finger3"}) {
        const kv90rec::GrayImage original = wsqtest::ReadPgm(wsqtest::VectorsFolder() + "/" + finger + ".pgm");
        kv90rec::GrayImage decoded;
        size_t bytes = 0;
        ASSERT_TRUE(RoundTrip(original, 0.75, decoded, bytes)) << finger;
        EXPECT_LT(wsqtest::Rmse(original, decoded), 8.0) << finger;
    }
}

TEST(WsqRoundTrip, OddSizesAndASmallImage) {
    for (const auto& size : {std::pair<int, int>{333, 257}, {64, 64}, {97, 640}}) {
        const kv90rec::GrayImage original = wsqtest::FingerLike(size.first, size.second);
        kv90rec::GrayImage decoded;
        size_t bytes = 0;
        ASSERT_TRUE(RoundTrip(original, 2.25, decoded, bytes)) << size.first << " x " << size.second;
        EXPECT_EQ(decoded.width, size.first);
        EXPECT_EQ(decoded.height, size.second);
        EXPECT_LT(wsqtest::Rmse(original, decoded), 6.0) << size.first << " x " << size.second;
    }
}

TEST(WsqRoundTrip, FlatImageComesBackExactly) {
    kv90rec::GrayImage original;
    original.width = 64;
    original.height = 80;
    original.pixels.assign(64 * 80, 77);
    kv90rec::GrayImage decoded;
    size_t bytes = 0;
    ASSERT_TRUE(RoundTrip(original, 0.75, decoded, bytes));
    EXPECT_EQ(decoded.pixels, original.pixels);
}

TEST(WsqRoundTrip, ResolutionTravelsInTheComment) {
    kv90rec::GrayImage original = wsqtest::FingerLike(64, 64);
    original.ppi = 1000;
    kv90rec::GrayImage decoded;
    size_t bytes = 0;
    ASSERT_TRUE(RoundTrip(original, 0.75, decoded, bytes));
    EXPECT_EQ(decoded.ppi, 1000);
}

TEST(WsqRoundTrip, SameImageGivesTheSameBytes) {
    const kv90rec::GrayImage original = wsqtest::FingerLike(200, 180);
    std::vector<uint8_t> first;
    std::vector<uint8_t> second;
    std::string error;
    ASSERT_TRUE(kv90rec::wsq::Encode(original, 1.0, first, error));
    ASSERT_TRUE(kv90rec::wsq::Encode(original, 1.0, second, error));
    EXPECT_EQ(first, second);
}

TEST(WsqRoundTrip, EncoderRefusesRatesAndImagesItCannotTake) {
    const kv90rec::GrayImage finger = wsqtest::FingerLike(64, 64);
    std::vector<uint8_t> file{1, 2, 3};
    std::string error;
    for (double rate : {0.49, 2.26, 0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(kv90rec::wsq::Encode(finger, rate, file, error)) << rate;
        EXPECT_TRUE(file.empty());
        EXPECT_NE(error.find("bit rate"), std::string::npos) << error;
    }
    kv90rec::GrayImage narrow = wsqtest::FingerLike(63, 64);
    EXPECT_FALSE(kv90rec::wsq::Encode(narrow, 0.75, file, error));
    kv90rec::GrayImage short_ = finger;
    short_.pixels.pop_back();
    EXPECT_FALSE(kv90rec::wsq::Encode(short_, 0.75, file, error));
    EXPECT_NE(error.find("pixels"), std::string::npos) << error;
    kv90rec::GrayImage unknown = finger;
    unknown.ppi = 0;
    EXPECT_FALSE(kv90rec::wsq::Encode(unknown, 0.75, file, error));
}

}  // namespace
