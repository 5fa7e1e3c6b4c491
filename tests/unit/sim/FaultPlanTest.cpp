// Which outcome each call gets under a control file.

#include "common/FaultPlan.h"

#include <gtest/gtest.h>

namespace kv90sim {
namespace {

TEST(FaultPlan, ScriptIsConsumedAndItsLastStepStays) {
    const Settings settings = ParseSettings("MOSAIC_DoMosaic=2,1,0\n");
    FaultPlan plan;
    EXPECT_EQ(plan.Next(settings, Entry::MosaicDoMosaic).value, 2);
    EXPECT_EQ(plan.Next(settings, Entry::MosaicDoMosaic).value, 1);
    for (int i = 0; i < 3; ++i) {
        const Outcome outcome = plan.Next(settings, Entry::MosaicDoMosaic);
        EXPECT_EQ(outcome.kind, Outcome::Kind::Value);
        EXPECT_EQ(outcome.value, 0);
    }
    EXPECT_EQ(plan.Next(settings, Entry::MosaicStop).kind, Outcome::Kind::Real);
}

TEST(FaultPlan, StarEndsTheScriptWithRealResults) {
    const Settings settings = ParseSettings("MOSAIC_DoMosaic=2,*\n");
    FaultPlan plan;
    EXPECT_EQ(plan.Next(settings, Entry::MosaicDoMosaic).kind, Outcome::Kind::Value);
    EXPECT_EQ(plan.Next(settings, Entry::MosaicDoMosaic).kind, Outcome::Kind::Real);
    EXPECT_EQ(plan.Next(settings, Entry::MosaicDoMosaic).kind, Outcome::Kind::Real);
}

TEST(FaultPlan, FetchNumbersFailOrRaiseAndRestartCountsAgain) {
    const Settings settings = ParseSettings("FailFetchAt=2\nExceptionAt=3\n");
    FaultPlan plan;
    EXPECT_EQ(plan.Next(settings, Entry::LivescanGetFPRawData).kind, Outcome::Kind::Real);
    const Outcome second = plan.Next(settings, Entry::LivescanGetFPRawData);
    EXPECT_EQ(second.kind, Outcome::Kind::Value);
    EXPECT_EQ(second.value, 0);
    const Outcome third = plan.Next(settings, Entry::LivescanGetFPRawData);
    EXPECT_EQ(third.kind, Outcome::Kind::Raise);
    EXPECT_EQ(third.code, kDefaultRaiseCode);
    EXPECT_EQ(plan.Next(settings, Entry::LivescanGetFPRawData).kind, Outcome::Kind::Real);
    EXPECT_EQ(plan.fetchCount(), 4);

    plan.Restart();
    EXPECT_EQ(plan.fetchCount(), 0);
    plan.Next(settings, Entry::LivescanGetFPRawData);
    EXPECT_EQ(plan.Next(settings, Entry::LivescanGetFPRawData).value, 0);
}

}  // namespace
}  // namespace kv90sim
