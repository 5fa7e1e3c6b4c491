#include "records/DownloadNames.h"

#include <gtest/gtest.h>

TEST(DownloadNames, KeySlotAndFingerNameTheFile) {
    EXPECT_EQ(kv90rec::FingerFileName("A001", 0, kv90rec::ImageFormat::Png), "A001_0_left_thumb.png");
    EXPECT_EQ(kv90rec::FingerFileName("A001", 9, kv90rec::ImageFormat::Wsq), "A001_9_right_little_finger.wsq");
    EXPECT_EQ(kv90rec::RecordFileName("A001", kv90rec::RecordFormat::An2k), "A001.an2");
    EXPECT_EQ(kv90rec::RecordFileName("A001", kv90rec::RecordFormat::Iso19794_4), "A001.fir");
}

TEST(DownloadNames, AKeyCannotLeadOutOfTheNameOrTheHeader) {
    EXPECT_EQ(kv90rec::RecordFileName("..\\..\\win.ini", kv90rec::RecordFormat::An2k), "_.._win.ini.an2");
    EXPECT_EQ(kv90rec::RecordFileName("a\"; filename=x\r\n", kv90rec::RecordFormat::An2k), "a__ filename=x__.an2");
    EXPECT_EQ(kv90rec::RecordFileName("", kv90rec::RecordFormat::An2k), "fingers.an2");
    EXPECT_EQ(kv90rec::RecordFileName("...", kv90rec::RecordFormat::An2k), "fingers.an2");
    EXPECT_EQ(kv90rec::FingerFileName("", 5, kv90rec::ImageFormat::Jp2), "finger_5_right_thumb.jp2");
    EXPECT_EQ(kv90rec::FileNamePart("\xE5\xBC\xA0 key. "), "\xE5\xBC\xA0 key");  // UTF-8 stays
}
