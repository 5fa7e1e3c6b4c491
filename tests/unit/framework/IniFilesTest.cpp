#include "ErrorOf.h"
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

TEST(IniFile, WritesSeveralValuesInOneReplacementKeepingEverythingElse) {
    TempFolder folder;
    folder.Write("a.ini", "[Other]\r\nBright=7\r\n[kv90]\r\nbright=1\r\nRollMode=2\r\n[Last]\r\nX=y\r\n");
    TIniFile ini(folder.Path() + "a.ini");
    ini.WriteStrings({{"KV90", "Bright", "200"}, {"KV90", "FQuality", "70"}, {"New", "K", "v"}});
    EXPECT_EQ(ini.ReadString("KV90", "Bright", ""), "200");
    EXPECT_EQ(ini.ReadString("KV90", "FQuality", ""), "70");
    EXPECT_EQ(ini.ReadString("KV90", "RollMode", ""), "2");
    EXPECT_EQ(ini.ReadString("Other", "Bright", ""), "7");
    EXPECT_EQ(ini.ReadString("Last", "X", ""), "y");
    EXPECT_EQ(ini.ReadString("New", "K", ""), "v");
    // Nothing but the file itself is left in its folder.
    EXPECT_EQ(folder.Files(), std::set<std::string>{"a.ini"});
}

TEST(IniFile, AWriteThatDoesNotReadBackLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::string before = "[KV90]\r\nFQuality=50\r\n";
    folder.Write("a.ini", before);
    // The system reads a value back without the blanks at its ends.
    EXPECT_THROW(TIniFile(folder.Path() + "a.ini").WriteStrings({{"KV90", "Bright", "1"}, {"KV90", "FQuality", " 70"}}),
                 EFileError);
    EXPECT_EQ(folder.Read("a.ini"), before);
    EXPECT_EQ(folder.Files(), std::set<std::string>{"a.ini"});
    // A file where the system refuses to put it: the reason is the system's.
    folder.MakeDir("b.ini");
    const std::string message =
        ErrorOf<EFileError>([&] { TIniFile(folder.Path() + "b.ini").WriteString("KV90", "Bright", "1"); });
    EXPECT_EQ(message.find("Cannot replace file \"" + folder.Path() + "b.ini\". "), 0u) << message;
}
