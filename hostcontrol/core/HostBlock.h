// The host's shared block FINGER_ACTIVEX_FILE: where the station looks for the
// window to notify. Held open for as long as it should exist; a named mapping
// vanishes with its last handle.
#pragma once
#include "framework/HandleOwners.h"

#include <string>

namespace kv90host {

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

// Whether any process holds a host block now.
bool hostBlockExists();

// The decimal text a host writes for its window. Window handles fit 32 bits in
// both bitnesses, so a 64-bit host and the 32-bit station read the same text.
std::string windowHandleText(HWND window);

}  // namespace kv90host
