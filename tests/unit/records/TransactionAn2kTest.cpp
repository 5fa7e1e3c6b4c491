// Transactions read back by the tests' own reader: lengths, the content list,
// every Type-14's position, resolution and image.
#include "An2kReader.h"
#include "ImageReaders.h"
#include "RecordsTestFiles.h"
#include "records/FingerPositions.h"
#include "records/PersonRecord.h"
#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

namespace {

kv90rec::PersonFingers TenFingers() {
    kv90rec::PersonFingers person;
    person.key = "A001";
    person.name = "\xE5\xBC\xA0\xE4\xB8\x89";  // 张三 in UTF-8
    for (int slot = 0; slot < 10; ++slot) person.fingers.push_back({slot, MakeFingerImage(640, 640, slot), false, {}});
    return person;
}

const kv90rec::RecordTime kTime{2026, 12, 8, 9, 30, 5};

std::string Field(const An2kRecord& record, int number) {
    const An2kField* field = record.Find(number);
    return field ? field->Value() : "<missing>";
}

}  // namespace

TEST(TransactionAn2k, TenFingersReadBackWithPositionsResolutionAndImages) {
    const kv90rec::PersonFingers person = TenFingers();
    kv90rec::RecordsConfig config;
    config.destinationAgency = "WVIAFIS0Z";
    config.originatingAgency = "NY0303000";
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, kv90rec::ImageFormat::Png, person, config, kTime,
                                      bytes, error))
        << error;
    std::vector<An2kRecord> records;
    ASSERT_TRUE(ReadAn2kForTest(bytes, records, error)) << error;
    ASSERT_EQ(records.size(), 12u);

    const An2kRecord& type1 = records[0];
    EXPECT_EQ(Field(type1, 1), std::to_string(type1.length));
    EXPECT_EQ(Field(type1, 2), "0500");
    const An2kField* content = type1.Find(3);
    ASSERT_NE(content, nullptr);
    ASSERT_EQ(content->subfields.size(), 12u);
    EXPECT_EQ(content->subfields[0], (std::vector<std::string>{"1", "11"}));
    EXPECT_EQ(content->subfields[1], (std::vector<std::string>{"2", "00"}));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(content->subfields[2 + i][0], "14");
    EXPECT_EQ(Field(type1, 4), "CAR");
    EXPECT_EQ(Field(type1, 5), "20261208");
    EXPECT_EQ(Field(type1, 7), "WVIAFIS0Z");
    EXPECT_EQ(Field(type1, 8), "NY0303000");
    EXPECT_EQ(Field(type1, 9), "KV9020261208093005");
    EXPECT_EQ(Field(type1, 11), "19.69");
    EXPECT_EQ(Field(type1, 12), "19.69");
    EXPECT_EQ(Field(type1, 13), "NORAM");
    EXPECT_EQ(Field(type1, 14), "20261208093005Z");
    ASSERT_NE(type1.Find(15), nullptr);
    EXPECT_EQ(type1.Find(15)->subfields[0], (std::vector<std::string>{"3", "UTF-8"}));
    EXPECT_EQ(type1.Find(6), nullptr);  // no priority unless the office sets one

    const An2kRecord& type2 = records[1];
    EXPECT_EQ(type2.type, 2);
    EXPECT_EQ(Field(type2, 1), std::to_string(type2.length));
    EXPECT_EQ(Field(type2, 2), "00");
    EXPECT_EQ(Field(type2, 9), "A001");
    EXPECT_EQ(Field(type2, 18), person.name);

    for (int i = 0; i < 10; ++i) {
        const An2kRecord& finger = records[2 + i];
        SCOPED_TRACE("finger record " + std::to_string(i));
        EXPECT_EQ(finger.type, 14);
        EXPECT_EQ(Field(finger, 1), std::to_string(finger.length));
        EXPECT_EQ(Field(finger, 2), content->subfields[2 + i][1]);
        EXPECT_EQ(Field(finger, 3), "1");  // live-scan rolled
        EXPECT_EQ(Field(finger, 4), "NY0303000");
        EXPECT_EQ(Field(finger, 5), "20261208");
        EXPECT_EQ(Field(finger, 6), "640");
        EXPECT_EQ(Field(finger, 7), "640");
        EXPECT_EQ(Field(finger, 8), "1");  // pixels per inch
        EXPECT_EQ(Field(finger, 9), "500");
        EXPECT_EQ(Field(finger, 10), "500");
        EXPECT_EQ(Field(finger, 11), "PNG");
        EXPECT_EQ(Field(finger, 12), "8");
        EXPECT_EQ(Field(finger, 13), std::to_string(kv90rec::FingerPositionOfSlot(i)));
        PngRead read;
        ASSERT_TRUE(ReadPngForTest(finger.image, read, error)) << error;
        EXPECT_EQ(read.image.pixels, person.fingers[i].image.pixels);
    }
}

