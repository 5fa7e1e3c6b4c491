// The control file seen through the loaded libraries: forced results, scripts,
// failing and raising fetches, re-reading, and the call journal.

#include <gtest/gtest.h>

#include <vector>

#include "LoadedLibraries.h"

namespace kv90sim_test {
namespace {

// Lets a raised structured exception continue, recording its code, so that a
// test can see the fault without a structured exception handler of its own.
class FaultCatcher {
public:
    FaultCatcher() : handle_(AddVectoredExceptionHandler(1, &FaultCatcher::Handle)) { codes().clear(); }
    FaultCatcher(const FaultCatcher&) = delete;
    FaultCatcher& operator=(const FaultCatcher&) = delete;
    ~FaultCatcher() { RemoveVectoredExceptionHandler(handle_); }
    static std::vector<DWORD>& codes() {
        static std::vector<DWORD> seen;
        return seen;
    }

private:
    static LONG CALLBACK Handle(EXCEPTION_POINTERS* info) {
        const DWORD code = info->ExceptionRecord->ExceptionCode;
        if (code != EXCEPTION_ACCESS_VIOLATION && (code & 0xF0000000u) != 0xE0000000u) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        codes().push_back(code);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    PVOID handle_;
};

using ControlFile = LoadedLibraries;

TEST_F(ControlFile, ForcedResultsAndTheirChangeAreSeenAtTheNextCall) {
    Load("LIVESCAN_Init=0\nMOSAIC_Init=-5\n");
    EXPECT_EQ(livescan_->Init(), 0);
    EXPECT_EQ(stitch_->Init(), -5);
    folder_.WriteControl("LIVESCAN_SetVideoWindow=0\n");
    EXPECT_EQ(livescan_->Init(), 1);
    EXPECT_EQ(stitch_->Init(), 1);
    EXPECT_EQ(livescan_->SetVideoWindow(nullptr), 0);
    folder_.RemoveControl();
    EXPECT_EQ(livescan_->SetVideoWindow(nullptr), 1);
}

TEST_F(ControlFile, ScriptedMosaicResultsThenRealOnes) {
    Load("Pace=0\nFinger=hold\nMOSAIC_DoMosaic=2,2,1,0,*\n");
    ASSERT_EQ(livescan_->Init(), 1);
    ASSERT_EQ(stitch_->Init(), 1);
    ASSERT_EQ(stitch_->Start(image_.data(), kSide, kSide), 1);
    std::vector<int> results;
    for (int i = 0; i < 6; ++i) {
        livescan_->Fetch(frame_.data());
        results.push_back(stitch_->DoMosaic(frame_.data(), kSide, kSide));
    }
    EXPECT_EQ(results, (std::vector<int>{2, 2, 1, 0, 2, 2}));  // a held finger adds nothing new
}

TEST_F(ControlFile, FixedQualityScores) {
    Load("MOSAIC_FingerQuality=42\nMOSAIC_ImageQuality=99\n");
    EXPECT_EQ(stitch_->FingerQuality(image_.data(), kSide, kSide), 42);
    EXPECT_EQ(stitch_->ImageQuality(image_.data(), kSide, kSide), 99);
}

TEST_F(ControlFile, FetchFailsOnTheNamedFetches) {
    Load("Pace=0\nFailFetchAt=2,4\n");
    ASSERT_EQ(livescan_->Init(), 1);
    std::vector<int> results;
    for (int i = 0; i < 5; ++i) results.push_back(livescan_->Fetch(frame_.data()));
    EXPECT_EQ(results, (std::vector<int>{1, 0, 1, 0, 1}));
}

TEST_F(ControlFile, FetchRaisesAnAccessViolationOnTheNamedFetch) {
    Load("Pace=0\nExceptionAt=2\n");
    ASSERT_EQ(livescan_->Init(), 1);
    FaultCatcher catcher;
    EXPECT_EQ(livescan_->Fetch(frame_.data()), 1);
    EXPECT_TRUE(FaultCatcher::codes().empty());
    EXPECT_EQ(livescan_->Fetch(frame_.data()), -9);  // what a resumed fault returns
    ASSERT_EQ(FaultCatcher::codes().size(), 1u);
    EXPECT_EQ(FaultCatcher::codes()[0], static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(livescan_->Fetch(frame_.data()), 1);
}

TEST_F(ControlFile, AnyEntryPointCanRaiseItsOwnCode) {
    Load("LIVESCAN_Init=raise:0xE0001234\n");
    FaultCatcher catcher;
    livescan_->Init();
    ASSERT_EQ(FaultCatcher::codes().size(), 1u);
    EXPECT_EQ(FaultCatcher::codes()[0], 0xE0001234u);
}

TEST_F(ControlFile, FingerNoneIsNeverSeen) {
    Load("Pace=0\nFinger=none\n");
    ASSERT_EQ(livescan_->Init(), 1);
    ASSERT_EQ(stitch_->Init(), 1);
    for (int i = 0; i < 150; ++i) {
        ASSERT_EQ(livescan_->Fetch(frame_.data()), 1);
        ASSERT_EQ(stitch_->IsFinger(frame_.data(), kSide, kSide), 0);
    }
}

TEST_F(ControlFile, JournalRecordsCallsButNotFramesUnlessAsked) {
    Load("Pace=0\nJournal=1\n");
    livescan_->Init();
    livescan_->SetBright(0, 200);
    livescan_->Fetch(frame_.data());
    stitch_->Close();
    livescan_->Close();
    EXPECT_EQ(folder_.ReadJournal(),
              "LIVESCAN_Init() = 1\r\n"
              "LIVESCAN_SetBright(0, 200) = 1\r\n"
              "MOSAIC_Close() = 1\r\n"
              "LIVESCAN_Close() = 1\r\n");

    folder_.WriteControl("Pace=0\nJournal=2\nNonsense\n");
    livescan_->Fetch(frame_.data());
    const std::string journal = folder_.ReadJournal();
    EXPECT_NE(journal.find("# scanner_sim.ini line 3"), std::string::npos);
    EXPECT_NE(journal.find("LIVESCAN_BeginCapture(0) = -2\r\n"), std::string::npos);
}

TEST_F(ControlFile, NoJournalByDefault) {
    Load("Pace=0\n");
    livescan_->Init();
    livescan_->Close();
    EXPECT_FALSE(folder_.JournalExists());
}

}  // namespace
}  // namespace kv90sim_test
