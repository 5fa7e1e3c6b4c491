#include "skin/archive/BmpDecoder.h"

#include "SkinTestBuilders.h"

#include <gtest/gtest.h>

namespace {

// A BMP file image from raw header fields; rows are given bottom row first.
Bytes Bmp(std::int32_t width, std::int32_t height, int bpp, const Bytes& pixels, const Bytes& palette = {},
          std::uint32_t compression = 0, const Bytes& masks = {}) {
    Bytes info;
    const auto put = [&info](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) info.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bpp), 2);
    put(compression, 4);
    put(static_cast<std::uint32_t>(pixels.size()), 4);
    put(0, 16);
    info.insert(info.end(), masks.begin(), masks.end());
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    Bytes out = {'B', 'M'};
    const auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put32(offset + static_cast<std::uint32_t>(pixels.size()));
    put32(0);
    put32(offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

SkinBitmap Decode(const Bytes& file) {
    SkinBitmap bitmap;
    EXPECT_TRUE(DecodeBmp(file.data(), file.size(), bitmap));
    return bitmap;
}

bool Decodes(const Bytes& file) {
    SkinBitmap bitmap;
    return DecodeBmp(file.data(), file.size(), bitmap);
}

}  // namespace

TEST(BmpDecoder, Decodes24BitBottomUp) {
    const SkinBitmap b =
        Decode(Bmp24(3, 2, [](int x, int y) { return static_cast<std::uint32_t>(x + 16 * y) * 0x010203u; }));
    ASSERT_EQ(3, b.Width());
    ASSERT_EQ(2, b.Height());
    EXPECT_EQ(24, b.BitsPerPixel());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(static_cast<std::uint32_t>(x + 16 * y) * 0x010203u, b.Pixel(x, y));
}

TEST(BmpDecoder, Decodes24BitTopDown) {
    // Blue then red rows, stored top row first.
    const Bytes pixels = {0xFF, 0, 0, 0, 0, 0, 0xFF, 0};
    const SkinBitmap b = Decode(Bmp(1, -2, 24, pixels));
    EXPECT_EQ(0xFF0000u, b.Pixel(0, 0));
    EXPECT_EQ(0x0000FFu, b.Pixel(0, 1));
}

TEST(BmpDecoder, DecodesIndexedImages) {
    const Bytes palette = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0xFF, 0};  // black, white, red
    const SkinBitmap one = Decode(Bmp(3, 1, 1, {0x40, 0, 0, 0}, palette));
    EXPECT_EQ(0x000000u, one.Pixel(0, 0));
    EXPECT_EQ(0xFFFFFFu, one.Pixel(1, 0));
    const SkinBitmap four = Decode(Bmp(3, 1, 4, {0x12, 0x00, 0, 0}, palette));
    EXPECT_EQ(0xFFFFFFu, four.Pixel(0, 0));
    EXPECT_EQ(0x0000FFu, four.Pixel(1, 0));
    const SkinBitmap eight = Decode(Bmp(2, 1, 8, {2, 200, 0, 0}, palette));
    EXPECT_EQ(0x0000FFu, eight.Pixel(0, 0));
    EXPECT_EQ(0x000000u, eight.Pixel(1, 0));  // beyond the palette the file has
    EXPECT_EQ(8, eight.BitsPerPixel());
}

TEST(BmpDecoder, Decodes16And32BitImages) {
    const SkinBitmap b555 = Decode(Bmp(2, 1, 16, {0x00, 0x7C, 0x1F, 0x00}));
    EXPECT_EQ(0x0000FFu, b555.Pixel(0, 0));
    EXPECT_EQ(0xFF0000u, b555.Pixel(1, 0));
    const Bytes masks565 = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    const SkinBitmap b565 = Decode(Bmp(2, 1, 16, {0xE0, 0x07, 0x00, 0xF8}, {}, 3, masks565));
    EXPECT_EQ(0x00FF00u, b565.Pixel(0, 0));
    EXPECT_EQ(0x0000FFu, b565.Pixel(1, 0));
    const SkinBitmap b32 = Decode(Bmp(1, 1, 32, {0x30, 0x20, 0x10, 0xFF}));
    EXPECT_EQ(0x302010u, b32.Pixel(0, 0));
}

TEST(BmpDecoder, DecodesRunLengthImages) {
    Bytes palette;
    for (std::uint8_t i = 0; i < 16; ++i) palette.insert(palette.end(), {i, 0, 0, 0});  // blue level = index
    // Bottom row: a run of 3 × 5, then a literal 6, 7, 8 cut at the row's end;
    // top row: moved 1 right, then 1 × 9, then the end of the bitmap.
    const SkinBitmap eight = Decode(Bmp(5, 2, 8, {3, 5, 0, 3, 6, 7, 8, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1}, palette, 1));
    ASSERT_EQ(5, eight.Width());
    const std::uint32_t top[] = {0, 0x090000, 0, 0, 0};  // what the stream skips is index 0
    const std::uint32_t bottom[] = {0x050000, 0x050000, 0x050000, 0x060000, 0x070000};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(top[x], eight.Pixel(x, 0)) << x;
        EXPECT_EQ(bottom[x], eight.Pixel(x, 1)) << x;
    }
    EXPECT_EQ(8, eight.BitsPerPixel());
    // 4 bits: a run alternates the two nibbles; a literal of 3 is padded to a whole word.
    const SkinBitmap four = Decode(Bmp(6, 1, 4, {3, 0x12, 0, 3, 0x45, 0x60, 0, 1}, palette, 2));
    const std::uint32_t row[] = {0x010000, 0x020000, 0x010000, 0x040000, 0x050000, 0x060000};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(row[x], four.Pixel(x, 0)) << x;
    // A run longer than the row is cut at the row's end.
    EXPECT_EQ(0x030000u, Decode(Bmp(2, 1, 8, {200, 3, 0, 1}, palette, 1)).Pixel(1, 0));
}

TEST(BmpDecoder, RefusesWhatItCannotDecode) {
    EXPECT_FALSE(Decodes(Bytes{}));
    Bytes notBm = Bmp24(1, 1, [](int, int) { return 0u; });
    notBm[0] = 'X';
    EXPECT_FALSE(Decodes(notBm));
    Bytes truncated = Bmp24(4, 4, [](int, int) { return 0u; });
    truncated.pop_back();
    EXPECT_FALSE(Decodes(truncated));
    const Bytes palette(16 * 4, 0);
    EXPECT_FALSE(Decodes(Bmp(2, -2, 8, {0, 1}, palette, 1)));          // run-length images are bottom-up only
    EXPECT_FALSE(Decodes(Bmp(4, 1, 8, {0, 4, 1, 2}, palette, 1)));     // a literal run cut short
    EXPECT_FALSE(Decodes(Bmp(4, 1, 4, {2, 0x12, 0, 1}, palette, 3)));  // 4-bit with bit-field masks
    EXPECT_FALSE(Decodes(Bmp(0, 1, 24, {})));
    EXPECT_FALSE(Decodes(Bmp(1, 0, 24, {})));
    EXPECT_FALSE(Decodes(Bmp(1, 1, 7, {0, 0, 0, 0})));
    EXPECT_FALSE(Decodes(Bmp(60000, 60000, 24, {})));
    EXPECT_FALSE(Decodes(Bmp(1, INT32_MIN, 24, {})));
    SkinBitmap untouched(1, 1, {0x123456}, 24);
    EXPECT_FALSE(DecodeBmp(notBm.data(), notBm.size(), untouched));
    EXPECT_EQ(0x123456u, untouched.Pixel(0, 0));
}
