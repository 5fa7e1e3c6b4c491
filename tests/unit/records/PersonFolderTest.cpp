// A person's slot files gathered from a folder as the station leaves them.
#include "RecordsTestFiles.h"
#include "TempFolder.h"
#include "records/PersonFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::wstring Wide(const std::string& ansi) {
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], size);
    return wide;
}

void WriteSlot(const TempFolder& folder, const std::string& name, int seed) {
    folder.Write(name, GreyBitmapFile(MakeFingerImage(32, 24, seed)));
}

}  // namespace

TEST(PersonFolder, FileNamesAreSplitAsTheStationJoinsThem) {
    kv90rec::SlotFileName parsed;
    ASSERT_TRUE(kv90rec::ParseSlotFileName(L"A$B_C$D_7.bmp", parsed));
    EXPECT_EQ(parsed.key, L"A");
    EXPECT_EQ(parsed.name, L"B_C$D");
    EXPECT_EQ(parsed.slot, 7);
    EXPECT_TRUE(parsed.person);
    ASSERT_TRUE(kv90rec::ParseSlotFileName(L"$_0.BMP", parsed));  // key and name both empty
    EXPECT_TRUE(parsed.person);
    ASSERT_TRUE(kv90rec::ParseSlotFileName(L"3.bmp", parsed));
    EXPECT_FALSE(parsed.person);
    EXPECT_EQ(parsed.slot, 3);
    EXPECT_FALSE(kv90rec::ParseSlotFileName(L"FPTemp.bmp", parsed));
    EXPECT_FALSE(kv90rec::ParseSlotFileName(L"A$B_10.bmp", parsed));
    EXPECT_FALSE(kv90rec::ParseSlotFileName(L"AB_1.bmp", parsed));
    EXPECT_FALSE(kv90rec::ParseSlotFileName(L"EditImage.jpg", parsed));
}

TEST(PersonFolder, TheOnlyPersonsFilesComeInSlotOrderWithKeyAndNameInUtf8) {
    TempFolder folder;
    WriteSlot(folder, "A001$张三_9.bmp", 9);
    WriteSlot(folder, "A001$张三_0.bmp", 0);
    WriteSlot(folder, "A001$张三_5.bmp", 5);
    WriteSlot(folder, "0.bmp", 40);  // the plain copies beside them are the same fingers
    WriteSlot(folder, "FPTemp.bmp", 41);
    kv90rec::PersonFingers person;
    std::string error;
    ASSERT_TRUE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"", person, error)) << error;
    EXPECT_EQ(person.key, "A001");
    EXPECT_EQ(person.name, "\xE5\xBC\xA0\xE4\xB8\x89");
    ASSERT_EQ(person.fingers.size(), 3u);
    EXPECT_EQ(person.fingers[0].slot, 0);
    EXPECT_EQ(person.fingers[1].slot, 5);
    EXPECT_EQ(person.fingers[2].slot, 9);
    EXPECT_EQ(person.fingers[2].image.pixels, MakeFingerImage(32, 24, 9).pixels);
}

TEST(PersonFolder, SeveralPeopleNeedAKey) {
    TempFolder folder;
    WriteSlot(folder, "A001$Li_0.bmp", 1);
    WriteSlot(folder, "B002$Wang_1.bmp", 2);
    WriteSlot(folder, "B002$Wang_2.bmp", 3);
    kv90rec::PersonFingers person;
    std::string error;
    EXPECT_FALSE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"", person, error));
    EXPECT_NE(error.find("A001"), std::string::npos) << error;
    EXPECT_NE(error.find("B002"), std::string::npos) << error;
    ASSERT_TRUE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"B002", person, error)) << error;
    EXPECT_EQ(person.name, "Wang");
    EXPECT_EQ(person.fingers.size(), 2u);
    EXPECT_FALSE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"C003", person, error));
}

TEST(PersonFolder, PlainSlotFilesAloneMakeAPersonWithoutKey) {
    TempFolder folder;
    WriteSlot(folder, "1.bmp", 1);
    WriteSlot(folder, "6.bmp", 6);
    kv90rec::PersonFingers person;
    std::string error;
    ASSERT_TRUE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"", person, error)) << error;
    EXPECT_EQ(person.key, "");
    ASSERT_EQ(person.fingers.size(), 2u);
    EXPECT_EQ(person.fingers[1].slot, 6);
}

TEST(PersonFolder, EmptyFolderDamagedFileAndNoFolderAreRefused) {
    TempFolder folder;
    kv90rec::PersonFingers person;
    std::string error;
    EXPECT_FALSE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"", person, error));
    EXPECT_NE(error.find("no slot files"), std::string::npos) << error;
    EXPECT_FALSE(kv90rec::LoadPersonFolder(Wide(folder.Path() + "missing"), L"", person, error));
    EXPECT_NE(error.find("is not a folder"), std::string::npos) << error;
    folder.Write("K$N_3.bmp", "BM broken");
    EXPECT_FALSE(kv90rec::LoadPersonFolder(Wide(folder.Path()), L"", person, error));
    EXPECT_NE(error.find("K$N_3.bmp"), std::string::npos) << error;
    EXPECT_TRUE(person.fingers.empty());
}

TEST(PersonFolder, CurrentFingersAreThePlainSlotFilesOnly) {
    TempFolder folder;
    WriteSlot(folder, "2.bmp", 2);
    WriteSlot(folder, "8.bmp", 8);
    WriteSlot(folder, "A001$Li_3.bmp", 3);  // an earlier capture of someone
    WriteSlot(folder, "FPTemp.bmp", 4);
    kv90rec::PersonFingers person;
    std::string error;
    ASSERT_TRUE(kv90rec::LoadPlainSlotFiles(Wide(folder.Path()), person, error)) << error;
    ASSERT_EQ(person.fingers.size(), 2u);
    EXPECT_EQ(person.fingers[0].slot, 2);
    EXPECT_EQ(person.fingers[1].slot, 8);
    EXPECT_EQ(person.fingers[1].image.pixels, MakeFingerImage(32, 24, 8).pixels);
}

TEST(PersonFolder, NoPlainSlotFileIsNoFingerCaptured) {
    TempFolder folder;
    WriteSlot(folder, "A001$Li_3.bmp", 3);
    kv90rec::PersonFingers person;
    std::string error;
    EXPECT_FALSE(kv90rec::LoadPlainSlotFiles(Wide(folder.Path()), person, error));
    EXPECT_EQ(error, "no finger was captured");
}

TEST(PersonFolder, TheSlotFilesTimeIsTheCaptureTime) {
    TempFolder folder;
    WriteSlot(folder, "4.bmp", 4);
    const std::wstring path = Wide(folder.Path() + "4.bmp");
    SYSTEMTIME captured{};
    captured.wYear = 2020;
    captured.wMonth = 5;
    captured.wDay = 6;
    captured.wHour = 7;
    FILETIME fileTime;
    ASSERT_TRUE(SystemTimeToFileTime(&captured, &fileTime));
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &fileTime));
    CloseHandle(file);
    kv90rec::PersonFingers person;
    std::string error;
    ASSERT_TRUE(kv90rec::AddSlotFile(person, 4, path, error)) << error;
    ASSERT_TRUE(person.fingers[0].hasCaptureTime);
    EXPECT_EQ(person.fingers[0].captureTime.year, 2020);
    EXPECT_EQ(person.fingers[0].captureTime.month, 5);
    EXPECT_EQ(person.fingers[0].captureTime.day, 6);
    EXPECT_EQ(person.fingers[0].captureTime.hour, 7);
}
