// An INI file read and written through the system's profile-string functions:
// sections and keys match without regard to case, a missing file reads as
// empty and the first write creates it.
#pragma once

#include <string>

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Raises EFileError when the system refuses the write.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string fileName_;
};
