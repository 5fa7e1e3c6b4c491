// The simulator's pure pieces: options, command lines, numbers and texts.
#include "LinkCore.h"
#include "Clock.h"
#include "Commands.h"
#include "NumberText.h"
#include "Options.h"

#include <gtest/gtest.h>

using namespace hostsim;

TEST(HostSimOptions, EmptyCommandLineIsTheHumanDefault) {
    Options options;
    std::wstring error;
    ASSERT_TRUE(parseOptions({}, options, error));
    EXPECT_TRUE(options.startPath.empty());
    EXPECT_FALSE(options.hasPerson);
    EXPECT_EQ(0u, options.answerDelayMs);
    EXPECT_FALSE(options.neverAnswer);
    EXPECT_FALSE(options.noBlock);
    EXPECT_EQ(30000u, options.sendTimeoutMs);
}

TEST(HostSimOptions, EveryOptionIsRead) {
    Options options;
    std::wstring error;
    ASSERT_TRUE(parseOptions({L"--start", L"C:\\KV90\\Finger_KV90.exe", L"--person", L"0001$演示", L"--answer-delay",
                              L"1500", L"--never-answer", L"--late-block", L"2000", L"--garbage-block", L"abc",
                              L"--quit-on-close", L"--exit-with-child", L"--send-timeout", L"500"},
                             options, error))
        << std::string(error.begin(), error.end());
    EXPECT_EQ(L"C:\\KV90\\Finger_KV90.exe", options.startPath);
    EXPECT_TRUE(options.hasPerson);
    EXPECT_EQ(L"0001$演示", options.person);
    EXPECT_EQ(1500u, options.answerDelayMs);
    EXPECT_TRUE(options.neverAnswer);
    EXPECT_EQ(2000u, options.lateBlockMs);
    EXPECT_TRUE(options.hasGarbageBlock);
    EXPECT_EQ(L"abc", options.garbageBlock);
    EXPECT_TRUE(options.quitOnClose);
    EXPECT_TRUE(options.exitWithChild);
    EXPECT_EQ(500u, options.sendTimeoutMs);
}

TEST(HostSimOptions, AnEmptyPersonTextIsStillAPersonText) {
    Options options;
    std::wstring error;
    ASSERT_TRUE(parseOptions({L"--person", L""}, options, error));
    EXPECT_TRUE(options.hasPerson);
    EXPECT_TRUE(options.person.empty());
}

TEST(HostSimOptions, MistakesAreRefused) {
    Options options;
    std::wstring error;
    EXPECT_FALSE(parseOptions({L"--bogus"}, options, error));
    EXPECT_FALSE(parseOptions({L"--person"}, options, error));
    EXPECT_FALSE(parseOptions({L"--answer-delay", L"-5"}, options, error));
    EXPECT_FALSE(parseOptions({L"--answer-delay", L"soon"}, options, error));
    EXPECT_FALSE(parseOptions({L"--late-block", L"999999999999"}, options, error));
    EXPECT_FALSE(parseOptions({L"--no-block", L"--garbage-block", L"x"}, options, error));
    EXPECT_FALSE(parseOptions({L"--exit-with-child"}, options, error));
    EXPECT_FALSE(error.empty());
}

TEST(HostSimCommands, PersonKeepsTheWholeRestOfTheLine) {
    Command command;
    std::string error;
    ASSERT_TRUE(parseCommand("person 1234$X Y  Z", command, error));
    EXPECT_EQ(CommandKind::Person, command.kind);
    EXPECT_EQ(L"1234$X Y  Z", command.text);
    ASSERT_TRUE(parseCommand("person", command, error));
    EXPECT_TRUE(command.text.empty());
    ASSERT_TRUE(parseCommand("person 0001$\xE6\xBC\x94\xE7\xA4\xBA", command, error));
    EXPECT_EQ(L"0001$演示", command.text);
}

TEST(HostSimCommands, CloseAndActiveCodes) {
    Command command;
    std::string error;
    ASSERT_TRUE(parseCommand("close", command, error));
    EXPECT_EQ(CommandKind::Active, command.kind);
    EXPECT_EQ(static_cast<WPARAM>(kCodeClose), command.code);
    EXPECT_FALSE(command.send);
    ASSERT_TRUE(parseCommand("close send", command, error));
    EXPECT_TRUE(command.send);
    ASSERT_TRUE(parseCommand("active 3323 send lparam=-1", command, error));
    EXPECT_EQ(3323u, command.code);
    EXPECT_TRUE(command.send);
    EXPECT_EQ(-1, command.value);
    ASSERT_TRUE(parseCommand("active 0xCF0", command, error));
    EXPECT_EQ(0xCF0u, command.code);
    EXPECT_FALSE(parseCommand("active", command, error));
    EXPECT_FALSE(parseCommand("active 3323 loudly", command, error));
}

