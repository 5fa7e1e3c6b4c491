// Text conversions through the system's own tables.
#include "service/TextUtf8.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, DWORD flags, const std::string& text, bool& ok) {
    ok = true;
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) {
        ok = false;
        return std::wstring();
    }
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(length, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

}  // namespace

bool Utf8ToWide(const std::string& utf8, std::wstring& wide) {
    bool ok = false;
    wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, ok);
    return ok;
}

std::string WideToUtf8(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }

std::string AnsiToUtf8(const std::string& ansi) {
    bool ok = false;
    return FromWide(CP_UTF8, ToWide(CP_ACP, 0, ansi, ok));
}

std::wstring AnsiToWide(const std::string& ansi) {
    bool ok = false;
    return ToWide(CP_ACP, 0, ansi, ok);
}
