// Acts on windows of other processes the way another program on the desktop can.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// A message given as a number, or as a name to register (RegisterWindowMessage).
UINT messageFrom(const std::string& text);
bool postTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Returns false when the receiver did not answer within the timeout.
bool sendTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs, DWORD_PTR& result);
bool sendCopyData(HWND hwnd, HWND sender, ULONG_PTR dwData, const std::vector<unsigned char>& bytes, UINT timeoutMs,
                  DWORD_PTR& result);
