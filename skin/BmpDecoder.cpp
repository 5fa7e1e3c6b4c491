#include "skin/BmpDecoder.h"

#include "skin/SkinLimits.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;  // the first size that holds the colour masks
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t Read16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

SkinColor Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

// One colour channel of a bit-field pixel: where it sits and how wide it spans.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (mask_ == 0) return;
        while (((mask_ >> shift_) & 1u) == 0) ++shift_;
        std::uint32_t rest = mask_ >> shift_;
        while (rest != 0) {
            ++span_;
            rest >>= 1;
        }
    }

    // The channel scaled to 0..255.
    std::uint32_t Value(std::uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const std::uint64_t raw = (pixel & mask_) >> shift_;
        if (span_ >= 8) return static_cast<std::uint32_t>(raw >> (span_ - 8)) & 0xFFu;
        const std::uint64_t top = (1ull << span_) - 1;
        return static_cast<std::uint32_t>((raw * 255 + top / 2) / top);
    }

private:
    std::uint32_t mask_;
    int shift_ = 0;
    int span_ = 0;
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive here
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteStart = 0;
    std::size_t paletteEntrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
};

bool ReadLayout(const std::uint8_t* data, std::size_t size, Layout& layout) {
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint32_t infoSize = Read32(data + kFileHeaderSize);
    if (infoSize > size - kFileHeaderSize) return false;
    const std::uint8_t* info = data + kFileHeaderSize;

    if (infoSize == kCoreHeaderSize) {
        layout.width = Read16(info + 4);
        layout.height = Read16(info + 6);
        layout.bitsPerPixel = static_cast<int>(Read16(info + 10));
        layout.paletteEntrySize = 3;
    } else if (infoSize >= kInfoHeaderSize) {
        layout.width = static_cast<std::int32_t>(Read32(info + 4));
        const std::int64_t height = static_cast<std::int32_t>(Read32(info + 8));
        layout.topDown = height < 0;
        layout.height = height < 0 ? -height : height;
        layout.bitsPerPixel = static_cast<int>(Read16(info + 14));
        layout.compression = Read32(info + 16);
        layout.colorsUsed = Read32(info + 32);
    } else {
        return false;
    }
    layout.paletteStart = kFileHeaderSize + infoSize;

    if (layout.width <= 0 || layout.height <= 0) return false;
    if (layout.width > skinlimits::kMaxBitmapSide || layout.height > skinlimits::kMaxBitmapSide) return false;
    if (layout.width * layout.height > skinlimits::kMaxBitmapPixels) return false;

    switch (layout.bitsPerPixel) {
        case 1: case 4: case 8: case 24:
            if (layout.compression != kBiRgb) return false;
            break;
        case 16: case 32:
            if (layout.compression == kBiAlphaBitfields) layout.compression = kBiBitfields;
            if (layout.compression != kBiRgb && layout.compression != kBiBitfields) return false;
            break;
        default:
            return false;
    }

    if (layout.compression == kBiBitfields) {
        // Masks sit inside headers of 52 bytes and more, else right after the header.
        std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        if (infoSize < kV2HeaderSize) {
            at = kFileHeaderSize + infoSize;
            if (size - at < 12) return false;
        }
        for (int i = 0; i < 3; ++i) layout.masks[i] = Read32(data + at + 4 * i);
    } else if (layout.bitsPerPixel == 16) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    } else if (layout.bitsPerPixel == 32) {
        layout.masks[0] = 0xFF0000;
        layout.masks[1] = 0x00FF00;
        layout.masks[2] = 0x0000FF;
    }
    return true;
}

// The palette of an indexed image; entries that the file lacks read as black.
std::vector<SkinColor> ReadPalette(const std::uint8_t* data, std::size_t size, const Layout& layout) {
    const std::uint32_t full = 1u << layout.bitsPerPixel;
    const std::uint32_t count = (layout.colorsUsed > 0 && layout.colorsUsed < full) ? layout.colorsUsed : full;
    std::vector<SkinColor> palette(full, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = layout.paletteStart + static_cast<std::size_t>(i) * layout.paletteEntrySize;
        if (at > size || size - at < 3) break;
        palette[i] = Rgb(data[at + 2], data[at + 1], data[at]);
    }
    return palette;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, SkinBitmap& out) {
    if (data == nullptr) return false;
    Layout layout;
    if (!ReadLayout(data, size, layout)) return false;

    const std::uint32_t pixelOffset = Read32(data + 10);
    const std::int64_t stride = ((layout.width * layout.bitsPerPixel + 31) / 32) * 4;
    if (pixelOffset < kFileHeaderSize || pixelOffset > size) return false;
    if (stride * layout.height > static_cast<std::int64_t>(size - pixelOffset)) return false;

    std::vector<SkinColor> palette;
    if (layout.bitsPerPixel <= 8) palette = ReadPalette(data, size, layout);
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);

    const int width = static_cast<int>(layout.width);
    const int height = static_cast<int>(layout.height);
    std::vector<SkinColor> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const int y = layout.topDown ? row : height - 1 - row;
        const std::uint8_t* src = data + pixelOffset + static_cast<std::size_t>(stride) * static_cast<std::size_t>(row);
        SkinColor* dst = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            switch (layout.bitsPerPixel) {
                case 1: dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 0x1]; break;
                case 4: dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
                case 8: dst[x] = palette[src[x]]; break;
                case 16: {
                    const std::uint32_t v = Read16(src + 2 * x);
                    dst[x] = Rgb(red.Value(v), green.Value(v), blue.Value(v));
                    break;
                }
                case 24: dst[x] = Rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                default: {
                    const std::uint32_t v = Read32(src + 4 * x);
                    dst[x] = Rgb(red.Value(v), green.Value(v), blue.Value(v));
                    break;
                }
            }
        }
    }
    out = SkinBitmap(width, height, std::move(pixels), layout.bitsPerPixel);
    return true;
}
