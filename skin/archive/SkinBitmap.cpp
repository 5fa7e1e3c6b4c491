#include "skin/archive/SkinBitmap.h"

#include <algorithm>
#include <utility>

namespace {
constexpr SkinColor kRgbMask = 0xFFFFFFu;
}

SkinBitmap::SkinBitmap(int width, int height, std::vector<SkinColor> pixels, int bitsPerPixel)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), pixels_(std::move(pixels)) {
    // Only complete images are kept; a short pixel list would make Pixel() unsafe.
    if (width_ <= 0 || height_ <= 0 ||
        pixels_.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
        width_ = height_ = 0;
        pixels_.clear();
    }
    for (SkinColor& p : pixels_) p &= kRgbMask;
}

void SkinBitmap::SetTransparentColor(SkinColor color) {
    // A value with its top byte set (a missing colour reads as -1) matches no pixel.
    transparent_ = true;
    transparentColor_ = color;
}

std::size_t SkinBitmap::ReplaceColor(SkinColor from, SkinColor to) {
    to &= kRgbMask;
    std::size_t replaced = 0;
    for (SkinColor& p : pixels_) {
        if (p == from) {
            p = to;
            ++replaced;
        }
    }
    return replaced;
}

bool SkinBitmap::Contains(SkinColor color) const {
    return std::find(pixels_.begin(), pixels_.end(), color) != pixels_.end();
}

SkinBitmap RotateQuarter(const SkinBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<SkinColor> turned(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    // Column x of the turned image is row h-1-x of the original, read left to right from its top.
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < h; ++x) turned[static_cast<std::size_t>(y) * h + x] = bitmap.Pixel(y, h - 1 - x);
    SkinBitmap result(h, w, std::move(turned), bitmap.BitsPerPixel());
    if (bitmap.Transparent()) result.SetTransparentColor(bitmap.TransparentColor());
    return result;
}
