#include "Processes.h"
#include "Json.h"
#include <tlhelp32.h>
#include <map>

namespace {

std::wstring imagePath(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h) return std::wstring();
    wchar_t path[MAX_PATH * 2] = L"";
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(h, 0, path, &size)) path[0] = L'\0';
    CloseHandle(h);
    return path;
}

}  // namespace

std::string describeProcesses() {
    JsonArray list;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list.str();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        JsonObject o;
        o.add("pid", entry.th32ProcessID)
            .add("exe", std::wstring(entry.szExeFile))
            .add("path", imagePath(entry.th32ProcessID));
        list.addRaw(o.str());
    }
    CloseHandle(snapshot);
    return list.str();
}

bool terminateProcess(DWORD pid, UINT exitCode) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (!h) return false;
    BOOL done = TerminateProcess(h, exitCode);
    CloseHandle(h);
    return done != FALSE;
}

bool injectFault(DWORD pid) {
    HANDLE h = OpenProcess(
        PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ,
        FALSE, pid);
    if (!h) return false;
    // The first page is never mapped, so the thread's first instruction faults.
    HANDLE thread =
        CreateRemoteThread(h, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr);
    CloseHandle(h);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}

std::string describeMemory(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h) return std::string();
    // Private bytes as the system counts them: committed memory of the process's own, walked
    // region by region (Wine reports no counters for another process).
    long long committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(h, at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += static_cast<long long>(region.RegionSize);
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    const DWORD gdi = GetGuiResources(h, GR_GDIOBJECTS), user = GetGuiResources(h, GR_USEROBJECTS);
    CloseHandle(h);
    if (committed == 0) return std::string();
    return JsonObject()
        .add("private", committed)
        .add("gdi", static_cast<long long>(gdi))
        .add("user", static_cast<long long>(user))
        .str();
}

namespace {
std::map<DWORD, HANDLE>& watched() {
    static std::map<DWORD, HANDLE> handles;
    return handles;
}
}  // namespace

bool watchProcess(DWORD pid) {
    if (watched().count(pid)) return true;
    HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h) return false;
    watched()[pid] = h;
    return true;
}

bool startWatchedProcess(const std::wstring& commandLine, DWORD& pid) {
    std::wstring writable = commandLine;  // CreateProcessW may write into the command line
    // The probe's standard output carries its answers: whatever the process (or the debugger Wine
    // starts for its crash) prints goes to the probe's error output instead, where faults are looked for.
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    const bool passErrors = errors && errors != INVALID_HANDLE_VALUE &&
                            SetHandleInformation(errors, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (passErrors) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = errors;
        startup.hStdError = errors;
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &writable[0], nullptr, nullptr, passErrors, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    watched()[info.dwProcessId] = info.hProcess;
    pid = info.dwProcessId;
    return true;
}

bool watchedExitCode(DWORD pid, DWORD& code) {
    auto it = watched().find(pid);
    if (it == watched().end() || WaitForSingleObject(it->second, 0) != WAIT_OBJECT_0) return false;
    if (!GetExitCodeProcess(it->second, &code)) return false;
    CloseHandle(it->second);
    watched().erase(it);
    return true;
}
