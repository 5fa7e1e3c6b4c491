#pragma once
// The control file, read again whenever its time stamp or size changes (or it
// appears or disappears).  Checking costs one attribute query, so it can be
// done on every call.

#include <windows.h>

#include <string>

#include "Settings.h"

namespace kv90sim {

class ControlFile {
public:
    explicit ControlFile(std::wstring path);

    // Looks at the file; true when it changed and `settings()` was replaced.
    bool Refresh();

    const Settings& settings() const { return settings_; }
    const std::wstring& path() const { return path_; }

private:
    struct Stamp {
        bool exists = false;
        FILETIME written{};
        DWORD sizeLow = 0;
        DWORD sizeHigh = 0;
        bool operator==(const Stamp& other) const;
    };

    Stamp Look() const;

    std::wstring path_;
    Stamp stamp_;
    bool loaded_ = false;
    Settings settings_;
};

}  // namespace kv90sim
