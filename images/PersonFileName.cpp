#include "images/PersonFileName.h"

#include "common/GbkText.h"

#include <windows.h>

#include <cstring>

namespace {

// A name longer than this is no single path component on any Windows file system.
constexpr size_t kMaxComponentChars = 255;

bool IsForbiddenByte(unsigned char c) { return c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr; }

// Counts the characters of a GBK text; -1 when it is not valid GBK or, for a
// file name, holds a single-byte character that no file name takes. A trail
// byte equal to '\' or '|' belongs to its character and is no separator.
long GbkCharacterCount(const std::string& text, bool fileName = false) {
    long count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const size_t length = GbkCharacterAt(text, i);
        if (length == 0) return -1;
        if (length == 1 && fileName && IsForbiddenByte(static_cast<unsigned char>(text[i]))) return -1;
        i += length;
    }
    return count;
}

// Windows opens a device for a base name (up to the first dot, trailing
// spaces dropped) that is a device name, whatever extension follows.
bool NamesADevice(const std::string& fileName) {
    std::string base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const devices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3",   "COM4",
                                          "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",
                                          "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base.size() == std::strlen(device) && _stricmp(base.c_str(), device) == 0) return true;
    return false;
}

}  // namespace

bool IsSafeFileNameIn(const std::string& folder, const std::string& fileName) {
    const long nameChars = GbkCharacterCount(fileName, true);
    if (nameChars <= 0 || static_cast<size_t>(nameChars) > kMaxComponentChars) return false;
    // "." and ".." name folders; a name ending in a dot or space is stored without it.
    if (fileName == "." || fileName == ".." || fileName.back() == '.' || fileName.back() == ' ') return false;
    if (NamesADevice(fileName)) return false;
    const long folderChars = GbkCharacterCount(folder);
    return folderChars >= 0 && folderChars + nameChars < MAX_PATH;
}

bool IsWholeGbkText(const std::string& text) { return GbkCharacterCount(text) >= 0; }
