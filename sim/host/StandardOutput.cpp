#include "StandardOutput.h"

#include "LinkCore.h"

#include <windows.h>
#include <mutex>

namespace hostsim {

namespace {

std::mutex& outputLock() {
    static std::mutex lock;
    return lock;
}

void writeAll(HANDLE out, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) ||
            wrote == 0)
            return;
        done += wrote;
    }
}

}  // namespace

void printLine(const std::string& utf8) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    std::lock_guard<std::mutex> guard(outputLock());
    DWORD mode = 0;
    if (GetFileType(out) == FILE_TYPE_CHAR && GetConsoleMode(out, &mode)) {
        // A console shows UTF-16 right whatever its code page.
        const std::wstring text = fromUtf8OrAnsi(utf8) + L"\r\n";
        DWORD wrote = 0;
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
        return;
    }
    // WriteFile keeps nothing back, so the line is there at once; flushing a pipe
    // would instead wait until the reader has taken everything.
    writeAll(out, utf8 + "\n");
}

}  // namespace hostsim
