// Lossless JPEG 2000 (JP2 file), for receivers that take fingers losslessly.
#pragma once

#include "records/GrayImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// A JP2 file of the grey image: reversible 5/3 wavelet, one quality layer
// holding every bit, and the capture resolution box. False with OpenJPEG's
// reason on failure.
bool EncodeJp2Lossless(const GrayImage& image, std::vector<uint8_t>& jp2, std::string& error);

}  // namespace kv90rec
