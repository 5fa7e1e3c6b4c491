#include "RecordsTestFiles.h"
#include "records/SlotBitmap.h"

#include <gtest/gtest.h>

TEST(SlotBitmap, GreyBitmapGivesItsLevelsTopRowFirst) {
    const kv90rec::GrayImage finger = MakeFingerImage(641, 17, 1);  // an odd width pads every row
    for (bool topDown : {false, true}) {
        const std::string file = GreyBitmapFile(finger, topDown);
        kv90rec::GrayImage read;
        std::string error;
        ASSERT_TRUE(kv90rec::ReadSlotBitmap(reinterpret_cast<const uint8_t*>(file.data()), file.size(), read, error)) << error;
        EXPECT_EQ(read.width, 641);
        EXPECT_EQ(read.height, 17);
        EXPECT_EQ(read.ppi, 500);
        EXPECT_EQ(read.pixels, finger.pixels) << (topDown ? "top-down" : "bottom-up");
    }
}

TEST(SlotBitmap, ColourBitmapOfGreyPixelsGivesTheSameLevels) {
    const kv90rec::GrayImage finger = MakeFingerImage(40, 30, 2);
    const std::string file = ColourBitmapFile(finger);
    kv90rec::GrayImage read;
    std::string error;
    ASSERT_TRUE(kv90rec::ReadSlotBitmap(reinterpret_cast<const uint8_t*>(file.data()), file.size(), read, error)) << error;
    EXPECT_EQ(read.pixels, finger.pixels);
}

TEST(SlotBitmap, RefusesWhatIsNoWholeBitmap) {
    const std::string file = GreyBitmapFile(MakeFingerImage(64, 64, 3));
    kv90rec::GrayImage read;
    std::string error;
    const std::string notBitmap = "PK" + file.substr(2);
    EXPECT_FALSE(kv90rec::ReadSlotBitmap(reinterpret_cast<const uint8_t*>(notBitmap.data()), notBitmap.size(), read, error));
    EXPECT_NE(error.find("not a bitmap"), std::string::npos) << error;
    EXPECT_FALSE(kv90rec::ReadSlotBitmap(reinterpret_cast<const uint8_t*>(file.data()), file.size() / 2, read, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    EXPECT_TRUE(read.pixels.empty());
}

TEST(SlotBitmap, WrittenGreyBitmapReadsBackTheSame) {
    kv90rec::GrayImage finger = MakeFingerImage(33, 21, 4);
    const std::string file = kv90rec::WriteGreyBitmap(finger);
    kv90rec::GrayImage read;
    std::string error;
    ASSERT_TRUE(kv90rec::ReadSlotBitmap(reinterpret_cast<const uint8_t*>(file.data()), file.size(), read, error)) << error;
    EXPECT_EQ(read.pixels, finger.pixels);
}
