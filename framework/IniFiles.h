// An INI file read and written through the system's profile-string functions:
// sections and keys match without regard to case, a missing file reads as
// empty and the first write creates it.
#pragma once

#include <string>
#include <vector>

struct TIniValue {
    std::string section;
    std::string key;
    std::string value;
};

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Raises EFileError when the system refuses the write; the file is then as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    // Writes the values in one replacement of the file, whole or not at all:
    // the system writes them into a copy of the file beside it, and the copy
    // takes the file's place once it reads back with every value written and
    // every other key as it was. A value that the system reads back otherwise
    // (blanks or quotes at its ends) therefore counts as not written. Raises
    // EFileError; the file is then as it was.
    void WriteStrings(const std::vector<TIniValue>& values) const;

private:
    std::string fileName_;
};
