// UTF-8, the web's text, to and from the wide texts of the system's calls.
#pragma once

#include <string>

// False for bytes that are not UTF-8.
bool Utf8ToWide(const std::string& utf8, std::wstring& wide);
std::string WideToUtf8(const std::wstring& wide);
// A text of the system code page (GBK: the log, the station's file names).
std::string AnsiToUtf8(const std::string& ansi);
std::wstring AnsiToWide(const std::string& ansi);
