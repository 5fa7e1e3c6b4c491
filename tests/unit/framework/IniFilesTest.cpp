#include "TempFolder.h"

#include "framework/Exception.h"
#include "framework/IniFiles.h"

#include <gtest/gtest.h>

TEST(IniFile, ReadsCaseInsensitivelyAndFallsBackToTheDefault) {
    TempFolder folder;
    folder.Write("a.ini", "[KV90]\r\nfquality=60\r\n[Other]\r\nPQuality=70\r\n");
    TIniFile ini(folder.Path() + "a.ini");
    EXPECT_EQ(ini.ReadString("kv90", "FQuality", "1"), "60");
    EXPECT_EQ(ini.ReadString("KV90", "PQuality", "1"), "1");
    EXPECT_EQ(TIniFile(folder.Path() + "missing.ini").ReadString("KV90", "RollMode", "1"), "1");
}

TEST(IniFile, ReadsLongValuesWhole) {
    TempFolder folder;
    const std::string value(3000, 'x');
    folder.Write("a.ini", "[S]\r\nK=" + value + "\r\n");
    EXPECT_EQ(TIniFile(folder.Path() + "a.ini").ReadString("S", "K", ""), value);
}

TEST(IniFile, WriteCreatesTheFileAndFailsInAMissingFolder) {
    TempFolder folder;
    TIniFile ini(folder.Path() + "new.ini");
    ini.WriteString("KV90", "Bright", "120");
    EXPECT_EQ(ini.ReadString("KV90", "Bright", "1"), "120");
    EXPECT_THROW(TIniFile(folder.Path() + "nofolder\\x.ini").WriteString("KV90", "Bright", "1"), EFileError);
}
