// The libraries export the live-scan entry points by plain name, and the
// control file can take any of them away.

#include <gtest/gtest.h>

#include "SimFolder.h"

namespace kv90sim_test {
namespace {

const char* const kCaptureNames[] = {
    "LIVESCAN_Init",         "LIVESCAN_Close",        "LIVESCAN_SetVideoWindow", "LIVESCAN_SetCaptWindow",
    "LIVESCAN_SaveToFile",   "LIVESCAN_BeginCapture", "LIVESCAN_GetFPRawData",   "LIVESCAN_EndCapture",
    "LIVESCAN_GetErrorInfo", "LIVESCAN_GetBright",    "LIVESCAN_SetBright",      "LIVESCAN_GetContrast",
    "LIVESCAN_SetContrast",
};
const char* const kMosaicNames[] = {
    "MOSAIC_Init",     "MOSAIC_Close", "MOSAIC_FingerQuality", "MOSAIC_ImageQuality", "MOSAIC_SetRollMode",
    "MOSAIC_IsFinger", "MOSAIC_Start", "MOSAIC_DoMosaic",      "MOSAIC_Stop",
};

TEST(Exports, EveryEntryPointUnderItsPlainName) {
    SimFolder folder;
    SimLibrary capture(folder, L"GALS7302.dll");
    SimLibrary mosaic(folder, L"GAMC7302.dll");
    ASSERT_TRUE(capture.loaded());
    ASSERT_TRUE(mosaic.loaded());
    for (const char* name : kCaptureNames) EXPECT_TRUE(capture.Exports(name)) << name;
    for (const char* name : kMosaicNames) EXPECT_TRUE(mosaic.Exports(name)) << name;
    EXPECT_FALSE(capture.Exports("LIVESCAN_Init@0"));
    EXPECT_FALSE(capture.Exports("_LIVESCAN_Init@0"));
    EXPECT_FALSE(capture.Exports("MOSAIC_Init"));
}

TEST(Exports, MissingEntryPointsAreReallyAbsent) {
    SimFolder folder;
    folder.WriteControl("Missing=LIVESCAN_SetVideoWindow, MOSAIC_Stop, LIVESCAN_Init\n");
    SimLibrary capture(folder, L"GALS7302.dll");
    SimLibrary mosaic(folder, L"GAMC7302.dll");
    for (const char* name : kCaptureNames) {
        const bool missing = std::string(name) == "LIVESCAN_SetVideoWindow" || std::string(name) == "LIVESCAN_Init";
        EXPECT_EQ(capture.Exports(name), !missing) << name;
    }
    for (const char* name : kMosaicNames) {
        EXPECT_EQ(mosaic.Exports(name), std::string(name) != "MOSAIC_Stop") << name;
    }
}

TEST(Exports, MissingIsDecidedWhenTheLibraryLoads) {
    SimFolder folder;
    {
        SimLibrary capture(folder, L"GALS7302.dll");
        folder.WriteControl("Missing=LIVESCAN_Close\n");
        EXPECT_TRUE(capture.Exports("LIVESCAN_Close"));
    }
    SimLibrary again(folder, L"GALS7302.dll");
    EXPECT_FALSE(again.Exports("LIVESCAN_Close"));
    EXPECT_TRUE(again.Exports("LIVESCAN_BeginCapture"));
}

}  // namespace
}  // namespace kv90sim_test
