// Parsing of a skin resource file ("SKINDATA.SK2"): a small header followed by
// a chain of 77-byte entry headers, each pointing at its data and at the next
// header; the header whose next offset is 0 ends the chain unprocessed.
#pragma once

#include "skin/archive/SkinTables.h"

#include <cstddef>
#include <cstdint>

namespace sk2 {
constexpr std::size_t kEntryHeaderSize = 77;
constexpr std::size_t kEntryNameSize = 64;
constexpr std::size_t kFileHeaderSize = 24;
constexpr std::uint8_t kKindBitmap = 0;
constexpr std::uint8_t kKindInt = 1;
constexpr std::uint8_t kKindBool = 2;
constexpr std::uint8_t kKindText = 3;
}  // namespace sk2

// Fills `tables` from the resource file held in memory. Returns false for a
// file that cannot be read as a skin: a short header, a header, offset or data
// range outside the file, a chain that loops or exceeds the skin limits, or a
// bitmap that does not decode. Integer entries use their first 4 bytes and flag
// entries their first byte; shorter data leaves the value unreadable, so that a
// value never takes more than its field's width.
bool ParseSkinResource(const std::uint8_t* data, std::size_t size, SkinTables& tables);
