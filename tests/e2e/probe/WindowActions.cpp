#include "WindowActions.h"
#include "Text.h"
#include <cctype>

UINT messageFrom(const std::string& text) {
    if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-'))
        return static_cast<UINT>(parseNumber(text));
    return RegisterWindowMessageW(fromUtf8(text).c_str());
}

bool postTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(hwnd, msg, wParam, lParam) != FALSE;
}

bool sendTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs, DWORD_PTR& result) {
    result = 0;
    return SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool sendCopyData(HWND hwnd, HWND sender, ULONG_PTR dwData, const std::vector<unsigned char>& bytes, UINT timeoutMs,
                  DWORD_PTR& result) {
    COPYDATASTRUCT cds{};
    cds.dwData = dwData;
    cds.cbData = static_cast<DWORD>(bytes.size());
    cds.lpData = bytes.empty() ? nullptr : const_cast<unsigned char*>(bytes.data());
    return sendTo(hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&cds), timeoutMs,
                  result);
}
