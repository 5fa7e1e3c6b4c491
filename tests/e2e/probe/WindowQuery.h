// Describes windows of any process as an outside observer sees them.
#pragma once
#include <windows.h>
#include <string>

// One JSON object: handle, class, text, owning process and thread, geometry in
// screen coordinates, state, styles, control id and the parent and owner handles.
std::string describeWindow(HWND hwnd);
// A JSON array describing every top-level window of the desktop.
std::string describeTopLevelWindows();
// A JSON array describing every message-only window (the system's own helper windows too).
std::string describeMessageOnlyWindows();
// A JSON array describing every descendant of the window, parents before children.
std::string describeChildWindows(HWND parent);
// The window's text as it answers WM_GETTEXT; a window that does not answer in
// time reads as empty so that a hung program cannot stall the probe.
std::wstring windowText(HWND hwnd);
HWND handleFrom(const std::string& text);
