#include "ChildProcess.h"

#include <vector>

namespace hostsim {

bool ChildProcess::start(const std::wstring& path, std::wstring& error) {
    wchar_t* namePart = nullptr;
    std::vector<wchar_t> full(MAX_PATH * 4);
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
    if (length == 0 || length >= full.size()) {
        error = L"cannot resolve the path";
        return false;
    }
    fullPath_.assign(full.data(), length);
    std::wstring folder = namePart ? std::wstring(full.data(), namePart) : fullPath_;
    // The root of a drive keeps its backslash; any other folder loses it.
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();

    std::wstring commandLine = L"\"" + fullPath_ + L"\"";
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(fullPath_.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        error = L"CreateProcess failed with error " + std::to_wstring(GetLastError());
        return false;
    }
    UniqueHandle thread(info.hThread);  // never waited on: closed on the way out
    process_.Reset(info.hProcess);
    pid_ = info.dwProcessId;
    return true;
}

DWORD ChildProcess::collect() {
    DWORD code = 0;
    if (process_) GetExitCodeProcess(process_.Get(), &code);
    process_.Reset();
    return code;
}

}  // namespace hostsim
