// PNG, lossless: the form a web page or an image viewer takes a finger in.
#pragma once

#include "records/GrayImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// An 8-bit grey PNG of the image with its resolution in the pHYs chunk (500
// ppi is 19,685 pixels per metre). False with libpng's reason on failure.
bool EncodePng(const GrayImage& image, std::vector<uint8_t>& png, std::string& error);

// Pixels per metre for a resolution in pixels per inch, rounded.
uint32_t PixelsPerMetre(int ppi);

}  // namespace kv90rec
