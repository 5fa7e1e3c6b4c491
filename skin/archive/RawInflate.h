// Inflation of a raw deflate stream (RFC 1951), as stored in ZIP entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Inflates `data` and returns at most `limit` bytes of output. Decoding ends
// quietly at the end of the stream, at the first malformed block, when the
// input runs out or when the limit is reached; the output produced until then
// is the result, so the caller judges it by its size.
std::vector<std::uint8_t> RawInflate(const std::uint8_t* data, std::size_t size, std::size_t limit);
