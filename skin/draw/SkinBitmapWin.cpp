#include "skin/draw/SkinBitmapWin.h"

#include "framework/Graphics.h"

#include <cstdint>

GdiObject<HBITMAP> CreateSkinHBitmap(const SkinBitmap& bitmap) {
    if (bitmap.Empty()) return GdiObject<HBITMAP>();
    // Rows from the top, like the skin bitmap.
    const BITMAPINFO info = DibInfo(bitmap.Width(), -bitmap.Height(), 24);
    void* bits = nullptr;
    GdiObject<HBITMAP> result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result || bits == nullptr) return GdiObject<HBITMAP>();

    const std::size_t stride = ((static_cast<std::size_t>(bitmap.Width()) * 24 + 31) / 32) * 4;
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* row = rows + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const SkinColor c = bitmap.Pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(c >> 16);     // blue
            row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);  // green
            row[3 * x + 2] = static_cast<std::uint8_t>(c);       // red
        }
    }
    GdiFlush();
    return result;
}
