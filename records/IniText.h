// A small reader of INI text, the form of the office's settings files: the
// host half reads them without the station's toolkit, on any bitness.
#pragma once

#include <map>
#include <string>

namespace kv90rec {

// Keys by "section\nkey", both in lower case; values with surrounding blanks
// removed. Lines starting with ';' or '#' are comments; a UTF-8 byte order mark
// is skipped. A key outside any section belongs to the section "".
using IniValues = std::map<std::string, std::string>;

IniValues ParseIniText(const std::string& text);

// The value of `key` in `section` (any case); nullptr when absent.
const std::string* FindIniValue(const IniValues& values, const std::string& section, const std::string& key);

}  // namespace kv90rec
