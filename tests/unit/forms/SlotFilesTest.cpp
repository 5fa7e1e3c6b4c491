#include "forms/MainFixture.h"

#include "framework/SysUtils.h"
#include "images/PersonFileName.h"

using SlotFilesTest = MainFixture;

TEST_F(SlotFilesTest, SlotFileNamesAreTheDigitAndBmp) {
    EXPECT_EQ(dm->Func_GetFpFileName(0), "0.bmp");
    EXPECT_EQ(dm->Func_GetFpFileName(9), "9.bmp");
    EXPECT_EQ(dm->Func_GetFpFileName(10), "");
    EXPECT_EQ(dm->Func_GetFpFileName(-1), "");
    dm->PersonKey = "1234";
    dm->PersonName = "XYZ";
    EXPECT_EQ(dm->PersonSlotPath(6), folder.Path() + "Temp\\1234$XYZ_6.bmp");
    dm->PersonKey = "";
    EXPECT_EQ(dm->PersonSlotPath(0), folder.Path() + "Temp\\$XYZ_0.bmp");
    EXPECT_EQ(dm->CompanionPath(3), folder.Path() + "Temp\\3.jpg");
}

TEST_F(SlotFilesTest, DeletingAllSlotsKeepsPersonFilesAndTheViewFile) {
    dm->Func_DelFpInfo(-1);  // an empty folder: nothing to do, nothing logged
    EXPECT_EQ(Log(), "");
    for (const char* name : {"2.bmp", "5.bmp", "3.bmp", "3.jpg", "7.jpg", "FPTemp.bmp", "1234$XYZ_2.bmp", "$XYZ_5.bmp",
                             "EditImage.jpg"})
        folder.Write(std::string("Temp\\") + name, "x");
    dm->Func_DelFpInfo(-1);
    for (const char* gone : {"2.bmp", "5.bmp", "3.bmp", "3.jpg", "7.jpg", "FPTemp.bmp"})
        EXPECT_FALSE(FileExists(folder.Path() + "Temp\\" + gone)) << gone;
    for (const char* kept : {"1234$XYZ_2.bmp", "$XYZ_5.bmp", "EditImage.jpg"})
        EXPECT_TRUE(FileExists(folder.Path() + "Temp\\" + kept)) << kept;
    EXPECT_EQ(Log(), "");
}

TEST_F(SlotFilesTest, OneSlotAndThePreviewOnly) {
    for (const char* name : {"4.bmp", "4.jpg", "6.bmp", "FPTemp.bmp"}) folder.Write(std::string("Temp\\") + name, "x");
    dm->Func_DelFpInfo(4);
    EXPECT_FALSE(FileExists(folder.Path() + "Temp\\4.bmp"));
    EXPECT_FALSE(FileExists(folder.Path() + "Temp\\4.jpg"));
    EXPECT_FALSE(FileExists(folder.Path() + "Temp\\FPTemp.bmp"));
    EXPECT_TRUE(FileExists(folder.Path() + "Temp\\6.bmp"));
}

TEST(PersonFileName, TakesOrdinaryKeysAndNamesInAnyScript) {
    EXPECT_TRUE(IsSafePersonFileName("1234", "XYZ"));
    EXPECT_TRUE(IsSafePersonFileName("", "XYZ"));
    EXPECT_TRUE(IsSafePersonFileName("", ""));
    EXPECT_TRUE(IsSafePersonFileName("0001", "张三"));
    EXPECT_TRUE(IsSafePersonFileName("A-1_b", "Li Si"));
    EXPECT_TRUE(IsSafePersonFileName("a.b", "x$y"));
    // A character whose second byte is '\' is one character, not a separator.
    EXPECT_TRUE(IsSafePersonFileName("1", "\xF2\x5C"));
}

TEST(PersonFileName, RefusesWhatCouldLeaveTheFolderOrIsNoFileName) {
    const std::pair<std::string, std::string> refused[] = {
        {"..\\..\\evil", "x"}, {"a", "..\\b"},   {"a/b", "c"},    {"a:b", "c"},     {"a", "b*"},  {"a", "b?"},
        {"a", "b\"c"},         {"a", "<b>"},     {"a", "b|c"},    {"a\tb", "c"},     {"a", "b\r\n"}, {"CON", "x"},
        {"nul", "x"},          {"x", "COM1"},    {"x", "lpt9.txt"}, {"x", "name."}, {"x", "name "}, {"..", "x"},
        {"x", "\xB0"},  // a lead byte alone would take the "_" that follows into its character
        {"x", "\xB0\x20"}, {std::string(101, 'k'), "x"}};
    for (const auto& [key, name] : refused) EXPECT_FALSE(IsSafePersonFileName(key, name)) << key << "$" << name;
}
