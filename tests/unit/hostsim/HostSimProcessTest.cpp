// KV90HostSim.exe as a running program, against a stand-in capture window: what it
// publishes, what it sends, how it answers and when it ends.
#include "CaptureStandIn.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

namespace {

const UINT kFingerMessage = RegisterWindowMessageW(L"FINGERMSG");
const UINT kActiveMessage = RegisterWindowMessageW(L"ACTIVEMSG");

struct BlockBytes {
    bool exists = false;
    size_t size = 0;
    std::string bytes;
};

BlockBytes readHostBlock() {
    BlockBytes result;
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, L"FINGER_ACTIVEX_FILE");
    if (!mapping) return result;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
        MEMORY_BASIC_INFORMATION region{};
        VirtualQuery(view, &region, sizeof region);
        result.exists = true;
        result.size = region.RegionSize;
        result.bytes.assign(static_cast<const char*>(view), region.RegionSize < 64 ? region.RegionSize : 64);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return result;
}

std::string decimal(HWND window) { return std::to_string(reinterpret_cast<ULONG_PTR>(window)); }

std::string quitAndWait(SimProcess& sim) {
    sim.send("quit");
    DWORD code = 0;
    if (!sim.waitExit(10000, code)) return "did not end";
    return "ended " + std::to_string(code);
}

}  // namespace

TEST(HostSimProgram, PublishesItsWindowInTheHostBlock) {
    SimProcess sim(L"");
    ASSERT_TRUE(sim.started());
    const HWND host = sim.hostWindow();
    ASSERT_TRUE(IsWindow(host));
    EXPECT_EQ("block created text=" + decimal(host) + " shared=0", sim.waitLine("block "));
    const BlockBytes block = readHostBlock();
    ASSERT_TRUE(block.exists);
    EXPECT_GE(block.size, 20u);
    const std::string text = decimal(host);
    EXPECT_EQ(text, block.bytes.substr(0, text.size()));
    EXPECT_EQ('\0', block.bytes[text.size()]);
    wchar_t className[64] = {};
    GetClassNameW(host, className, 64);
    EXPECT_STREQ(L"KV90HostSim", className);
    EXPECT_EQ("ended 0", quitAndWait(sim));
    EXPECT_EQ("exit code=0 reason=quit", sim.waitLine("exit "));
    EXPECT_FALSE(readHostBlock().exists);
}

TEST(HostSimProgram, BlockCanBeMissingLateOrGarbage) {
    {
        SimProcess sim(L"--no-block");
        sim.hostWindow();
        EXPECT_EQ("block none", sim.waitLine("block "));
        EXPECT_FALSE(readHostBlock().exists);
        EXPECT_EQ("ended 0", quitAndWait(sim));
    }
    {
        SimProcess sim(L"--garbage-block abc");
        sim.hostWindow();
        EXPECT_EQ("block created text=abc shared=0", sim.waitLine("block "));
        EXPECT_EQ(std::string("abc\0", 4), readHostBlock().bytes.substr(0, 4));
        EXPECT_EQ("ended 0", quitAndWait(sim));
    }
    {
        SimProcess sim(L"--late-block 1500");
        const HWND host = sim.hostWindow();
        EXPECT_EQ("block pending delay=1500", sim.waitLine("block "));
        EXPECT_FALSE(readHostBlock().exists);
        EXPECT_EQ("block created text=" + decimal(host) + " shared=0", sim.waitLine("block ", 10000));
        EXPECT_TRUE(readHostBlock().exists);
        EXPECT_EQ("ended 0", quitAndWait(sim));
    }
}

