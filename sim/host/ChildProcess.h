// The capture program started by the simulator, as the real host would start it.
#pragma once
#include "framework/HandleOwners.h"

#include <string>

namespace hostsim {

class ChildProcess {
public:
    // Starts the program with its own folder as working directory (the capture
    // program finds its files beside itself, but a host should not rely on that).
    // Returns false with a reason.
    bool start(const std::wstring& path, std::wstring& error);

    bool running() const { return process_.Valid(); }
    DWORD pid() const { return pid_; }
    const std::wstring& fullPath() const { return fullPath_; }
    // Signalled when the program ends; 0 before start and after collect().
    HANDLE waitHandle() const { return process_.Get(); }
    // Once ended: its exit code, and the handle is let go.
    DWORD collect();

private:
    UniqueHandle process_;
    DWORD pid_ = 0;
    std::wstring fullPath_;
};

}  // namespace hostsim
