// Conversions between the pipe's UTF-8, the window system's UTF-16, numbers and hex bytes.
#pragma once
#include <string>
#include <vector>

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& utf8);
// Accepts decimal, or hexadecimal with a 0x prefix; a leading minus is allowed.
// Throws std::invalid_argument on anything else.
long long parseNumber(const std::string& text);
std::string toHex(const unsigned char* bytes, size_t count);
// Throws std::invalid_argument on an odd length or a non-hex digit.
std::vector<unsigned char> fromHex(const std::string& hex);
std::vector<std::string> splitTabs(const std::string& line);
