#pragma once
// 8-bit grey bitmaps, as the capture library saves finger images.

#include <cstdint>
#include <vector>

namespace kv90sim {

// A complete .bmp file: headers, a 256-entry grey palette and the rows bottom
// up, each padded to four bytes.  `image` is top-down, one byte per pixel.
// `file` is reused, so saving again allocates nothing.
void EncodeGreyBmp(const std::uint8_t* image, int width, int height, std::vector<std::uint8_t>& file);

}  // namespace kv90sim
