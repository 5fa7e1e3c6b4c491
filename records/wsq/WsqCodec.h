// WSQ, the wavelet compression identification systems take fingers in.
#pragma once

#include "records/GrayImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec::wsq {

constexpr double kDefaultBitRate = 0.75;  // bits per pixel, about 15:1
constexpr double kMinBitRate = 0.5;
constexpr double kMaxBitRate = 2.25;

// Compresses `image` at `bitsPerPixel` (kMinBitRate..kMaxBitRate); the file
// records image.ppi. False with a reason for an image or rate it cannot take.
bool Encode(const GrayImage& image, double bitsPerPixel, std::vector<uint8_t>& file, std::string& error);

// Reads a WSQ file whole. False with a reason for a file that is truncated,
// damaged or not WSQ; `image` is then left empty.
bool Decode(const uint8_t* data, size_t size, GrayImage& image, std::string& error);

}  // namespace kv90rec::wsq
