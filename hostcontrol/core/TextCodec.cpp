#include "TextCodec.h"

#include <windows.h>

namespace kv90host {

namespace {

std::string narrow(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string result(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, &result[0], needed, nullptr, nullptr);
    return result;
}

bool widen(UINT codePage, DWORD flags, const std::string& bytes, std::wstring& result) {
    result.clear();
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return false;
    result.assign(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, &result[0], needed);
    return true;
}

}  // namespace

UINT systemCodePage() {
    // The locale's code page, not GetACP(): a host whose manifest asks for UTF-8
    // has UTF-8 as its own code page, while the station reads the system's.
    DWORD codePage = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t)) &&
        codePage != 0)
        return codePage;
    return GetACP();
}

std::string toUtf8(const std::wstring& text) { return narrow(CP_UTF8, text); }

std::wstring fromUtf8OrAnsi(const std::string& bytes) {
    std::wstring result;
    if (widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, result)) return result;
    widen(systemCodePage(), 0, bytes, result);
    return result;
}

std::string toAnsi(const std::wstring& text) { return narrow(systemCodePage(), text); }

std::wstring fromAnsi(const std::string& bytes) {
    std::wstring result;
    widen(systemCodePage(), 0, bytes, result);
    return result;
}

}  // namespace kv90host