TEST(TransactionAn2k, WsqAndJp2ImagesAreNamedAndDecode) {
    kv90rec::PersonFingers person = TenFingers();
    person.fingers.resize(2);
    for (const auto& [format, name] : {std::pair{kv90rec::ImageFormat::Wsq, "WSQ20"}, {kv90rec::ImageFormat::Jp2, "JP2L"}}) {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, format, person, {}, kTime, bytes, error)) << error;
        std::vector<An2kRecord> records;
        ASSERT_TRUE(ReadAn2kForTest(bytes, records, error)) << error;
        ASSERT_EQ(records.size(), 4u);
        EXPECT_EQ(Field(records[2], 11), name);
        kv90rec::GrayImage decoded;
        if (format == kv90rec::ImageFormat::Wsq) {
            ASSERT_TRUE(kv90rec::wsq::Decode(records[3].image.data(), records[3].image.size(), decoded, error)) << error;
        } else {
            Jp2Read read;
            ASSERT_TRUE(ReadJp2ForTest(records[3].image, read, error)) << error;
            decoded = read.image;
            EXPECT_EQ(decoded.pixels, person.fingers[1].image.pixels);
        }
        EXPECT_EQ(decoded.width, 640);
        EXPECT_EQ(decoded.height, 640);
    }
}

TEST(TransactionAn2k, SeparatorsInTheNameCannotEndAField) {
    kv90rec::PersonFingers person = TenFingers();
    person.fingers.resize(1);
    person.name = "Smith\x1D" "2.020:X\x1C";
    person.key = "K\x1E" "1";
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, kv90rec::ImageFormat::Png, person, {}, kTime, bytes,
                                      error));
    std::vector<An2kRecord> records;
    ASSERT_TRUE(ReadAn2kForTest(bytes, records, error)) << error;
    EXPECT_EQ(Field(records[1], 18), "Smith 2.020:X ");
    EXPECT_EQ(Field(records[1], 9), "K 1");
    EXPECT_EQ(records[1].Find(20), nullptr);
}

TEST(TransactionAn2k, AFingersCaptureDateIsItsOwnWhenKnown) {
    kv90rec::PersonFingers person = TenFingers();
    person.fingers.resize(2);
    person.fingers[1].hasCaptureTime = true;
    person.fingers[1].captureTime = {2020, 5, 6, 23, 59, 59};
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, kv90rec::ImageFormat::Png, person, {}, kTime, bytes,
                                      error));
    std::vector<An2kRecord> records;
    ASSERT_TRUE(ReadAn2kForTest(bytes, records, error)) << error;
    EXPECT_EQ(Field(records[2], 5), "20261208");  // unknown: the transaction's date
    EXPECT_EQ(Field(records[3], 5), "20200506");
    EXPECT_EQ(Field(records[0], 5), "20261208");
}

TEST(TransactionAn2k, NoFingersOrABitmapImageIsRefused) {
    kv90rec::PersonFingers person = TenFingers();
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, kv90rec::ImageFormat::Bmp, person, {}, kTime, bytes,
                                       error));
    person.fingers.clear();
    EXPECT_FALSE(kv90rec::PersonRecord(kv90rec::RecordFormat::An2k, kv90rec::ImageFormat::Png, person, {}, kTime, bytes,
                                       error));
    EXPECT_EQ(error, "no finger was captured");
    EXPECT_TRUE(bytes.empty());
}
