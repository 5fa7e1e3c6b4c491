#include "TempFolder.h"

#include "common/SysOper.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

std::string TodaysLog(const TempFolder& folder) {
    return folder.Read("LogFiles\\FINGER" + FormatDateTime("yyyymmdd", Now()) + ".txt");
}

constexpr int kLines = 200;

DWORD WINAPI WriteWorkerLines(void* path) {
    for (int i = 0; i < kLines; ++i) TSysOper::WriteLogTo(*static_cast<std::string*>(path), "worker line");
    return 0;
}

}  // namespace

TEST(AppPath, IsTheProgramFolderWithItsSeparator) {
    const std::string path = TSysOper::GetAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '\\');
    EXPECT_TRUE(FileExists(path + ExtractFileName(ModuleFileName())));
}

TEST(WriteLog, AppendsOneDatedGbkLinePerCallToTheDaysFile) {
    TempFolder folder;
    folder.MakeDir("LogFiles");
    TSysOper::WriteLogTo(folder.Path(), "初始化KV90指纹采集设备失败:reason");
    TSysOper::WriteLogTo(folder.Path(), "");
    const std::string log = TodaysLog(folder);
    const std::regex line("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} : ");
    ASSERT_EQ(log.size(), 2 * 22 + std::string("初始化KV90指纹采集设备失败:reason").size() + 4);
    EXPECT_TRUE(std::regex_match(log.substr(0, 22), line));
    EXPECT_EQ(log.substr(22, log.find('\r') - 22), "初始化KV90指纹采集设备失败:reason");
    // The empty message still gives a line ending in " : ".
    const std::string second = log.substr(log.find('\n') + 1);
    EXPECT_TRUE(std::regex_match(second.substr(0, 22), line));
    EXPECT_EQ(second.substr(22), "\r\n");
    // The text arrives as the GBK bytes it was given: 初 is B3 F5.
    EXPECT_NE(log.find("\xB3\xF5"), std::string::npos);
}

TEST(WriteLog, ReturnsQuietlyWhenTheLogFolderIsMissing) {
    TempFolder folder;
    TSysOper::WriteLogTo(folder.Path(), "lost");
    TSysOper::WriteLogTo(folder.Path() + "nowhere\\", "lost");
    EXPECT_FALSE(FileExists(folder.Path() + "LogFiles"));
}

TEST(WriteLog, KeepsEveryLineWhenTwoThreadsLogAtOnce) {
    TempFolder folder;
    folder.MakeDir("LogFiles");
    std::string path = folder.Path();
    HANDLE thread = CreateThread(nullptr, 0, WriteWorkerLines, &path, 0, nullptr);
    for (int i = 0; i < kLines; ++i) TSysOper::WriteLogTo(path, "gui line");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    const std::string log = TodaysLog(folder);
    size_t lines = 0;
    for (char c : log) lines += c == '\n';
    EXPECT_EQ(lines, 2u * kLines);
}
