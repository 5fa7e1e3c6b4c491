#include "framework/IniFiles.h"

#include "framework/Exception.h"
#include "framework/StagedFile.h"
#include "framework/SysUtils.h"

#include <windows.h>

namespace {

// Stands for a key that is not there: no value read from a file holds a line break.
const char kMissing[] = "\n";

std::string Value(const std::string& file, const std::string& section, const std::string& key) {
    return TIniFile(file).ReadString(section, key, kMissing);
}

// The sections of the file (section null) or the keys of one section, as the system lists them.
std::vector<std::string> Names(const std::string& file, const char* section) {
    std::string buffer(1024, '\0');
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                          file.c_str());
        // A list that filled the buffer but for its two closing nulls may have been cut: read again with more room.
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 20)) break;
        buffer.resize(buffer.size() * 4);
    }
    std::vector<std::string> names;
    for (size_t start = 0; start < length;) {
        const size_t end = buffer.find('\0', start);
        names.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool HasName(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (SameText(n, name)) return true;
    return false;
}

// Whether the copy reads back as the original with the values written: every
// value written is there, and every section and key of the original is there
// with its value unless a value was written for it. A copy that the system
// cut short (it may not check its own writes) lacks some of them.
bool ReadsBackWhole(const std::string& original, const std::string& copy, const std::vector<TIniValue>& values) {
    const std::vector<std::string> copySections = Names(copy, nullptr);
    for (const std::string& section : Names(original, nullptr)) {
        if (!HasName(copySections, section)) return false;
        for (const std::string& key : Names(original, section.c_str())) {
            std::string expected = Value(original, section, key);
            for (const TIniValue& v : values)
                if (SameText(v.section, section) && SameText(v.key, key)) expected = v.value;
            if (Value(copy, section, key) != expected) return false;
        }
    }
    for (const TIniValue& v : values)
        if (Value(copy, v.section, v.key) != v.value) return false;
    return true;
}

}  // namespace

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
    WriteStrings({{section, key, value}});
}

void TIniFile::WriteStrings(const std::vector<TIniValue>& values) const {
    TStagedFile copy(fileName_);
    copy.Write(FileExists(fileName_) ? ReadFileBytes(fileName_) : std::string());
    for (const TIniValue& v : values) {
        SetLastError(ERROR_SUCCESS);
        if (!WritePrivateProfileStringA(v.section.c_str(), v.key.c_str(), v.value.c_str(), copy.Path().c_str()))
            throw EFileError("Unable to write to " + fileName_ + ". " +
                             SysErrorReason(GetLastError(), "The system gave no reason."));
    }
    // A write the system reports as done may still have stopped short: Wine
    // reports success on a full disk and leaves the file cut, with no
    // dependable error. The system may also keep the file in memory: this lets
    // go of it (and reports failure whatever happens), so that the copy is
    // read back from the disk.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.Path().c_str());
    if (!ReadsBackWhole(fileName_, copy.Path(), values))
        throw EFileError("Cannot write file \"" + fileName_ +
                         "\". The system's copy of it does not read back with the values written and every other "
                         "key kept.");
    copy.Flush();
    copy.Commit();
}
