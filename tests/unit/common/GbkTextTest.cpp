// Texts in the station's code page: what makes a character, and what a log line or a
// caption shows of bytes that make none.
#include "TempFolder.h"

#include "common/GbkText.h"
#include "common/SysOper.h"
#include "framework/SysUtils.h"
#include "images/PersonFileName.h"

#include <gtest/gtest.h>

TEST(GbkText, TakesWhatTheCodePageTakes) {
    const struct {
        std::string text;
        size_t length;
    } cases[] = {{"A", 1},        {"\x80", 1},                   // the euro sign, a character of its own
                 {"中", 2},       {"\x81\x40", 2}, {"\x81", 0},  // a lead byte cut off
                 {"\x81\x20", 0}, {"\xFF", 0},     {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(GbkCharacterAt(c.text, 0), c.length) << EscapeNonGbk(c.text);
}

TEST(GbkText, EscapesOnlyTheBytesThatMakeNoCharacter) {
    EXPECT_EQ(EscapeNonGbk("1$\x81"), "1$\\x81");
    EXPECT_EQ(EscapeNonGbk("\xFF李四\x80"), "\\xFF李四\x80");
    EXPECT_EQ(EscapeNonGbk("当前采集姓名为：【XYZ】"), "当前采集姓名为：【XYZ】");
}

TEST(GbkText, ALogLineKeepsTheDaysFileGbk) {
    TempFolder folder;
    folder.MakeDir("LogFiles");
    TSysOper::WriteLogTo(folder.Path(), "人员编号或姓名不能用作文件名,未保存指纹:1$\x81");
    const std::string log = folder.Read("LogFiles\\FINGER" + FormatDateTime("yyyymmdd", Now()) + ".txt");
    EXPECT_NE(log.find("未保存指纹:1$\\x81\r\n"), std::string::npos) << log;
    EXPECT_EQ(EscapeNonGbk(log), log);
}

TEST(GbkText, AFileNameMayHoldTheEuroSign) {
    EXPECT_TRUE(IsSafeFileNameIn("C:\\KV90\\Temp\\", "1$\x80_0.bmp"));
    EXPECT_FALSE(IsSafeFileNameIn("C:\\KV90\\Temp\\", "1$\xFF_0.bmp"));
}
