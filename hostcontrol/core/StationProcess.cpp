#include "StationProcess.h"

#include <vector>

namespace kv90host {

bool StationProcess::start(const std::wstring& path, std::wstring& error) {
    startError_ = 0;
    wchar_t* namePart = nullptr;
    std::vector<wchar_t> full(MAX_PATH * 4);
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
    if (length == 0 || length >= full.size()) {
        startError_ = ERROR_BAD_PATHNAME;
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
        startError_ = GetLastError();
        error = L"CreateProcess failed with error " + std::to_wstring(startError_);
        return false;
    }
    UniqueHandle thread(info.hThread);  // never waited on: closed on the way out
    process_.Reset(info.hProcess);
    pid_ = info.dwProcessId;
    return true;
}

bool StationProcess::adopt(HWND window) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(window, &pid) || pid == 0) return false;
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return false;
    std::vector<wchar_t> image(MAX_PATH * 4);
    DWORD length = static_cast<DWORD>(image.size());
    fullPath_ = QueryFullProcessImageNameW(process.Get(), 0, image.data(), &length) ? std::wstring(image.data(), length)
                                                                                    : std::wstring();
    process_ = std::move(process);
    pid_ = pid;
    return true;
}

DWORD StationProcess::collect() {
    DWORD code = 0;
    if (process_) GetExitCodeProcess(process_.Get(), &code);
    process_.Reset();
    return code;
}

}  // namespace kv90host
