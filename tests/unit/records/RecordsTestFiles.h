// Finger-like test images and slot files made the way the station makes them.
#pragma once

#include "records/GrayImage.h"

#include <cstdint>
#include <string>
#include <vector>

// A grey image with ridges of varying direction and a bright background
// around an oval finger; `seed` varies it so that no two fingers are equal.
kv90rec::GrayImage MakeFingerImage(int width, int height, int seed);

// An 8-bit bitmap with a grey palette, bottom row first, written here (not
// with the library's writer). With `topDown`, the height is negative and the
// rows top first.
std::string GreyBitmapFile(const kv90rec::GrayImage& image, bool topDown = false);
// A 24-bit bitmap of the same pixels, each level in all three channels.
std::string ColourBitmapFile(const kv90rec::GrayImage& image);

std::vector<uint8_t> Bytes(const std::string& text);

// The reference files of record and codec tests, when the machine has them.
std::string VectorsFolder();
