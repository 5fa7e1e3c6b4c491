#include "forms/MainFixture.h"

#include "framework/Exception.h"
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
    for (const char* name :
         {"2.bmp", "5.bmp", "3.bmp", "3.jpg", "7.jpg", "FPTemp.bmp", "1234$XYZ_2.bmp", "$XYZ_5.bmp", "EditImage.jpg"})
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

TEST_F(SlotFilesTest, StoringReplacesBothFilesTogetherAndDropsTheOldCompanion) {
    dm->PersonKey = "1234";
    dm->PersonName = "XYZ";
    for (const char* name : {"3.bmp", "3.jpg", "1234$XYZ_3.bmp"}) folder.Write(std::string("Temp\\") + name, "old");
    dm->StoreSlotFiles(3, "new finger");
    EXPECT_EQ(folder.Read("Temp\\3.bmp"), "new finger");
    EXPECT_EQ(folder.Read("Temp\\1234$XYZ_3.bmp"), "new finger");
    EXPECT_EQ(folder.Files("Temp\\"), (std::set<std::string>{"3.bmp", "1234$XYZ_3.bmp"}));
}

TEST_F(SlotFilesTest, AStoreThatFailsLeavesTheSlotsFilesAsTheyWere) {
    dm->PersonKey = "1234";
    dm->PersonName = "XYZ";
    folder.Write("Temp\\3.bmp", "the finger the host has");
    folder.Write("Temp\\3.jpg", "its companion");
    // A folder where the person's file would go: the system refuses to replace it.
    folder.MakeDir("Temp\\1234$XYZ_3.bmp");
    EXPECT_THROW(dm->StoreSlotFiles(3, "new finger"), EFileError);
    EXPECT_EQ(folder.Read("Temp\\3.bmp"), "the finger the host has");
    EXPECT_EQ(folder.Read("Temp\\3.jpg"), "its companion");
    EXPECT_EQ(folder.Files("Temp\\"), (std::set<std::string>{"3.bmp", "3.jpg"}));
}

TEST(PersonFileName, JudgesTheWholeNameAsTheFileSystemReadsIt) {
    const std::string temp = "C:\\KV90\\Temp\\";
    // Valid names, also with a trailing space or dot in a part, "..", or a device name inside the name.
    for (const char* name :
         {"1234$XYZ_0.bmp", "$_3.bmp", "0001$张三_9.bmp", "A-1_b$Li Si_2.bmp", "a.b$x$y_1.bmp", "1234$XYZ _0.bmp",
          "1234$Jr._0.bmp", "CON$x_0.bmp", "a..b$x_0.bmp", "..$x_0.bmp", "x$NUL_0.bmp", "CONOUT$$x_0.bmp",
          "1$\xF2\x5C_0.bmp",  // a character whose second byte is '\' is no separator
          "x$\x80_0.bmp"})     // the euro sign, one byte of its own in the code page
        EXPECT_TRUE(IsSafeFileNameIn(temp, name)) << name;
    // Separators, characters no file name takes, control characters, invalid GBK and devices.
    for (const char* name : {"..\\..\\evil$x_0.bmp", "a$..\\b_0.bmp",   "a/b$c_0.bmp",
                             "a:b$c_0.bmp",          "a$b*_0.bmp",      "a$b?_0.bmp",
                             "a$b\"c_0.bmp",         "a$<b>_0.bmp",     "a$b|c_0.bmp",
                             "a\tb$c_0.bmp",         "a$b\r\n_0.bmp",   "x$\x80\x80\xFF_0.bmp",
                             "x$\xFF\x41_0.bmp",     "NUL .a$x_0.bmp",  "COM1 .a$x_0.bmp",
                             "AUX .txt$x_0.bmp",     "nul.x$y_0.bmp",   "lpt9 .a$_0.bmp",
                             "CONOUT$.x_0.bmp",      "conin$ .a_0.bmp", ""})
        EXPECT_FALSE(IsSafeFileNameIn(temp, name)) << name;
    // A name that ends in half a character is no GBK text, though with the "_" after it the file name is.
    EXPECT_FALSE(IsWholeGbkText("\xB0"));
    EXPECT_TRUE(IsWholeGbkText("张三"));
    EXPECT_TRUE(IsSafeFileNameIn(temp, "x$\xB0_0.bmp"));
    // The whole path must fit, counted in characters: a double-byte character is one.
    const std::string longest(259 - temp.size() - 6, 'k');
    EXPECT_TRUE(IsSafeFileNameIn(temp, longest + "_0.bmp"));
    EXPECT_FALSE(IsSafeFileNameIn(temp, longest + "k_0.bmp"));
    std::string chinese;
    for (size_t i = 0; i < longest.size(); ++i) chinese += "张";
    EXPECT_TRUE(IsSafeFileNameIn(temp, chinese + "_0.bmp"));
    EXPECT_FALSE(IsSafeFileNameIn("C:\\", std::string(256, 'k')));
}

TEST_F(SlotFilesTest, ARefusedDeletionIsLoggedWithTheFileAndTheSystemsReason) {
    folder.Write("Temp\\3.bmp", "x");
    folder.Write("Temp\\FPTemp.bmp", "x");
    dm->DeleteImageFile = [](const std::string& path) {
        if (path.find("3.bmp") == std::string::npos) return DeleteFileA(path.c_str()) != 0;
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    };
    dm->Func_DelFpInfo(-1);
    EXPECT_TRUE(FileExists(folder.Path() + "Temp\\3.bmp"));
    EXPECT_FALSE(FileExists(folder.Path() + "Temp\\FPTemp.bmp"));
    EXPECT_NE(Log().find("删除指纹图片文件被拒绝,文件\"" + folder.Path() +
                         "Temp\\3.bmp\",原因:" + SysErrorMessage(ERROR_SHARING_VIOLATION)),
              std::string::npos)
        << Log();
    EXPECT_EQ(Log().find("Func_DelFpInfo中错误"), std::string::npos) << Log();
}

TEST_F(SlotFilesTest, AFailureInsideTheDeletionsEndsThemWithItsLogLineAndRaisesNothing) {
    folder.Write("Temp\\0.bmp", "x");
    folder.Write("Temp\\FPTemp.bmp", "x");
    dm->DeleteImageFile = [](const std::string&) -> bool { throw std::bad_alloc(); };
    EXPECT_NO_THROW(dm->Func_DelFpInfo(-1));
    EXPECT_NE(Log().find("删除指纹图片失败,函数Func_DelFpInfo中错误:"), std::string::npos) << Log();
    EXPECT_TRUE(FileExists(folder.Path() + "Temp\\FPTemp.bmp"));
}
