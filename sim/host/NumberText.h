// Numbers and byte strings as they appear on the command line, on standard input
// and in the shared blocks.
#pragma once
#include "DecimalText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

using kv90host::parseUnsigned;
// Decimal, or hexadecimal after 0x; a leading minus is allowed, for window messages
// whose parameters a test wants to be negative.
bool parseSigned(const std::string& text, std::int64_t& value);
// Pairs of hex digits, either case; an empty text is no bytes.
bool parseHex(const std::string& text, std::vector<unsigned char>& bytes);
std::string toHex(const unsigned char* bytes, size_t count);
std::string toHex(const std::string& bytes);

}  // namespace hostsim