TEST(HostSimProgram, SendsThePersonAtStartWhenTheCaptureWindowIsPublished) {
    CaptureStandIn capture;
    ASSERT_TRUE(capture.publishBlock());
    SimProcess sim(L"--person \"0001$演示\"");
    sim.hostWindow();
    EXPECT_EQ("capture-block text=" + decimal(capture.window()), sim.waitLine("capture-block "));
    EXPECT_EQ("capture hwnd=" + decimal(capture.window()) + " source=block", sim.waitLine("capture "));
    ReceivedMessage message;
    ASSERT_TRUE(capture.waitMessage(message, 10000));
    EXPECT_EQ(static_cast<UINT>(WM_COPYDATA), message.message);
    EXPECT_TRUE(message.sent);
    EXPECT_EQ(10u, message.byteCount);
    EXPECT_EQ(std::string("0001$\xD1\xDD\xCA\xBE\0", 10), message.bytes);
    const std::string sent = sim.waitLine("person-sent ");
    EXPECT_EQ("3030303124d1ddcabe00", field(sent, "hex"));
    EXPECT_EQ("10", field(sent, "cb"));
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, ReadyNotificationNamesTheCaptureWindow) {
    CaptureStandIn capture;
    SimProcess sim(L"--person 1234$XYZ");
    const HWND host = sim.hostWindow();
    // Past its start-up, so that only the notification can tell it the window.
    sim.send("status");
    EXPECT_EQ("0", field(sim.waitLine("ok status"), "capture"));
    ASSERT_TRUE(capture.publishBlock());
    ASSERT_TRUE(PostMessageW(host, kFingerMessage, 3124, reinterpret_cast<LPARAM>(capture.window())));
    const std::string notify = sim.waitLine("notify ");
    EXPECT_EQ("3124", field(notify, "code"));
    EXPECT_EQ("READY", field(notify, "name"));
    EXPECT_EQ(decimal(capture.window()), field(notify, "value"));
    EXPECT_EQ("0", field(notify, "sent"));
    EXPECT_EQ(12u, field(notify, "time").size());
    EXPECT_EQ("capture-block text=" + decimal(capture.window()), sim.waitLine("capture-block "));
    EXPECT_EQ("capture hwnd=" + decimal(capture.window()) + " source=ready", sim.waitLine("capture "));
    ReceivedMessage message;
    ASSERT_TRUE(capture.waitMessage(message, 10000));
    EXPECT_EQ(std::string("1234$XYZ\0", 9), message.bytes);
    EXPECT_EQ(reinterpret_cast<WPARAM>(host), message.wParam);
    EXPECT_EQ("1234$XYZ", field(sim.waitLine("person-sent "), "text"));
    // The same capture window again is not sent the person twice.
    PostMessageW(host, kFingerMessage, 3124, reinterpret_cast<LPARAM>(capture.window()));
    sim.waitLine("notify ");
    sim.send("status");
    sim.waitLine("ok status");
    EXPECT_EQ(0u, capture.pendingCount());
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, CommandsReachTheCaptureWindow) {
    CaptureStandIn capture;
    ASSERT_TRUE(capture.publishBlock());
    SimProcess sim(L"");
    const HWND host = sim.hostWindow();
    ReceivedMessage message;

    sim.send("person \xE5\xBC\xA0\xE4\xB8\x89$\xE6\x9D\x8E");  // 张三$李 in UTF-8
    EXPECT_EQ("ok person", sim.waitLine("ok person").substr(0, 9));
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(std::string("\xD5\xC5\xC8\xFD$\xC0\xEE\0", 8), message.bytes);

    sim.send("person");
    EXPECT_EQ("1", field(sim.waitLine("ok person"), "cb"));
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(std::string("\0", 1), message.bytes);

    sim.send("close");
    EXPECT_EQ("ok close code=3324 value=0 send=0", sim.waitLine("ok close"));
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(kActiveMessage, message.message);
    EXPECT_EQ(3324u, message.wParam);
    EXPECT_FALSE(message.sent);

    sim.send("active 3323 send lparam=5");
    EXPECT_EQ("ok active code=3323 value=5 send=1 result=77", sim.waitLine("ok active"));
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(3323u, message.wParam);
    EXPECT_EQ(5, message.lParam);
    EXPECT_TRUE(message.sent);

    sim.send("copydata-hex 41424344 cb=2 dw=7");
    EXPECT_EQ("ok copydata-hex bytes=4 cb=2 null=0 dw=7 result=0", sim.waitLine("ok copydata-hex"));
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(2u, message.byteCount);
    EXPECT_EQ("AB", message.bytes);
    EXPECT_EQ(7u, message.tag);

    sim.send("copydata-null");
    sim.waitLine("ok copydata-null");
    ASSERT_TRUE(capture.waitMessage(message, 5000));
    EXPECT_EQ(0u, message.byteCount);
    EXPECT_TRUE(message.nullData);

    sim.send("copydata-fill 41 1048576");
    sim.waitLine("ok copydata-fill");
    ASSERT_TRUE(capture.waitMessage(message, 10000));
    EXPECT_EQ(1048576u, message.byteCount);
    EXPECT_EQ(std::string(1048576, 'A'), message.bytes);

    sim.send("dance");
    EXPECT_EQ("error dance unknown command \"dance\"", sim.waitLine("error "));
    sim.send("status");
    const std::string status = sim.waitLine("ok status");
    EXPECT_EQ(decimal(host), field(status, "hwnd"));
    EXPECT_EQ(decimal(capture.window()), field(status, "capture"));
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, CommandsWithoutACaptureWindowFailPolitely) {
    SimProcess sim(L"--no-block");
    sim.hostWindow();
    sim.send("person 1$a");
    EXPECT_EQ("error person reason=no-capture-window", sim.waitLine("error person"));
    sim.send("close");
    EXPECT_EQ("error close reason=no-capture-window", sim.waitLine("error close"));
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, CollectedNotificationIsAnsweredAfterTheDelay) {
    SimProcess sim(L"--answer-delay 800");
    const HWND host = sim.hostWindow();
    const DWORD began = GetTickCount();
    DWORD_PTR result = 1;
    ASSERT_TRUE(SendMessageTimeoutW(host, kFingerMessage, 3224, 3, SMTO_NORMAL, 10000, &result));
    const DWORD took = GetTickCount() - began;
    EXPECT_GE(took, 750u);
    EXPECT_LT(took, 5000u);
    EXPECT_EQ(0u, result);
    const std::string notify = sim.waitLine("notify ");
    EXPECT_EQ("3224", field(notify, "code"));
    EXPECT_EQ("COLLECTED", field(notify, "name"));
    EXPECT_EQ("3", field(notify, "value"));
    EXPECT_EQ("1", field(notify, "sent"));
    const std::string answer = sim.waitLine("answer ");
    EXPECT_EQ("after-delay", field(answer, "how"));
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, NeverAnsweringHoldsUntilReleasedAndStillQuits) {
    SimProcess sim(L"--never-answer");
    const HWND host = sim.hostWindow();
    DWORD_PTR result = 0;
    EXPECT_FALSE(SendMessageTimeoutW(host, kFingerMessage, 3224, 4, SMTO_NORMAL, 1000, &result));
    EXPECT_EQ("4", field(sim.waitLine("notify "), "value"));
    sim.send("release");
    EXPECT_EQ("released", field(sim.waitLine("answer "), "how"));
    EXPECT_EQ("ok release", sim.waitLine("ok release"));

    // Held again, then a quit ends the hold and the program.
    EXPECT_FALSE(SendMessageTimeoutW(host, kFingerMessage, 3224, 5, SMTO_NORMAL, 1000, &result));
    EXPECT_EQ("ended 0", quitAndWait(sim));
    EXPECT_EQ("quitting", field(sim.waitLine("answer "), "how"));
}

