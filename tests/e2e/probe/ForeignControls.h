// Reads and sets state of controls in another process: a native tool bar's buttons, the
// keyboard focus of a window's thread, and a window's text.
#pragma once
#include <windows.h>
#include <string>

// A JSON array with one object per tool bar button: index, command id, state and style
// bits, text, and its rectangle in screen coordinates (separators included).
// Throws std::runtime_error when the tool bar's process memory cannot be used.
std::string describeToolbarButtons(HWND toolbar);
// A JSON object with the focus, active and capture windows of the thread that owns hwnd.
std::string describeGuiThread(HWND hwnd);
// WM_SETTEXT, which the window system carries across processes; false without an answer.
bool setTextOf(HWND hwnd, const std::wstring& text, UINT timeoutMs, DWORD_PTR& result);
