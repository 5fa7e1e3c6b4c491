// The host's half of the link under the code hosts write: a handler of
// collected() that closes, a handler of closed() that opens again, the host's
// own messages queued while the link waits, a station adopted whose process
// cannot be opened, and the person's file before any person.
#include "HostLink.h"
#include "StandInStations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace kv90host;

namespace {

// Records the events and runs what the test asks of each handler.
struct Handlers : HostEvents {
    std::vector<std::wstring> events;
    std::function<void()> onCollected;
    std::function<void()> onClosed;
    void ready() override { events.push_back(L"ready"); }
    void collected(int slot, const std::wstring&, const std::wstring&) override {
        events.push_back(L"collected " + std::to_wstring(slot));
        if (onCollected) onCollected();
    }
    void closed(const std::wstring& reason, DWORD exitCode) override {
        events.push_back(L"closed " + reason + L" " + std::to_wstring(exitCode));
        if (onClosed) onClosed();
    }
};

// A close that cannot happen within this fails the test quickly instead of at the default 15 s.
constexpr DWORD kCloseLimitMs = 4000;

}  // namespace

TEST(HostLinkReentry, CloseInsideCollectedClosesTheStation) {
    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(readyStation());
    link.setCloseTimeoutMs(kCloseLimitMs);
    HostError error;
    ASSERT_TRUE(link.open(error));
    bool closedBeforeReturn = false;
    bool closeResult = false;
    handlers.onCollected = [&] {
        closeResult = link.close(error);
        closedBeforeReturn = handlers.events.back() == L"closed closed 0";
    };
    ASSERT_TRUE(link.setPerson(L"0001", L"zhang", error));
    ASSERT_TRUE(pumpUntil([&] { return link.state() == LinkState::Stopped; }));
    EXPECT_TRUE(closeResult) << hostFailureName(error.failure);
    EXPECT_TRUE(closedBeforeReturn);
    EXPECT_EQ(handlers.events, (std::vector<std::wstring>{L"ready", L"collected 3", L"closed closed 0"}));
}

TEST(HostLinkReentry, OpenInsideClosedLeavesTheOuterCloseSucceeding) {
    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(readyStation());
    link.setCloseTimeoutMs(kCloseLimitMs);
    HostError error;
    ASSERT_TRUE(link.open(error));
    bool reopened = false;
    handlers.onClosed = [&] {
        if (reopened) return;
        HostError inner;
        reopened = link.open(inner);
    };
    EXPECT_TRUE(link.close(error)) << hostFailureName(error.failure);
    EXPECT_TRUE(reopened);
    EXPECT_EQ(link.state(), LinkState::Ready) << "the second station is held";
    EXPECT_EQ(handlers.events, (std::vector<std::wstring>{L"ready", L"closed closed 0", L"ready"}));
    EXPECT_TRUE(link.close(error));
}

TEST(HostLinkReentry, TheHostsOwnMessagesStayQueuedWhileTheLinkWaits) {
    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(readyStation());
    constexpr UINT kHostsOwn = WM_APP + 77;
    PostThreadMessageW(GetCurrentThreadId(), kHostsOwn, 1, 0);
    HostError error;
    ASSERT_TRUE(link.open(error));
    ASSERT_TRUE(link.close(error));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, kHostsOwn, kHostsOwn, PM_REMOVE))
        << "a message the host posted to its thread is left for the host's loop";
}

TEST(HostLinkReentry, AHostThatIsQuittingStillOpensAndClosesAndKeepsItsQuit) {
    // As a window that posts its quit on WM_DESTROY and closes the station right after.
    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(readyStation());
    link.setCloseTimeoutMs(kCloseLimitMs);
    HostError error;
    PostQuitMessage(7);
    EXPECT_TRUE(link.open(error)) << hostFailureName(error.failure);
    EXPECT_TRUE(link.close(error)) << hostFailureName(error.failure);
    EXPECT_EQ(handlers.events, (std::vector<std::wstring>{L"ready", L"closed closed 0"}));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is left for the host's loop";
    EXPECT_EQ(message.wParam, 7u);
}

TEST(HostLinkReentry, AStationAdoptedWithoutItsProcessEndsTheLinkWhenItsWindowGoes) {
    // A station whose process this host may not open, as an elevated one or another user's.
    std::wstring program = readyStation() + L"\\Finger_KV90.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    CloseHandle(info.hThread);
    ASSERT_TRUE(pumpUntil([] {
        HANDLE block = OpenFileMappingW(FILE_MAP_READ, FALSE, L"FINGER_COLLECT_FILE");
        if (block) CloseHandle(block);
        return block != nullptr;
    }));

    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(readyStation());
    link.setOpensAdoptedProcess(false);
    HostError error;
    ASSERT_TRUE(link.open(error));
    EXPECT_EQ(link.stationPid(), 0u);
    TerminateProcess(info.hProcess, 3);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    EXPECT_TRUE(pumpUntil([&] { return link.state() == LinkState::Stopped; }, 5000));
    EXPECT_EQ(handlers.events.back(), L"closed ended 0");
    EXPECT_TRUE(link.open(error)) << "the next open starts a station again: " << hostFailureName(error.failure);
    EXPECT_TRUE(link.close(error));
}

TEST(HostLinkReentry, NoPersonFileBeforeAPersonIsNamed) {
    Handlers handlers;
    HostLink link(handlers);
    link.setInstallDir(L"C:\\KV90");
    EXPECT_EQ(link.personSlotFile(0), L"");
    EXPECT_EQ(link.slotFile(0), L"C:\\KV90\\Temp\\0.bmp");
}