TEST(HostSimCommands, CopyDataPayloads) {
    Command command;
    std::string error;
    ASSERT_TRUE(parseCommand("copydata-hex 41424300 cb=2 dw=9", command, error));
    EXPECT_EQ(CommandKind::CopyData, command.kind);
    EXPECT_EQ((std::vector<unsigned char>{0x41, 0x42, 0x43, 0x00}), command.bytes);
    EXPECT_TRUE(command.hasByteCount);
    EXPECT_EQ(2u, command.byteCount);
    EXPECT_EQ(9u, command.tag);
    ASSERT_TRUE(parseCommand("copydata-hex -", command, error));
    EXPECT_TRUE(command.bytes.empty());
    EXPECT_FALSE(command.hasByteCount);
    ASSERT_TRUE(parseCommand("copydata-fill 41 1048576", command, error));
    EXPECT_EQ(1048576u, command.bytes.size());
    EXPECT_EQ(0x41, command.bytes.back());
    ASSERT_TRUE(parseCommand("copydata-null", command, error));
    EXPECT_TRUE(command.nullData);
    EXPECT_FALSE(parseCommand("copydata-hex 414", command, error));
    EXPECT_FALSE(parseCommand("copydata-hex zz", command, error));
    EXPECT_FALSE(parseCommand("copydata-fill 4142 3", command, error));
    EXPECT_FALSE(parseCommand("copydata-hex 41 size=3", command, error));
}

TEST(HostSimCommands, BlockAndControl) {
    Command command;
    std::string error;
    ASSERT_TRUE(parseCommand("block create", command, error));
    EXPECT_EQ(CommandKind::BlockCreate, command.kind);
    EXPECT_FALSE(command.hasText);
    ASSERT_TRUE(parseCommand("block create not a number", command, error));
    EXPECT_TRUE(command.hasText);
    EXPECT_EQ(L"not a number", command.text);
    ASSERT_TRUE(parseCommand("block remove", command, error));
    EXPECT_EQ(CommandKind::BlockRemove, command.kind);
    ASSERT_TRUE(parseCommand("release", command, error));
    EXPECT_EQ(CommandKind::Release, command.kind);
    ASSERT_TRUE(parseCommand("status", command, error));
    ASSERT_TRUE(parseCommand("quit", command, error));
    EXPECT_EQ(CommandKind::Quit, command.kind);
    EXPECT_FALSE(parseCommand("", command, error));
    EXPECT_FALSE(parseCommand("dance", command, error));
    EXPECT_FALSE(parseCommand("block", command, error));
    EXPECT_TRUE(isUrgentCommand("quit"));
    EXPECT_TRUE(isUrgentCommand("release "));
    EXPECT_FALSE(isUrgentCommand("person quit"));
}

TEST(HostSimText, PersonPayloadIsGbkWithItsZeroByte) {
    // The ANSI code page of the test system is 936.
    ASSERT_EQ(936u, GetACP());
    EXPECT_EQ((std::vector<unsigned char>{'1', '2', '3', '4', '$', 'X', 'Y', 'Z', 0}), personPayload(L"1234$XYZ"));
    EXPECT_EQ((std::vector<unsigned char>{'0', '0', '0', '1', '$', 0xD1, 0xDD, 0xCA, 0xBE, 0}),
              personPayload(L"0001$演示"));
    EXPECT_EQ((std::vector<unsigned char>{0}), personPayload(L""));
}

TEST(HostSimText, WindowHandlesAsDecimal) {
    EXPECT_EQ("65794", windowHandleText(reinterpret_cast<HWND>(65794)));
    HWND window = nullptr;
    EXPECT_TRUE(parseWindowHandle("65794", window));
    EXPECT_EQ(reinterpret_cast<HWND>(65794), window);
    EXPECT_TRUE(parseWindowHandle("4294967295", window));
    EXPECT_FALSE(parseWindowHandle("4294967296", window));
    EXPECT_FALSE(parseWindowHandle("0", window));
    EXPECT_FALSE(parseWindowHandle("", window));
    EXPECT_FALSE(parseWindowHandle("abc", window));
    EXPECT_FALSE(parseWindowHandle("-1", window));
    EXPECT_FALSE(parseWindowHandle(" 12", window));
}

TEST(HostSimText, NumbersAndHex) {
    std::int64_t value = 0;
    EXPECT_TRUE(parseSigned("-12", value));
    EXPECT_EQ(-12, value);
    EXPECT_TRUE(parseSigned("0xFFFFFFFF", value));
    EXPECT_EQ(0xFFFFFFFFll, value);
    EXPECT_FALSE(parseSigned("0x123456789", value));
    EXPECT_FALSE(parseSigned("1e3", value));
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(parseHex("00fFa0", bytes));
    EXPECT_EQ((std::vector<unsigned char>{0x00, 0xFF, 0xA0}), bytes);
    EXPECT_EQ("00ffa0", toHex(bytes.data(), bytes.size()));
}

TEST(HostSimText, CodesAndTimes) {
    EXPECT_STREQ("READY", notificationName(3124));
    EXPECT_STREQ("COLLECTED", notificationName(3224));
    EXPECT_STREQ("CLOSE", notificationName(3324));
    EXPECT_STREQ("UNKNOWN", notificationName(3424));
    SYSTEMTIME time{};
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 7;
    time.wMilliseconds = 42;
    EXPECT_EQ("09:05:07.042", formatTimeOfDay(time));
}
