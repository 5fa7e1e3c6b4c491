#include "CaptureMessages.h"

#include "TextCodec.h"

namespace kv90host {

namespace {

Delivery sendWithTimeout(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    Delivery delivery;
    DWORD_PTR result = 0;
    SetLastError(0);
    if (SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result)) {
        delivery.delivered = true;
        delivery.result = static_cast<LRESULT>(result);
    } else {
        delivery.error = GetLastError();
        if (delivery.error == 0) delivery.error = ERROR_TIMEOUT;
    }
    return delivery;
}

}  // namespace

std::vector<unsigned char> personPayload(const std::wstring& text) {
    const std::string ansi = toAnsi(text);
    std::vector<unsigned char> bytes(ansi.begin(), ansi.end());
    bytes.push_back(0);
    return bytes;
}

Delivery sendCopyData(HWND target, HWND sender, const std::vector<unsigned char>& bytes, DWORD byteCount, bool nullData,
                      ULONG_PTR tag, DWORD timeoutMs) {
    std::vector<unsigned char> padded(bytes);
    if (padded.size() < byteCount) padded.resize(byteCount, 0);
    COPYDATASTRUCT data{};
    data.dwData = tag;
    data.cbData = byteCount;
    data.lpData = nullData || padded.empty() ? nullptr : padded.data();
    return sendWithTimeout(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&data),
                           timeoutMs);
}

Delivery postCommand(HWND target, UINT message, WPARAM code, LPARAM value) {
    Delivery delivery;
    if (PostMessageW(target, message, code, value)) {
        delivery.delivered = true;
    } else {
        delivery.error = GetLastError();
    }
    return delivery;
}

Delivery sendCommand(HWND target, UINT message, WPARAM code, LPARAM value, DWORD timeoutMs) {
    return sendWithTimeout(target, message, code, value, timeoutMs);
}

}  // namespace kv90host
