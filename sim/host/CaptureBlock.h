// The capture program's shared block FINGER_COLLECT_FILE, read by the host to
// find the capture window.
#pragma once
#include <windows.h>
#include <string>

namespace hostsim {

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

}  // namespace hostsim
