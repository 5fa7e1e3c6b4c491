// A slot file (the station's Windows bitmap) as the grey image the records carry.
#pragma once

#include "records/GrayImage.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kv90rec {

// Reads any bitmap the station's image framework can write: a grey palette
// gives its levels as they are, any colour image its luminance (ITU-R BT.601
// weights, rounded). The image is taken as captured at 500 ppi: a bitmap's
// own resolution fields are left alone, since the capture library does not
// fill them. False with a reason for data that is not a readable bitmap.
bool ReadSlotBitmap(const uint8_t* data, size_t size, GrayImage& image, std::string& error);

// An 8-bit grey bitmap of the image, bottom row first with a grey palette, as
// the station writes its slot files: for looking at a decoded file.
std::string WriteGreyBitmap(const GrayImage& image);

}  // namespace kv90rec
