#include "ControlFile.h"

#include "FileIo.h"

namespace kv90sim {

bool ControlFile::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && written.dwLowDateTime == other.written.dwLowDateTime &&
           written.dwHighDateTime == other.written.dwHighDateTime && sizeLow == other.sizeLow &&
           sizeHigh == other.sizeHigh;
}

ControlFile::ControlFile(std::wstring path) : path_(std::move(path)) {}

ControlFile::Stamp ControlFile::Look() const {
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.exists = true;
        stamp.written = data.ftLastWriteTime;
        stamp.sizeLow = data.nFileSizeLow;
        stamp.sizeHigh = data.nFileSizeHigh;
    }
    return stamp;
}

bool ControlFile::Refresh() {
    const Stamp now = Look();
    if (loaded_ && now == stamp_) return false;
    loaded_ = true;
    stamp_ = now;
    const auto text = now.exists ? ReadSmallFile(path_) : std::nullopt;
    settings_ = text ? ParseSettings(*text) : Settings{};
    return true;
}

}  // namespace kv90sim
