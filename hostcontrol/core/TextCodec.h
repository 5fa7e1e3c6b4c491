// Conversions between the three encodings the link meets: UTF-16 inside the
// window system, UTF-8 on its standard streams, and the system's ANSI code page
// (GBK on a Chinese system), in which the capture program reads the person text.
#pragma once
#include <windows.h>

#include <string>

namespace kv90host {

// The system's ANSI code page, the one the station reads; the host process's
// own (GetACP()) may differ.
UINT systemCodePage();

std::string toUtf8(const std::wstring& text);
// Lines typed into a console or written by a test driver are UTF-8; a line that is
// not valid UTF-8 is taken as ANSI text instead, so that nothing is lost.
std::wstring fromUtf8OrAnsi(const std::string& bytes);
std::string toAnsi(const std::wstring& text);
std::wstring fromAnsi(const std::string& bytes);

}  // namespace kv90host
