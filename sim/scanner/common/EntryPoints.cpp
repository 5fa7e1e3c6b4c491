#include "EntryPoints.h"

#include "TextUtil.h"

namespace kv90sim {
namespace {

constexpr std::string_view kNames[kEntryCount] = {
    "LIVESCAN_Init",
    "LIVESCAN_Close",
    "LIVESCAN_SetVideoWindow",
    "LIVESCAN_SetCaptWindow",
    "LIVESCAN_SaveToFile",
    "LIVESCAN_BeginCapture",
    "LIVESCAN_GetFPRawData",
    "LIVESCAN_EndCapture",
    "LIVESCAN_GetErrorInfo",
    "LIVESCAN_GetBright",
    "LIVESCAN_SetBright",
    "LIVESCAN_GetContrast",
    "LIVESCAN_SetContrast",
    "MOSAIC_Init",
    "MOSAIC_Close",
    "MOSAIC_FingerQuality",
    "MOSAIC_ImageQuality",
    "MOSAIC_SetRollMode",
    "MOSAIC_IsFinger",
    "MOSAIC_Start",
    "MOSAIC_DoMosaic",
    "MOSAIC_Stop",
};

}  // namespace

std::string_view EntryName(Entry entry) { return kNames[static_cast<int>(entry)]; }

std::optional<Entry> FindEntry(std::string_view name) {
    for (int i = 0; i < kEntryCount; ++i) {
        if (EqualsNoCase(kNames[i], name)) return static_cast<Entry>(i);
    }
    return std::nullopt;
}

bool IsPerFrame(Entry entry) {
    switch (entry) {
    case Entry::LivescanBeginCapture:
    case Entry::LivescanGetFPRawData:
    case Entry::LivescanEndCapture:
    case Entry::MosaicIsFinger:
    case Entry::MosaicDoMosaic:
        return true;
    default:
        return false;
    }
}

}  // namespace kv90sim
