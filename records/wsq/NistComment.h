// The NISTCOM comment that identification systems read a WSQ file's image
// attributes from: lines of "NAME value", the first giving the line count.
#pragma once

#include <string>

namespace kv90rec::wsq {

std::string MakeNistComment(int width, int height, int ppi, double bitsPerPixel);

// The PPI line of a NISTCOM comment; false when `text` is not one or has none.
bool ReadNistPpi(const std::string& text, int& ppi);

}  // namespace kv90rec::wsq
