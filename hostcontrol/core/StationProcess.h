// The station's process as the host holds it: started by the host, or adopted
// from the window of a station that already runs. Its handle is what tells the
// host that the station is gone, whether it closed, was killed or crashed.
#pragma once
#include "framework/HandleOwners.h"

#include <string>

namespace kv90host {

class StationProcess {
public:
    // Starts the program with its own folder as working directory (the station
    // finds its files beside itself, but a host should not rely on that).
    // Returns false with a reason and keeps the system's error code.
    bool start(const std::wstring& path, std::wstring& error);
    // Takes the process that owns the window. Returns false when it cannot be
    // opened for waiting.
    bool adopt(HWND window);

    bool running() const { return process_.Valid(); }
    DWORD pid() const { return pid_; }
    DWORD startError() const { return startError_; }
    const std::wstring& fullPath() const { return fullPath_; }
    // Signalled when the program ends; 0 before start and after collect().
    HANDLE waitHandle() const { return process_.Get(); }
    // Once ended: its exit code, and the handle is let go.
    DWORD collect();

private:
    UniqueHandle process_;
    DWORD pid_ = 0;
    DWORD startError_ = 0;
    std::wstring fullPath_;
};

}  // namespace kv90host
