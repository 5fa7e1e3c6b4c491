// What the host core's tests share: the stand-in stations' folders and a
// message loop that runs until a condition holds, as a host's loop would.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

// Dispatches the thread's messages until the condition holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD limitMs = 10000) {
    const DWORD began = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - began > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

inline std::wstring standIn(const char* folder) { return std::wstring(folder, folder + std::strlen(folder)); }

// The ready stand-in's folder, its Temp emptied: a file an earlier run left there must not stand in
// for one the stand-in stores in this run.
inline std::wstring readyStation() {
    const std::wstring folder = standIn(KV90_STAND_IN_READY);
    const std::wstring temp = folder + L"\\Temp\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    const std::unique_ptr<void, decltype(&FindClose)> search(FindFirstFileW((temp + L"*").c_str(), &found), FindClose);
    if (search.get() == INVALID_HANDLE_VALUE) return folder;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((temp + found.cFileName).c_str());
    } while (FindNextFileW(search.get(), &found));
    return folder;
}
