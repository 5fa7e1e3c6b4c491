// A stand-in for the host's window: a hidden top-level window on its own thread that
// records every registered message, user message and WM_COPYDATA it receives, so that
// a test can read what a program told its host.
#pragma once
#include <windows.h>
#include <string>

// Creates the window once (later calls return the same handle); 0 on failure.
HWND startHostWindow(const std::wstring& caption);
// A JSON array of the messages received since the last call, oldest first.
std::string takeHostEvents();
void stopHostWindow();
