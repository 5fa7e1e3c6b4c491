#pragma once
// Small text helpers for the control file, which is plain ASCII.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv90sim {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view text);
std::vector<std::string_view> Split(std::string_view text, char separator);

// Decimal or 0x-prefixed hexadecimal, optionally signed; nothing else on the text.
std::optional<long long> ParseInteger(std::string_view text);

}  // namespace kv90sim
