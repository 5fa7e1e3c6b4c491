#include "framework/Exception.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsOptionallySignedDecimalsInThe32BitRange) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("60"), 60);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-255"), -255);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RejectsAnythingElseWithTheValueInTheMessage) {
    for (const char* bad : {"abc", "", " ", "12a", "1.5", "0x10", "$10", "+", "-", "2147483648", "-2147483649",
                            "99999999999999999999", "1 2"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Trim("  50 \t\r\n"), "50");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("a b"), "a b");
}

// In GBK many characters end in a byte that is also an ASCII letter or the
// path separator.
const std::string kTrailBackslash = "\xF2\x5C";  // one character whose trail byte is '\'
const std::string kTrailLetter = "\xB0\x61";     // one character whose trail byte is 'a'

TEST(UpperCase, LeavesTrailBytesOfDoubleByteCharactersAlone) {
    EXPECT_EQ(UpperCase("skindata.sk2"), "SKINDATA.SK2");
    EXPECT_EQ(UpperCase(kTrailLetter + "b"), kTrailLetter + "B");
    EXPECT_TRUE(SameText("FQuality", "fquality"));
}

TEST(ExtractFilePath, CutsAfterTheLastSeparatorThatIsACharacter) {
    EXPECT_EQ(ExtractFilePath("C:\\Capture\\Finger_KV90.exe"), "C:\\Capture\\");
    EXPECT_EQ(ExtractFilePath("D:\\Finger_KV90.exe"), "D:\\");
    EXPECT_EQ(ExtractFilePath("Finger_KV90.exe"), "");
    // A folder whose name ends in a character with a '\' trail byte keeps its whole name.
    EXPECT_EQ(ExtractFilePath("C:\\" + kTrailBackslash + "\\Finger_KV90.exe"), "C:\\" + kTrailBackslash + "\\");
    EXPECT_EQ(ExtractFilePath("C:\\a\\" + kTrailBackslash + "x.exe"), "C:\\a\\");
    EXPECT_EQ(ExtractFileName("C:\\a\\" + kTrailBackslash + "x.exe"), kTrailBackslash + "x.exe");
}

TEST(ExtractFileExt, TakesTheExtensionOfTheNameOnly) {
    EXPECT_EQ(ExtractFileExt("C:\\Temp\\FPTemp.bmp"), ".bmp");
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\name"), "");
    EXPECT_EQ(ExtractFileExt("name"), "");
}

TEST(FormatDateTime, WritesZeroPaddedFields) {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 6;
    t.wHour = 3;
    t.wMinute = 5;
    t.wSecond = 7;
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", t), "2026-12-06 03:05:07");
    EXPECT_EQ(FormatDateTime("yyyymmdd", t), "20261206");
}

TEST(Texts, AreCompiledAsGbkBytes) {
    // 提示
    EXPECT_EQ(std::string("提示"), "\xCC\xE1\xCA\xBE");
}
