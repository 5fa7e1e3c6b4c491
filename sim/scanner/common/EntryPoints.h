#pragma once
// The 22 entry points of the live-scan interface, as one enumeration shared by
// the control file (results per entry point, missing entries) and the journal.

#include <optional>
#include <string_view>

namespace kv90sim {

enum class Entry : int {
    LivescanInit,
    LivescanClose,
    LivescanSetVideoWindow,
    LivescanSetCaptWindow,
    LivescanSaveToFile,
    LivescanBeginCapture,
    LivescanGetFPRawData,
    LivescanEndCapture,
    LivescanGetErrorInfo,
    LivescanGetBright,
    LivescanSetBright,
    LivescanGetContrast,
    LivescanSetContrast,
    MosaicInit,
    MosaicClose,
    MosaicFingerQuality,
    MosaicImageQuality,
    MosaicSetRollMode,
    MosaicIsFinger,
    MosaicStart,
    MosaicDoMosaic,
    MosaicStop,
};

inline constexpr int kEntryCount = 22;

// The exported name, e.g. "LIVESCAN_Init".
std::string_view EntryName(Entry entry);

// Case-insensitive look-up of an exported name.
std::optional<Entry> FindEntry(std::string_view name);

// Entry points the program calls once per frame; the journal leaves them out
// unless asked to record everything.
bool IsPerFrame(Entry entry);

}  // namespace kv90sim
