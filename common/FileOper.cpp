#include "common/FileOper.h"

#include "framework/IniFiles.h"

void TFileOper::ReadIniValue(const std::string& fileName, const std::string& section, const std::string& key,
                             std::string& value) {
    value = "0";
    TIniFile ini(fileName);
    value = ini.ReadString(section, key, "1");
}

bool TFileOper::WriteIniValue(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& value) noexcept {
    try {
        TIniFile(fileName).WriteString(section, key, value);
        return true;
    } catch (...) {
        return false;
    }
}
