// Reading the control file's text.

#include "common/Settings.h"

#include <gtest/gtest.h>

namespace kv90sim {
namespace {

TEST(ControlSettings, EmptyTextIsTheRealisticScanner) {
    const Settings settings = ParseSettings("");
    EXPECT_EQ(settings.paceMs, 40);
    EXPECT_EQ(settings.finger, FingerScript::Roll);
    EXPECT_EQ(settings.journal, 0);
    EXPECT_TRUE(settings.missing.empty());
    EXPECT_TRUE(settings.failFetchAt.empty());
    for (const auto& results : settings.results) EXPECT_TRUE(results.empty());
    EXPECT_TRUE(settings.problems.empty());
}

TEST(ControlSettings, ReadsEveryKindOfLine) {
    const Settings settings = ParseSettings(
        "# comment\r\n"
        "; another\n"
        "[any section]\n"
        "pace = 0\n"
        "Finger=Hold\n"
        "JOURNAL=2\n"
        "RollFrames=20\n"
        "Seed=0x10\n"
        "FailFetchAt=5, 9\n"
        "ExceptionAt=7\n"
        "Missing=livescan_setvideowindow, MOSAIC_Stop\n"
        "LIVESCAN_Init=0\n"
        "MOSAIC_DoMosaic=2,2,1,0,*\n"
        "LIVESCAN_BeginCapture=raise\n"
        "LIVESCAN_GetBright=raise:0xE0001234\n");
    EXPECT_TRUE(settings.problems.empty());
    EXPECT_EQ(settings.paceMs, 0);
    EXPECT_EQ(settings.finger, FingerScript::Hold);
    EXPECT_EQ(settings.journal, 2);
    EXPECT_EQ(settings.timing.rollFrames, 20);
    EXPECT_EQ(settings.seed, 16u);
    EXPECT_EQ(settings.failFetchAt, (std::vector<int>{5, 9}));
    EXPECT_EQ(settings.exceptionAt, (std::vector<int>{7}));
    EXPECT_EQ(settings.missing, (std::vector<std::string>{"LIVESCAN_SetVideoWindow", "MOSAIC_Stop"}));

    const auto& init = settings.results[static_cast<int>(Entry::LivescanInit)];
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].kind, Outcome::Kind::Value);
    EXPECT_EQ(init[0].value, 0);

    const auto& mosaic = settings.results[static_cast<int>(Entry::MosaicDoMosaic)];
    ASSERT_EQ(mosaic.size(), 5u);
    EXPECT_EQ(mosaic[2].value, 1);
    EXPECT_EQ(mosaic[4].kind, Outcome::Kind::Real);

    const auto& begin = settings.results[static_cast<int>(Entry::LivescanBeginCapture)];
    ASSERT_EQ(begin.size(), 1u);
    EXPECT_EQ(begin[0].kind, Outcome::Kind::Raise);
    EXPECT_EQ(begin[0].code, kDefaultRaiseCode);
    EXPECT_EQ(settings.results[static_cast<int>(Entry::LivescanGetBright)][0].code, 0xE0001234u);
}

TEST(ControlSettings, LinesThatMakeNoSenseAreReportedAndIgnored) {
    const Settings settings = ParseSettings(
        "Pace=fast\n"
        "Finger=wiggle\n"
        "NoSuchKey=1\n"
        "LIVESCAN_Init=maybe\n"
        "Missing=LIVESCAN_Open\n"
        "just words\n"
        "Journal=1\n");
    EXPECT_EQ(settings.problems.size(), 6u);
    EXPECT_EQ(settings.paceMs, 40);
    EXPECT_EQ(settings.finger, FingerScript::Roll);
    EXPECT_TRUE(settings.missing.empty());
    EXPECT_TRUE(settings.results[static_cast<int>(Entry::LivescanInit)].empty());
    EXPECT_EQ(settings.journal, 1);
}

TEST(ControlSettings, FindsEntryPointsWhateverTheirCase) {
    EXPECT_EQ(FindEntry("mosaic_isfinger"), Entry::MosaicIsFinger);
    EXPECT_EQ(EntryName(Entry::LivescanGetFPRawData), "LIVESCAN_GetFPRawData");
    EXPECT_FALSE(FindEntry("Init").has_value());
}

}  // namespace
}  // namespace kv90sim
