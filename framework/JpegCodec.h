// libjpeg behind two calls: 24-bit pixel rows to JPEG data and back. libjpeg
// reports its errors by a long jump; here they become an Exception carrying
// libjpeg's own text, so that a damaged file never ends the process.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace jpegcodec {

// A decoded picture wider or higher than this is refused from its header
// alone, before any pixel memory is taken.
constexpr int kMaxSide = 16384;
// Likewise for the pixel count: 8192 x 8192 is 192 MB as a 24-bit bitmap,
// already much of a 32-bit process's address space.
constexpr long long kMaxPixels = 8192LL * 8192LL;
// libjpeg's own working memory (progressive pictures keep all coefficients).
constexpr long kMaxWorkingMemory = 256L * 1024 * 1024;

// Rows of blue, green, red bytes, the layout of a 24-bit device-independent
// bitmap. Stride leads from one row to the one below it; it is negative for
// a bitmap stored bottom-up.
struct BgrSource {
    const unsigned char* top;
    std::ptrdiff_t stride;
    int width;
    int height;
};

struct BgrTarget {
    unsigned char* top;
    std::ptrdiff_t stride;
    int width;
    int height;
};

// Baseline JFIF with three components (YCbCr), libjpeg's standard tables and
// sampling, scaled to quality 1 to 100.
std::string EncodeBgr(const BgrSource& image, int quality);

// Decodes a whole JPEG picture. Allocate is called once, with the picture's
// size after it has been checked against the limits above, and returns the
// rows to fill, of exactly that size. Warnings count as errors: libjpeg only
// warns about truncated or corrupt data, and would otherwise hand back a
// picture with a grey remainder.
void DecodeBgr(const std::string& bytes, const std::function<BgrTarget(int width, int height)>& allocate);

}  // namespace jpegcodec
