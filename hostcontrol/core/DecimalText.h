// Plain unsigned decimal, as the blocks of the link carry window handles.
#pragma once
#include <cstdint>
#include <string>

namespace kv90host {

// Decimal digits only (no sign, no spaces), at most `limit`.
bool parseUnsigned(const std::string& text, std::uint64_t limit, std::uint64_t& value);

}  // namespace kv90host
