#include "skin/archive/BmpDecoder.h"

#include "framework/BmpFile.h"
#include "skin/archive/SkinLimits.h"

#include <cstdint>
#include <utility>
#include <vector>

bool DecodeBmp(const std::uint8_t* data, std::size_t size, SkinBitmap& out) {
    bmpfile::Header header;
    const bmpfile::Limits limits{skinlimits::kMaxBitmapSide, skinlimits::kMaxBitmapPixels};
    if (bmpfile::ReadHeader(data, size, limits, header) != bmpfile::Fault::None) return false;
    const std::size_t stride = header.format.Stride(header.width);
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(header.height));
    if (bmpfile::ReadPixels(data, size, header, rows.data()) != bmpfile::Fault::None) return false;

    const int width = header.width;
    const int height = header.height;
    std::vector<SkinColor> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        // The rows come bottom row first; the skin bitmap keeps the top row first.
        bmpfile::ExpandRowBgr(header.format, rows.data() + stride * static_cast<std::size_t>(height - 1 - y), width,
                              bgr.data());
        SkinColor* dst = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) dst[x] = bgr[3 * x + 2] | (bgr[3 * x + 1] << 8) | (bgr[3 * x] << 16);
    }
    out = SkinBitmap(width, height, std::move(pixels), header.format.bitsPerPixel);
    return true;
}
