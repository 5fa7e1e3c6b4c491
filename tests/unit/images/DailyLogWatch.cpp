#include "DailyLogWatch.h"

#include "common/SysOper.h"
#include "framework/SysUtils.h"

#include <windows.h>

namespace {

// "yyyy-mm-dd hh:nn:ss : "
constexpr size_t StampLength = 22;

}  // namespace

DailyLogWatch::DailyLogWatch() : folder_(TSysOper::GetAppPath() + "LogFiles") {
    createdFolder_ = CreateDirectoryA(folder_.c_str(), nullptr) != 0;
    start_ = Contents().size();
}

DailyLogWatch::~DailyLogWatch() {
    if (!createdFolder_) return;
    DeleteFileA(LogPath().c_str());
    RemoveDirectoryA(folder_.c_str());
}

std::string DailyLogWatch::LogPath() const { return folder_ + "\\FINGER" + FormatDateTime("yyyymmdd", Now()) + ".txt"; }

std::string DailyLogWatch::Contents() const {
    const std::string path = LogPath();
    return FileExists(path) ? ReadFileBytes(path) : std::string();
}

std::vector<std::string> DailyLogWatch::NewLines() const {
    const std::string text = Contents();
    std::vector<std::string> lines;
    for (size_t at = start_; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> DailyLogWatch::NewMessages() const {
    std::vector<std::string> messages;
    for (const std::string& line : NewLines())
        messages.push_back(line.size() >= StampLength ? line.substr(StampLength) : line);
    return messages;
}
