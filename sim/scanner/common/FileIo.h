#pragma once
// The few file operations the simulator needs, each one open-use-close so that
// tests and the program can replace or delete the files at any time.

#include <optional>
#include <string>
#include <string_view>

namespace kv90sim {

// The whole file if it exists and is small (a control file); nothing otherwise.
std::optional<std::string> ReadSmallFile(const std::wstring& path);

// Creates or replaces the file with one write call; the path is in the ANSI
// code page, as the program passes it.
bool WriteWholeFile(const char* ansiPath, const void* data, size_t size);

// Appends one line (a line break is added) with one write call.
void AppendLine(const std::wstring& path, std::string_view line);

}  // namespace kv90sim
