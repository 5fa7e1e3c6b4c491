#include "TempFolder.h"

#include "common/FileOper.h"

#include <gtest/gtest.h>

TEST(ReadIniValue, GivesOneForAnAbsentKeySectionOrFile) {
    TempFolder folder;
    folder.Write("c.ini", "[KV90]\r\nFQuality=60\r\nEmpty=\r\n[Other]\r\nRollMode=5\r\n");
    std::string value = "x";
    TFileOper::ReadIniValue(folder.Path() + "c.ini", "KV90", "fquality", value);
    EXPECT_EQ(value, "60");
    TFileOper::ReadIniValue(folder.Path() + "c.ini", "KV90", "RollMode", value);
    EXPECT_EQ(value, "1");
    TFileOper::ReadIniValue(folder.Path() + "c.ini", "KV90", "Empty", value);
    EXPECT_EQ(value, "");
    TFileOper::ReadIniValue(folder.Path() + "none.ini", "KV90", "Bright", value);
    EXPECT_EQ(value, "1");
}

TEST(WriteIniValue, WritesOrReportsFalseWithoutRaising) {
    TempFolder folder;
    EXPECT_TRUE(TFileOper::WriteIniValue(folder.Path() + "c.ini", "KV90", "PQuality", "70"));
    std::string value;
    TFileOper::ReadIniValue(folder.Path() + "c.ini", "KV90", "PQuality", value);
    EXPECT_EQ(value, "70");
    EXPECT_FALSE(TFileOper::WriteIniValue(folder.Path() + "missing\\c.ini", "KV90", "PQuality", "70"));
}
