// ISO/IEC 19794-4:2005 finger image records read back field by field by the
// tests' own reading of the layout: 32-byte general header, 14-byte view headers.
#include "ImageReaders.h"
#include "RecordsTestFiles.h"
#include "records/FingerPositions.h"
#include "records/PersonRecord.h"
#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

namespace {

uint64_t Big(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | bytes.at(at + i);
    return value;
}

struct IsoView {
    uint64_t length, position, views, viewNumber, quality, impression, width, height, reserved;
    std::vector<uint8_t> image;
};

kv90rec::PersonFingers Fingers(std::initializer_list<int> slots) {
    kv90rec::PersonFingers person;
    person.key = "B7";
    for (int slot : slots) person.fingers.push_back({slot, MakeFingerImage(640, 640, slot + 20), false, {}});
    return person;
}

}  // namespace

TEST(IsoRecord, HeaderAndViewsReadBackWithPositionsResolutionAndImages) {
    const kv90rec::PersonFingers person = Fingers({0, 4, 5, 9});
    kv90rec::RecordsConfig config;
    config.captureDeviceId = 0x1234;
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::Iso19794_4, kv90rec::ImageFormat::Png, person, config, bytes,
                                      error))
        << error;
    ASSERT_GE(bytes.size(), 32u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), std::string("FIR\0" "010\0", 8));
    EXPECT_EQ(Big(bytes, 8, 6), bytes.size());  // record length
    EXPECT_EQ(Big(bytes, 14, 2), 0x1234u);      // capture device
    EXPECT_EQ(Big(bytes, 16, 2), 31u);          // acquisition level
    EXPECT_EQ(Big(bytes, 18, 1), 4u);           // fingers
    EXPECT_EQ(Big(bytes, 19, 1), 1u);           // scale units: pixels per inch
    for (size_t at : {20, 22, 24, 26}) EXPECT_EQ(Big(bytes, at, 2), 500u) << at;
    EXPECT_EQ(Big(bytes, 28, 1), 8u);  // pixel depth
    EXPECT_EQ(Big(bytes, 29, 1), 5u);  // PNG
    EXPECT_EQ(Big(bytes, 30, 2), 0u);

    size_t at = 32;
    std::vector<IsoView> views;
    while (at < bytes.size()) {
        IsoView view{Big(bytes, at, 4),      Big(bytes, at + 4, 1),  Big(bytes, at + 5, 1),
                     Big(bytes, at + 6, 1),  Big(bytes, at + 7, 1),  Big(bytes, at + 8, 1),
                     Big(bytes, at + 9, 2),  Big(bytes, at + 11, 2), Big(bytes, at + 13, 1), {}};
        ASSERT_GE(view.length, 14u);
        ASSERT_LE(at + view.length, bytes.size());
        view.image.assign(bytes.begin() + at + 14, bytes.begin() + at + view.length);
        views.push_back(view);
        at += view.length;
    }
    EXPECT_EQ(at, bytes.size());
    ASSERT_EQ(views.size(), 4u);
    const int positions[] = {6, 10, 1, 5};
    for (size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE("view " + std::to_string(i));
        EXPECT_EQ(views[i].position, static_cast<uint64_t>(positions[i]));
        EXPECT_EQ(views[i].views, 1u);
        EXPECT_EQ(views[i].viewNumber, 1u);
        EXPECT_EQ(views[i].impression, 1u);  // live-scan rolled
        EXPECT_EQ(views[i].width, 640u);
        EXPECT_EQ(views[i].height, 640u);
        EXPECT_EQ(views[i].reserved, 0u);
        PngRead read;
        ASSERT_TRUE(ReadPngForTest(views[i].image, read, error)) << error;
        EXPECT_EQ(read.image.pixels, person.fingers[i].image.pixels);
    }
}

TEST(IsoRecord, CompressionCodeFollowsTheImages) {
    const kv90rec::PersonFingers person = Fingers({3});
    for (const auto& [format, code] : {std::pair{kv90rec::ImageFormat::Wsq, 2u}, {kv90rec::ImageFormat::Jp2, 4u}}) {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::Iso19794_4, format, person, {}, bytes, error)) << error;
        EXPECT_EQ(Big(bytes, 29, 1), code);
        EXPECT_EQ(Big(bytes, 32, 4), bytes.size() - 32);
        const std::vector<uint8_t> image(bytes.begin() + 46, bytes.end());
        kv90rec::GrayImage decoded;
        if (format == kv90rec::ImageFormat::Wsq) {
            ASSERT_TRUE(kv90rec::wsq::Decode(image.data(), image.size(), decoded, error)) << error;
        } else {
            Jp2Read read;
            ASSERT_TRUE(ReadJp2ForTest(image, read, error)) << error;
            EXPECT_EQ(read.image.pixels, person.fingers[0].image.pixels);
        }
    }
}

TEST(IsoRecord, NoFingersIsRefused) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(kv90rec::PersonRecord(kv90rec::RecordFormat::Iso19794_4, kv90rec::ImageFormat::Wsq, Fingers({}), {},
                                       bytes, error));
    EXPECT_TRUE(bytes.empty());
}
