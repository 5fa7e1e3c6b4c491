#include "KernelObjects.h"
#include "Text.h"
#include <windows.h>
#include <map>
#include <stdexcept>
#include <cstring>

namespace {

std::map<std::string, HANDLE>& heldMutexes() {
    static std::map<std::string, HANDLE> held;
    return held;
}

std::map<std::string, HANDLE>& heldMappings() {
    static std::map<std::string, HANDLE> held;
    return held;
}

bool closeHeld(std::map<std::string, HANDLE>& held, const std::string& name) {
    auto it = held.find(name);
    if (it == held.end()) return false;
    CloseHandle(it->second);
    held.erase(it);
    return true;
}

std::map<std::string, HANDLE>& heldFiles() {
    static std::map<std::string, HANDLE> held;
    return held;
}

}  // namespace

bool holdFile(const std::string& path) {
    if (heldFiles().count(path)) return true;
    HANDLE h = CreateFileW(fromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    heldFiles()[path] = h;
    return true;
}

bool releaseFile(const std::string& path) { return closeHeld(heldFiles(), path); }

MutexHold holdMutex(const std::string& name) {
    if (heldMutexes().count(name)) return {true, true};
    HANDLE h = CreateMutexW(nullptr, TRUE, fromUtf8(name).c_str());
    DWORD error = GetLastError();
    if (!h) return {false, false};
    heldMutexes()[name] = h;
    return {true, error == ERROR_ALREADY_EXISTS};
}

bool releaseMutex(const std::string& name) { return closeHeld(heldMutexes(), name); }

bool mutexExists(const std::string& name) {
    HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, fromUtf8(name).c_str());
    if (h) {
        CloseHandle(h);
        return true;
    }
    // Access denied still means that something holds the name.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

std::vector<unsigned char> readMapping(const std::string& name, size_t size) {
    HANDLE h = OpenFileMappingW(FILE_MAP_READ, FALSE, fromUtf8(name).c_str());
    if (!h) throw std::runtime_error("OpenFileMapping failed, error " + std::to_string(GetLastError()));
    void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, size);
    if (!view) {
        DWORD error = GetLastError();
        CloseHandle(h);
        throw std::runtime_error("MapViewOfFile failed, error " + std::to_string(error));
    }
    std::vector<unsigned char> bytes(size);
    std::memcpy(bytes.data(), view, size);
    UnmapViewOfFile(view);
    CloseHandle(h);
    return bytes;
}

bool createMapping(const std::string& name, size_t size, const std::vector<unsigned char>& bytes, bool& existed) {
    if (bytes.size() > size) return false;
    closeHeld(heldMappings(), name);
    HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                  fromUtf8(name).c_str());
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!h) return false;
    void* view = MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, size);
    if (!view) {
        CloseHandle(h);
        return false;
    }
    if (!bytes.empty()) std::memcpy(view, bytes.data(), bytes.size());
    UnmapViewOfFile(view);
    heldMappings()[name] = h;
    return true;
}

bool closeMapping(const std::string& name) { return closeHeld(heldMappings(), name); }
