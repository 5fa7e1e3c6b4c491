// The viewer's tool icons, drawn here so that the program carries its own:
// 31 sixteen-pixel images, of which the tool bar uses exit (2), zoom in (10),
// zoom out (12) and actual size (13). The others are plain document glyphs
// that keep the indices of the full set.
#include "forms/ImageEdit.h"

#include <cmath>
#include <cstdint>
#include <functional>

namespace {

constexpr int kIconSide = 16;
using Shader = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB, premultiplied

uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<uint32_t>(a) << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
}

// A magnifying glass: a ring with a light lens and a handle to the lower right.
uint32_t Lens(int x, int y) {
    const double d = std::hypot(x - 6.5, y - 6.5);
    if (d >= 4.0 && d <= 5.6) return Argb(255, 40, 70, 110);
    if (d < 4.0) return Argb(255, 225, 238, 250);
    if (x >= 10 && y >= 10 && std::abs((x - 10) - (y - 10)) <= 1 && x <= 14) return Argb(255, 120, 80, 40);
    return 0;
}

uint32_t Minus(int x, int y) {
    if (y >= 6 && y <= 7 && x >= 4 && x <= 9) return Argb(255, 20, 110, 40);
    return Lens(x, y);
}

uint32_t Plus(int x, int y) {
    if (((y >= 6 && y <= 7) && x >= 4 && x <= 9) || ((x >= 6 && x <= 7) && y >= 4 && y <= 9))
        return Argb(255, 20, 110, 40);
    return Lens(x, y);
}

// "1:1" inside the lens.
uint32_t ActualSize(int x, int y) {
    const bool one = (x == 4 || x == 9) && y >= 4 && y <= 9;
    const bool colon = x == 6 || x == 7 ? (y == 5 || y == 8) : false;
    if (one || colon) return Argb(255, 20, 110, 40);
    return Lens(x, y);
}

// An open door with an arrow leaving it.
uint32_t Exit(int x, int y) {
    if (x >= 2 && x <= 8 && y >= 1 && y <= 14 && (x == 2 || x == 8 || y == 1 || y == 14)) return Argb(255, 90, 60, 30);
    if (x >= 3 && x <= 7 && y >= 2 && y <= 13) return Argb(255, 235, 215, 180);
    if (y >= 7 && y <= 8 && x >= 6 && x <= 14) return Argb(255, 200, 40, 40);
    if (x >= 11 && x <= 14 && std::abs(y - 7.5) <= 14 - x + 0.5 && x >= 11) return Argb(255, 200, 40, 40);
    return 0;
}

// A sheet of paper with a folded corner, tinted per index.
Shader Document(int index) {
    const int hue = (index * 47) % 160;
    return [hue](int x, int y) -> uint32_t {
        if (x < 3 || x > 12 || y < 1 || y > 14) return 0;
        if (x > 9 && y < 1 + (x - 9)) return 0;
        if (x == 3 || x == 12 || y == 14 || y == 1 || (x > 9 && y == 1 + (x - 9))) return Argb(255, 80, 80, 90);
        if (y >= 4 && y <= 11 && y % 2 == 0 && x >= 5 && x <= 10) return Argb(255, 60 + hue / 2, 90, 170 - hue / 2);
        return Argb(255, 250, 250, 250);
    };
}

BitmapHandle Render(const Shader& shade) {
    const BITMAPINFO info = DibInfo(kIconSide, -kIconSide, 32);  // top-down, so y grows downwards as in the shaders
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return bitmap;
    auto pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kIconSide; ++y)
        for (int x = 0; x < kIconSide; ++x) pixels[y * kIconSide + x] = shade(x, y);
    return bitmap;
}

}  // namespace

void AddViewerIcons(TImageList& list) {
    for (int index = 0; index < 31; ++index) {
        Shader shade = Document(index);
        if (index == 2) shade = Exit;
        if (index == 10) shade = Plus;
        if (index == 12) shade = Minus;
        if (index == 13) shade = ActualSize;
        BitmapHandle bitmap(Render(shade));
        if (bitmap) list.Add(bitmap.Get());
    }
}
