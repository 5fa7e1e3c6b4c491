#include "common/SysOper.h"

#include "common/GbkText.h"

#include "framework/Handles.h"
#include "framework/SysUtils.h"

#include <mutex>

std::string TSysOper::GetAppPath() {
    try {
        return ExtractFilePath(ModuleFileName());
    } catch (...) {
        return std::string();
    }
}

void TSysOper::WriteLog(const std::string& message) noexcept { WriteLogTo(GetAppPath(), message); }

void TSysOper::WriteLogTo(const std::string& appPath, const std::string& message) noexcept {
    // Appends of the two threads are made one at a time: an append is not always atomic
    // (Wine's is not), and two at once could write one line over the other.
    static std::mutex lock;
    try {
        const std::lock_guard<std::mutex> hold(lock);
        // The clock is read twice, for the file name and for the line, so a line
        // written on the stroke of midnight may carry the other day's time.
        const std::string path = appPath + "LogFiles\\FINGER" + FormatDateTime("yyyymmdd", Now()) + ".txt";
        // A text from outside (a person's name) may hold bytes that are no GBK; written raw,
        // they would leave the rest of the day's file unreadable as GBK.
        const std::string line = FormatDateTime("yyyy-mm-dd hh:nn:ss", Now()) + " : " + EscapeNonGbk(message) + "\r\n";
        // Both threads log; sharing the file for writing keeps one thread's line
        // from being lost while the other has the file open.
        UniqueHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        DWORD written = 0;
        WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
    }
}