TEST(HostSimProgram, QuitsOnTheCloseNotificationWhenAsked) {
    SimProcess sim(L"--quit-on-close");
    const HWND host = sim.hostWindow();
    PostMessageW(host, kFingerMessage, 3124, 0);
    PostMessageW(host, kFingerMessage, 3324, 0);
    DWORD code = 99;
    ASSERT_TRUE(sim.waitExit(10000, code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ("CLOSE", field(sim.waitLine("notify code=3324"), "name"));
    EXPECT_EQ("exit code=0 reason=close", sim.waitLine("exit "));
}

TEST(HostSimProgram, OtherNotificationsAreOnlyShown) {
    SimProcess sim(L"");
    const HWND host = sim.hostWindow();
    PostMessageW(host, kFingerMessage, 3324, 0);
    PostMessageW(host, kFingerMessage, 42, -7);
    EXPECT_EQ("CLOSE", field(sim.waitLine("notify code=3324"), "name"));
    const std::string other = sim.waitLine("notify code=42");
    EXPECT_EQ("UNKNOWN", field(other, "name"));
    EXPECT_EQ("-7", field(other, "value"));
    EXPECT_EQ("ended 0", quitAndWait(sim));
}

TEST(HostSimProgram, StartsTheCaptureProgramInItsFolderAndEndsWithIt) {
    SimProcess sim(L"--start \"" KV90_HOSTSIM_CHILD_EXE "\" --exit-with-child");
    sim.hostWindow();
    const std::string started = sim.waitLine("started ");
    EXPECT_FALSE(field(started, "pid").empty());
    DWORD code = 0;
    ASSERT_TRUE(sim.waitExit(10000, code));
    EXPECT_EQ(7u, code);
    EXPECT_EQ(field(started, "pid"), field(sim.waitLine("child-exit "), "pid"));
    EXPECT_EQ("exit code=7 reason=child-exit", sim.waitLine("exit "));
}

TEST(HostSimProgram, RefusesUnknownOptions) {
    SimProcess sim(L"--bogus");
    DWORD code = 0;
    ASSERT_TRUE(sim.waitExit(10000, code));
    EXPECT_EQ(2u, code);
    EXPECT_EQ("error options unknown argument \"--bogus\"", sim.waitLine("error options"));
}

TEST(HostSimProgram, ClosingItsWindowEndsIt) {
    SimProcess sim(L"");
    const HWND host = sim.hostWindow();
    ASSERT_TRUE(PostMessageW(host, WM_CLOSE, 0, 0));
    DWORD code = 99;
    ASSERT_TRUE(sim.waitExit(10000, code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ("exit code=0 reason=window", sim.waitLine("exit "));
}
