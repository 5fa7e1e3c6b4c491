// The names and numbers both sides of the link agree on.
#pragma once
#include <windows.h>

namespace kv90host {

// The station notifies the host with FINGERMSG; the host commands the station
// with ACTIVEMSG. Both sides register the same names, so the numbers agree
// within one desktop session.
constexpr wchar_t kActiveMessageName[] = L"ACTIVEMSG";
constexpr wchar_t kFingerMessageName[] = L"FINGERMSG";

// Written by the host: its window handle, so that the station can notify it.
constexpr wchar_t kHostBlockName[] = L"FINGER_ACTIVEX_FILE";
// Written by the station: its main window handle.
constexpr wchar_t kCaptureBlockName[] = L"FINGER_COLLECT_FILE";
// The station's own block is this small; the host's is at least as large.
constexpr unsigned kBlockMinimumSize = 20;

constexpr WPARAM kCodeReady = 3124;      // lParam: the station's window
constexpr WPARAM kCodeCollected = 3224;  // lParam: the finger slot 0..9; sent, not posted
constexpr WPARAM kCodeClose = 3324;      // lParam: 0; also the host's close command

// The station's program file inside its installation folder.
constexpr wchar_t kStationProgram[] = L"Finger_KV90.exe";

struct MessageIds {
    UINT active = 0;
    UINT finger = 0;
};

// Registers "ACTIVEMSG" first, then "FINGERMSG", in the station's order.
MessageIds registerLinkMessages();

// READY, COLLECTED, CLOSE, or UNKNOWN for any other code.
const char* notificationName(WPARAM code);

}  // namespace kv90host
