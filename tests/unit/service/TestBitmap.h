// Grey 8-bit bitmaps written for the tests and the benchmark, in the station's slot file format.
#pragma once

#include <functional>
#include <string>

// Writes name into the temporary folder, side x side pixels with level(x, y)
// (0..255), and returns its path.
std::string WriteGreyBitmap(const std::string& name, int side, const std::function<int(int x, int y)>& level);
