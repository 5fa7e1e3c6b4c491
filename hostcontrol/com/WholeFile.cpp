#include "WholeFile.h"

#include <algorithm>

namespace kv90com {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Removes the temporary file unless it took the target's name.
class TemporaryName {
public:
    explicit TemporaryName(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryName() {
        if (!placed_) DeleteFileW(path_.c_str());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::wstring& path() const { return path_; }
    void placed() { placed_ = true; }

private:
    std::wstring path_;
    bool placed_ = false;
};

std::wstring folderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return L".";
    // "C:\name": the drive's root keeps its separator.
    return separator == 2 && path[1] == L':' ? path.substr(0, 3) : path.substr(0, separator);
}

bool failed(DWORD& systemError) {
    systemError = GetLastError();
    if (systemError == ERROR_SUCCESS) systemError = ERROR_WRITE_FAULT;
    return false;
}

bool writeAll(HANDLE file, const std::vector<uint8_t>& bytes, DWORD& systemError) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        SetLastError(ERROR_SUCCESS);
        // A write that writes nothing without a reason is a failure too, or the loop would never end.
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return failed(systemError);
        done += written;
    }
    return true;
}

}  // namespace

bool writeWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, DWORD& systemError) {
    systemError = ERROR_SUCCESS;
    if (path.empty()) {
        systemError = ERROR_PATH_NOT_FOUND;
        return false;
    }
    wchar_t name[MAX_PATH + 1] = {};
    // The system picks a name nobody else holds and creates the file.
    if (!GetTempFileNameW(folderOf(path).c_str(), L"kv9", 0, name)) return failed(systemError);
    TemporaryName temporary(name);
    FileHandle file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return failed(systemError);
    if (!writeAll(file.get(), bytes, systemError)) return false;
    if (!FlushFileBuffers(file.get()) || !file.close()) return failed(systemError);
    if (!MoveFileExW(temporary.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failed(systemError);
    temporary.placed();
    return true;
}

}  // namespace kv90com
