#include "common/GbkText.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT kCodePage = 936;

// Asked of the system, so that what is accepted is what the code page accepts.
bool IsCharacter(const char* bytes, int length) {
    wchar_t wide[2];
    return MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, wide, 2) == 1;
}

}  // namespace

size_t GbkCharacterAt(const std::string& text, size_t at) {
    if (at >= text.size()) return 0;
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) return 1;
    if (IsDBCSLeadByteEx(kCodePage, c)) return at + 1 < text.size() && IsCharacter(&text[at], 2) ? 2 : 0;
    return IsCharacter(&text[at], 1) ? 1 : 0;
}

std::string EscapeNonGbk(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (const size_t length = GbkCharacterAt(text, i)) {
            shown.append(text, i, length);
            i += length;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
        shown += escaped;
        ++i;
    }
    return shown;
}
