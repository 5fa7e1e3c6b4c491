// What the host sends to the station's window: the person text by WM_COPYDATA and
// commands on ACTIVEMSG.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace kv90host {

struct Delivery {
    bool delivered = false;
    LRESULT result = 0;
    DWORD error = 0;  // when not delivered; ERROR_TIMEOUT for a window that did not answer in time
};

// The text as the station reads it: ANSI bytes with their zero byte.
std::vector<unsigned char> personPayload(const std::wstring& text);

// Sends WM_COPYDATA and waits up to timeoutMs for the answer, meanwhile answering
// what the station sends to the host (its collected notification may come
// in between). cbData is byteCount; the bytes are padded with zeros up to it, so
// that the system never reads beyond them. nullData sends a null lpData.
Delivery sendCopyData(HWND target, HWND sender, const std::vector<unsigned char>& bytes, DWORD byteCount, bool nullData,
                      ULONG_PTR tag, DWORD timeoutMs);

// ACTIVEMSG with a code, posted or sent.
Delivery postCommand(HWND target, UINT message, WPARAM code, LPARAM value);
Delivery sendCommand(HWND target, UINT message, WPARAM code, LPARAM value, DWORD timeoutMs);

}  // namespace kv90host
