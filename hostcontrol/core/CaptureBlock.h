// The station's shared block FINGER_COLLECT_FILE, read by the host to
// find the station's window.
#pragma once
#include <windows.h>
#include <string>

namespace kv90host {

struct CaptureBlockContent {
    bool exists = false;
    // The bytes from the start of the block up to its first zero byte, or the
    // whole block if it has none.
    std::string text;
};

CaptureBlockContent readCaptureBlock();

// Plain unsigned decimal that fits a 32-bit handle, not 0. Anything else is not
// a window the host can talk to.
bool parseWindowHandle(const std::string& text, HWND& window);

// The window FINGER_COLLECT_FILE names, if it is a live window; 0 otherwise.
HWND liveStationWindow();

}  // namespace kv90host
