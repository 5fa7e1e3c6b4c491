#include "framework/IniFiles.h"

#include "framework/Exception.h"
#include "framework/SysUtils.h"

#include <windows.h>

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    std::string buffer(256, '\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), fileName_.c_str());
        // A full buffer less one means the value may have been cut: read again with more room.
        if (length + 1 < buffer.size() || buffer.size() >= 65536) return buffer.substr(0, length);
        buffer.resize(buffer.size() * 4);
    }
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str()))
        throw EFileError("Unable to write to " + fileName_ + ". " + SysErrorMessage(GetLastError()));
}
