// Reading and writing single values of the program's INI file.
#pragma once

#include <string>

class TFileOper {
public:
    TFileOper() = delete;

    // Reads the key with "1" as the default, so that an absent key, section or
    // file yields "1". Failures propagate.
    static void ReadIniValue(const std::string& fileName, const std::string& section, const std::string& key,
                             std::string& value);

    // Writes the key; false when the write failed (nothing is raised).
    static bool WriteIniValue(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& value) noexcept;
};
