// The host's shared block FINGER_ACTIVEX_FILE: where the capture program looks for
// the window to notify. Held open for as long as it should exist; a named mapping
// vanishes with its last handle.
#pragma once
#include "framework/HandleOwners.h"

#include <string>

namespace hostsim {

class HostBlock {
public:
    // Creates the block (paging-file backed) and writes the ANSI text and a zero
    // byte at its start. Replaces a block this object already holds. Returns false
    // and keeps the system's error code when the block cannot be made.
    bool create(const std::string& ansiText);
    void remove();

    bool exists() const { return mapping_.Valid(); }
    const std::string& text() const { return text_; }
    // Another process held a block of that name already; this one shares it.
    bool wasShared() const { return shared_; }
    DWORD lastError() const { return lastError_; }

private:
    UniqueHandle mapping_;
    MappedView view_;
    std::string text_;
    bool shared_ = false;
    DWORD lastError_ = 0;
};

// The decimal text a host writes for its window.
std::string windowHandleText(HWND window);

}  // namespace hostsim
