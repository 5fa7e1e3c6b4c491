// The host's half of the link against stand-in stations: the whole flow, the
// station killed from outside, and each refusal of open() and setPerson().
#include "HostBlock.h"
#include "HostLink.h"
#include "StandInStations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kv90host;

namespace {

struct Recorder : HostEvents {
    std::vector<std::wstring> events;
    std::vector<std::wstring> collectedFiles;
    void ready() override { events.push_back(L"ready"); }
    void collected(int slot, const std::wstring& slotFile, const std::wstring& personSlotFile) override {
        events.push_back(L"collected " + std::to_wstring(slot));
        collectedFiles = {slotFile, personSlotFile};
        // The station waits for this answer, so its files are there and complete.
        for (const std::wstring& file : collectedFiles)
            if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) events.push_back(L"missing " + file);
    }
    void closed(const std::wstring& reason, DWORD exitCode) override {
        events.push_back(L"closed " + reason + L" " + std::to_wstring(exitCode));
    }
};

}  // namespace

TEST(HostLink, FlowFromOpenToClosed) {
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(readyStation());
    HostError error;
    ASSERT_TRUE(link.open(error)) << static_cast<int>(error.failure);
    EXPECT_EQ(recorder.events, std::vector<std::wstring>{L"ready"});
    EXPECT_EQ(link.state(), LinkState::Ready);
    EXPECT_NE(link.stationWindow(), nullptr);
    EXPECT_TRUE(hostBlockExists());

    ASSERT_TRUE(link.setPerson(L"0001", L"zhang", error));
    ASSERT_TRUE(pumpUntil([&] { return recorder.events.size() == 2; }));
    EXPECT_EQ(recorder.events[1], L"collected 3");
    ASSERT_EQ(recorder.collectedFiles.size(), 2u);
    EXPECT_EQ(recorder.collectedFiles[0], link.stationFolder() + L"\\Temp\\3.bmp");
    EXPECT_EQ(recorder.collectedFiles[1], link.stationFolder() + L"\\Temp\\0001$zhang_3.bmp");
    EXPECT_EQ(link.personKey(), L"0001");
    EXPECT_EQ(link.personName(), L"zhang");

    ASSERT_TRUE(link.close(error));
    EXPECT_EQ(recorder.events.back(), L"closed closed 0");
    EXPECT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(link.state(), LinkState::Stopped);
    EXPECT_FALSE(hostBlockExists());
}

TEST(HostLink, AStationKilledFromOutsideIsClosedAsEnded) {
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(readyStation());
    HostError error;
    ASSERT_TRUE(link.open(error));
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, link.stationPid());
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 9);
    CloseHandle(process);
    ASSERT_TRUE(pumpUntil([&] { return link.state() == LinkState::Stopped; }));
    EXPECT_EQ(recorder.events.back(), L"closed ended 9");
    EXPECT_FALSE(hostBlockExists());
}

TEST(HostLink, NoPersonBeforeReadyAndNothingUnsafe) {
    Recorder recorder;
    HostLink link(recorder);
    HostError error;
    EXPECT_FALSE(link.setPerson(L"1", L"x", error));
    EXPECT_EQ(error.failure, HostFailure::WrongState);
    EXPECT_FALSE(error.description.empty());
    EXPECT_FALSE(link.close(error));
    EXPECT_EQ(error.failure, HostFailure::WrongState);

    link.setInstallDir(readyStation());
    ASSERT_TRUE(link.open(error));
    EXPECT_FALSE(link.setPerson(L"12$3", L"x", error));
    EXPECT_EQ(error.failure, HostFailure::PersonRefused);
    EXPECT_EQ(error.refusal, PersonRefusal::KeyHasDollar);
    EXPECT_FALSE(link.setPerson(L"1", L"..\\x", error));
    EXPECT_EQ(error.refusal, PersonRefusal::UnsafeForFileName);
    EXPECT_TRUE(link.personKey().empty());
    // Refused texts sent nothing: the stand-in stores a finger for every text it gets, in the order it
    // gets them, so the valid person named after them brings the only Collected.
    ASSERT_TRUE(link.setPerson(L"0002", L"li", error));
    ASSERT_TRUE(pumpUntil([&] {
        return recorder.collectedFiles.size() == 2 &&
               recorder.collectedFiles[1].find(L"0002$li_3.bmp") != std::wstring::npos;
    }));
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{L"ready", L"collected 3"}));
    EXPECT_TRUE(link.close(error));
}

TEST(HostLink, OpenRefusesWithoutTheProgram) {
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(L"C:\\no such folder");
    HostError error;
    EXPECT_FALSE(link.open(error));
    EXPECT_EQ(error.failure, HostFailure::ProgramNotFound);
    EXPECT_NE(error.description.find(L"C:\\no such folder\\Finger_KV90.exe"), std::wstring::npos);
    EXPECT_EQ(link.state(), LinkState::Stopped);
    EXPECT_FALSE(hostBlockExists()) << "a refused open leaves no block";
    EXPECT_TRUE(recorder.events.empty());
}

TEST(HostLink, OpenRefusesBesideAnotherHost) {
    HostBlock other;
    ASSERT_TRUE(other.create("4242"));
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(readyStation());
    HostError error;
    EXPECT_FALSE(link.open(error));
    EXPECT_EQ(error.failure, HostFailure::AnotherHost);
    EXPECT_EQ(other.text(), "4242");
    other.remove();
    EXPECT_FALSE(hostBlockExists());
}

TEST(HostLink, AStationThatEndsAtOnceGivesItsExitCode) {
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(standIn(KV90_STAND_IN_ENDS));
    HostError error;
    EXPECT_FALSE(link.open(error));
    EXPECT_EQ(error.failure, HostFailure::StationEndedAtOnce);
    EXPECT_EQ(error.exitCode, 5u);
    EXPECT_EQ(link.state(), LinkState::Stopped);
    EXPECT_TRUE(recorder.events.empty()) << "no Closed for a station that never was ready";
}

TEST(HostLink, AStationThatNeverSaysReadyTimesOut) {
    Recorder recorder;
    HostLink link(recorder);
    link.setInstallDir(standIn(KV90_STAND_IN_SILENT));
    link.setStartTimeoutMs(500);
    HostError error;
    EXPECT_FALSE(link.open(error));
    EXPECT_EQ(error.failure, HostFailure::NoReadyInTime);
    EXPECT_EQ(link.state(), LinkState::Stopped);
    EXPECT_FALSE(hostBlockExists());
}
