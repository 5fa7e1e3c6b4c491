// Upper bounds that keep a hostile skin archive from exhausting memory or time.
// A real skin is a few hundred kilobytes; these leave room for far larger ones.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skinlimits {

// Largest skin archive read from disk or from a resource.
constexpr std::size_t kMaxArchiveBytes = 64u * 1024u * 1024u;
// Largest skin resource file that an archive entry may inflate to.
constexpr std::size_t kMaxResourceBytes = 64u * 1024u * 1024u;
// Most entry headers followed in one skin resource file.
constexpr std::size_t kMaxResourceEntries = 65536;
// Most bytes of bitmap and text data loaded over all entries of one resource file.
constexpr std::size_t kMaxTotalEntryBytes = 128u * 1024u * 1024u;
// Largest side of one skin bitmap, and most pixels in one bitmap. A run-length
// bitmap expands a few bytes into a whole image, so these bound it as well.
constexpr std::int64_t kMaxBitmapSide = 16384;
constexpr std::int64_t kMaxBitmapPixels = 16LL * 1024 * 1024;
// Most pixels decoded over all bitmaps of one skin resource file.
constexpr std::int64_t kMaxTotalBitmapPixels = 32LL * 1024 * 1024;

}  // namespace skinlimits
