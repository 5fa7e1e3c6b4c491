// A decoded skin bitmap: true-colour pixels plus the transparency setting that
// the engine draws it with. Kept free of any windowing API so that the skin
// parser can be built and fuzzed on any platform.
#pragma once

#include <cstdint>
#include <vector>

// A colour as the skin stores it: 0x00BBGGRR.
using SkinColor = std::uint32_t;

class SkinBitmap {
public:
    SkinBitmap() = default;
    // Pixels are row-major from the top row down; the top byte of each is ignored.
    SkinBitmap(int width, int height, std::vector<SkinColor> pixels, int bitsPerPixel);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Bit depth of the source image; 24 once the pixels were converted.
    int BitsPerPixel() const { return bitsPerPixel_; }
    const std::vector<SkinColor>& Pixels() const { return pixels_; }

    // The pixel at x, y; callers stay inside Width() x Height().
    SkinColor Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
    void SetPixel(int x, int y, SkinColor color) { pixels_[Index(x, y)] = color & 0xFFFFFFu; }

    // Fixed-colour transparency: pixels of this colour are not drawn.
    bool Transparent() const { return transparent_; }
    SkinColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(SkinColor color);

    // Makes the image a 24-bit one; the pixels keep their colours.
    void ConvertTo24Bit() { bitsPerPixel_ = 24; }
    // Replaces every pixel of one colour; returns how many were replaced. A colour
    // with its top byte set matches no pixel.
    std::size_t ReplaceColor(SkinColor from, SkinColor to);
    // Whether any pixel has this colour.
    bool Contains(SkinColor color) const;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    std::vector<SkinColor> pixels_;
    bool transparent_ = false;
    SkinColor transparentColor_ = 0;
};

// The image turned a quarter clockwise (its width becomes its height), with the
// same transparency: the track bar channel of a vertical bar.
SkinBitmap RotateQuarter(const SkinBitmap& bitmap);
