#include "images/PersonFileName.h"

#include "framework/SysUtils.h"

#include <windows.h>

namespace {

// Longer names cannot be stored under a usual program folder.
constexpr size_t MAX_PART = 100;

bool IsForbiddenByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

// Walks the text character by character in the system code page, so that a
// trail byte equal to '\' or '|' counts as part of its character.
bool IsCleanText(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(c)) {
            if (i + 1 >= text.size()) return false;  // would swallow the "_" that follows
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
            ++i;
            continue;
        }
        if (c >= 0x80 || IsForbiddenByte(c)) return false;
    }
    return true;
}

bool IsDeviceName(const std::string& part) {
    const std::string base = UpperCase(part.substr(0, part.find('.')));
    static const char* const devices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                          "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                          "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device) return true;
    return false;
}

bool IsSafePart(const std::string& part) {
    if (part.size() > MAX_PART || !IsCleanText(part)) return false;
    if (part.find("..") != std::string::npos || IsDeviceName(part)) return false;
    return part.empty() || (part.back() != '.' && part.back() != ' ');
}

}  // namespace

bool IsSafePersonFileName(const std::string& key, const std::string& name) {
    return IsSafePart(key) && IsSafePart(name);
}
