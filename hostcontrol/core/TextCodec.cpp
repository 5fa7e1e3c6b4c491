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

std::string toUtf8(const std::wstring& text) { return narrow(CP_UTF8, text); }

std::wstring fromUtf8OrAnsi(const std::string& bytes) {
    std::wstring result;
    if (widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, result)) return result;
    widen(CP_ACP, 0, bytes, result);
    return result;
}

std::string toAnsi(const std::wstring& text) { return narrow(CP_ACP, text); }

std::wstring fromAnsi(const std::string& bytes) {
    std::wstring result;
    widen(CP_ACP, 0, bytes, result);
    return result;
}

}  // namespace kv90host
