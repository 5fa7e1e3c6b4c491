// Decoding of the BMP file images that a skin resource file carries.
#pragma once

#include "skin/archive/SkinBitmap.h"

#include <cstddef>
#include <cstdint>

// Decodes a complete BMP file image ("BM" file header included): 1, 4, 8, 16,
// 24 and 32 bits per pixel, uncompressed, run-length encoded (4 and 8 bits) or
// with bit-field masks, bottom-up or top-down, with a core or an extended info
// header. Anything else, a truncated image, or one larger than the skin limits,
// is refused with false and leaves `out` untouched.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, SkinBitmap& out);
