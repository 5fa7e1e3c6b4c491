// What the host's side of the link tells whoever adapts it (a control, a
// service, the simulator). Called on the thread that opened the link.
#pragma once
#include <windows.h>

#include <string>

namespace kv90host {

class HostEvents {
public:
    // The station's window is known: persons may be named.
    virtual void ready() = 0;
    // A finger was stored in slot 0..9. Called inside the station's sent
    // notification: the station waits until this returns, so both files can be
    // copied here and stay as they are meanwhile. Keep it short; no modal windows.
    virtual void collected(int slot, const std::wstring& slotFile, const std::wstring& personSlotFile) = 0;
    // The station is gone: reason "closed" (it announced its close) or "ended"
    // (its process ended without a word: killed, or a fault), with its exit code.
    virtual void closed(const std::wstring& reason, DWORD exitCode) = 0;

protected:
    ~HostEvents() = default;
};

}  // namespace kv90host
