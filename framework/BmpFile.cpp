#include "framework/BmpFile.h"

#include <algorithm>
#include <cstring>

namespace bmpfile {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;  // the first size that holds the colour masks
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t Read16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Depth and compression together; the combinations a DIB can hold, plus run-length.
Fault ReadEncoding(int bitsPerPixel, std::uint32_t compression, Header& header) {
    switch (bitsPerPixel) {
    case 1:
    case 24:
        if (compression != kBiRgb) return Fault::Unsupported;
        header.encoding = Encoding::Rgb;
        return Fault::None;
    case 4:
    case 8:
        if (compression == kBiRgb) {
            header.encoding = Encoding::Rgb;
        } else if (compression == (bitsPerPixel == 8 ? kBiRle8 : kBiRle4)) {
            header.encoding = bitsPerPixel == 8 ? Encoding::Rle8 : Encoding::Rle4;
        } else {
            return Fault::Unsupported;
        }
        return Fault::None;
    case 16:
    case 32:
        if (compression == kBiRgb) {
            header.encoding = Encoding::Rgb;
        } else if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            header.encoding = Encoding::Bitfields;
        } else {
            return Fault::Unsupported;
        }
        return Fault::None;
    default:
        return Fault::Unsupported;
    }
}

void DefaultMasks(PixelFormat& format) {
    if (format.bitsPerPixel == 16) {
        format.masks[0] = 0x7C00;
        format.masks[1] = 0x03E0;
        format.masks[2] = 0x001F;
    } else if (format.bitsPerPixel == 32) {
        format.masks[0] = 0xFF0000;
        format.masks[1] = 0x00FF00;
        format.masks[2] = 0x0000FF;
    }
}

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
    std::uint8_t Value(std::uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const std::uint64_t raw = (pixel & mask_) >> shift_;
        if (span_ >= 8) return static_cast<std::uint8_t>(raw >> (span_ - 8));
        const std::uint64_t top = (1ull << span_) - 1;
        return static_cast<std::uint8_t>((raw * 255 + top / 2) / top);
    }

private:
    std::uint32_t mask_;
    int shift_ = 0;
    int span_ = 0;
};

// Expands a run-length stream into bottom-up rows that are already cleared.
class RleWriter {
public:
    RleWriter(const Header& header, std::uint8_t* rows)
        : rows_(rows),
          stride_(header.format.Stride(header.width)),
          width_(header.width),
          height_(header.height),
          four_(header.encoding == Encoding::Rle4) {}

    bool Done() const { return y_ >= height_; }
    void EndOfLine() {
        x_ = 0;
        ++y_;
    }
    void Move(std::uint32_t dx, std::uint32_t dy) {
        x_ = std::min<std::int64_t>(x_ + dx, width_);
        y_ += dy;
    }
    // Pixel values come from `pick(i)` for the i-th pixel of the run; pixels
    // past the row's end are dropped, but still move the position.
    template <typename Pick>
    void Run(std::uint32_t count, Pick pick) {
        const std::int64_t end = std::min<std::int64_t>(x_ + count, width_);
        std::uint8_t* row = rows_ + stride_ * static_cast<std::size_t>(y_);
        for (std::int64_t x = x_, i = 0; x < end; ++x, ++i) {
            const std::uint8_t value = pick(static_cast<std::uint32_t>(i));
            if (four_) {
                std::uint8_t& byte = row[x >> 1];
                byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F))
                               : static_cast<std::uint8_t>((byte & 0x0F) | (value << 4));
            } else {
                row[x] = value;
            }
        }
        x_ = std::min<std::int64_t>(x_ + count, width_);
    }

private:
    std::uint8_t* rows_;
    std::size_t stride_;
    std::int64_t width_;
    std::int64_t height_;
    bool four_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

Fault ReadRunLength(const std::uint8_t* stream, std::size_t size, const Header& header, std::uint8_t* rows) {
    std::memset(rows, 0, header.format.Stride(header.width) * static_cast<std::size_t>(header.height));
    const bool four = header.encoding == Encoding::Rle4;
    RleWriter out(header, rows);
    std::size_t at = 0;
    // A stream that stops between two operations ends the bitmap, as an end
    // marker would; one that stops inside an operation is cut short.
    while (size - at >= 2 && !out.Done()) {
        const std::uint32_t count = stream[at];
        const std::uint8_t code = stream[at + 1];
        at += 2;
        if (count > 0) {
            if (four) {
                out.Run(count, [code](std::uint32_t i) {
                    return static_cast<std::uint8_t>((i & 1) ? code & 0x0F : code >> 4);
                });
            } else {
                out.Run(count, [code](std::uint32_t) { return code; });
            }
            continue;
        }
        if (code == 0) {
            out.EndOfLine();
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (size - at < 2) return Fault::Truncated;
            out.Move(stream[at], stream[at + 1]);
            at += 2;
        } else {
            // A literal run, padded to a whole 16-bit word.
            const std::size_t bytes = four ? (code + 1u) / 2u : code;
            const std::size_t padded = (bytes + 1u) & ~static_cast<std::size_t>(1);
            if (size - at < bytes) return Fault::Truncated;
            const std::uint8_t* literal = stream + at;
            if (four) {
                out.Run(code, [literal](std::uint32_t i) {
                    return static_cast<std::uint8_t>((i & 1) ? literal[i >> 1] & 0x0F : literal[i >> 1] >> 4);
                });
            } else {
                out.Run(code, [literal](std::uint32_t i) { return literal[i]; });
            }
            at += std::min(padded, size - at);
        }
    }
    return Fault::None;
}

}  // namespace

const char* FaultText(Fault fault) {
    switch (fault) {
    case Fault::None:
        return "is a bitmap";
    case Fault::NotBitmap:
        return "is not a bitmap file";
    case Fault::BadHeader:
        return "has an invalid bitmap header";
    case Fault::Unsupported:
        return "has a bitmap format that cannot be read";
    case Fault::TooLarge:
        return "is too large";
    case Fault::Truncated:
        return "is truncated";
    case Fault::NoColour:
        return "has colour masks that select no colour";
    }
    return "cannot be read";
}

bool PixelFormat::Grey() const {
    if (!Indexed() || palette.empty()) return false;
    return std::all_of(palette.begin(), palette.end(), [](std::uint32_t c) {
        return (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF);
    });
}

Fault ReadHeader(const std::uint8_t* data, std::size_t size, const Limits& limits, Header& header) {
    if (data == nullptr || size < 2 || data[0] != 'B' || data[1] != 'M') return Fault::NotBitmap;
    if (size < kFileHeaderSize + 4) return Fault::Truncated;
    const std::uint32_t infoSize = Read32(data + kFileHeaderSize);
    if (infoSize != kCoreHeaderSize && infoSize < kInfoHeaderSize) return Fault::BadHeader;
    if (infoSize > size - kFileHeaderSize) return Fault::Truncated;
    const std::uint8_t* info = data + kFileHeaderSize;

    Header h;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntrySize = 4;
    if (infoSize == kCoreHeaderSize) {
        width = Read16(info + 4);
        height = Read16(info + 6);
        h.format.bitsPerPixel = static_cast<int>(Read16(info + 10));
        paletteEntrySize = 3;
    } else {
        width = static_cast<std::int32_t>(Read32(info + 4));
        height = static_cast<std::int32_t>(Read32(info + 8));
        h.format.bitsPerPixel = static_cast<int>(Read16(info + 14));
        compression = Read32(info + 16);
        colorsUsed = Read32(info + 32);
    }
    h.topDown = height < 0;
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0) return Fault::BadHeader;

    if (const Fault fault = ReadEncoding(h.format.bitsPerPixel, compression, h); fault != Fault::None) return fault;
    // Run-length images are stored bottom-up only.
    if (h.topDown && (h.encoding == Encoding::Rle8 || h.encoding == Encoding::Rle4)) return Fault::BadHeader;
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) return Fault::TooLarge;
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);

    std::size_t headersEnd = kFileHeaderSize + infoSize;
    if (h.encoding == Encoding::Bitfields) {
        // Masks sit inside headers of 52 bytes and more, else right after the header.
        std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        if (infoSize < kV2HeaderSize) {
            at = headersEnd;
            if (size - at < 12) return Fault::Truncated;
            headersEnd += 12;
        }
        for (int i = 0; i < 3; ++i) h.format.masks[i] = Read32(data + at + 4 * i);
        // The system refuses such a bitmap later, in words that blame its resources.
        if ((h.format.masks[0] | h.format.masks[1] | h.format.masks[2]) == 0) return Fault::NoColour;
        h.format.bitfields = true;
    } else {
        DefaultMasks(h.format);
    }

    const std::uint32_t pixelOffset = Read32(data + 10);
    if (pixelOffset < headersEnd) return Fault::BadHeader;
    if (pixelOffset > size) return Fault::Truncated;
    h.pixelOffset = pixelOffset;
    const std::size_t available = size - pixelOffset;
    if (h.encoding == Encoding::Rle8 || h.encoding == Encoding::Rle4) {
        const std::uint32_t declared = Read32(info + 20);
        if (declared > available) return Fault::Truncated;
        h.pixelBytes = declared != 0 ? declared : available;
    } else {
        // Both factors are bounded by the limits, so the product cannot overflow 64 bits.
        const std::uint64_t rows =
            static_cast<std::uint64_t>(h.format.Stride(h.width)) * static_cast<std::uint64_t>(h.height);
        if (rows > available) return Fault::Truncated;
        h.pixelBytes = static_cast<std::size_t>(rows);
    }

    if (h.format.Indexed()) {
        const std::uint32_t full = 1u << h.format.bitsPerPixel;
        const std::uint32_t count = (colorsUsed > 0 && colorsUsed < full) ? colorsUsed : full;
        h.format.palette.assign(full, 0);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = headersEnd + static_cast<std::size_t>(i) * paletteEntrySize;
            if (at > size || size - at < 3) break;
            h.format.palette[i] = data[at] | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
                                  (static_cast<std::uint32_t>(data[at + 2]) << 16);
        }
    }
    header = std::move(h);
    return Fault::None;
}

Fault ReadPixels(const std::uint8_t* data, std::size_t size, const Header& header, std::uint8_t* rows) {
    if (header.pixelOffset > size || header.pixelBytes > size - header.pixelOffset) return Fault::Truncated;
    const std::uint8_t* pixels = data + header.pixelOffset;
    if (header.encoding == Encoding::Rle8 || header.encoding == Encoding::Rle4)
        return ReadRunLength(pixels, header.pixelBytes, header, rows);
    const std::size_t stride = header.format.Stride(header.width);
    if (static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(header.height) > header.pixelBytes)
        return Fault::Truncated;
    if (!header.topDown) {
        std::memcpy(rows, pixels, stride * static_cast<std::size_t>(header.height));
        return Fault::None;
    }
    for (int row = 0; row < header.height; ++row) {
        std::memcpy(rows + stride * static_cast<std::size_t>(header.height - 1 - row),
                    pixels + stride * static_cast<std::size_t>(row), stride);
    }
    return Fault::None;
}

void ExpandRowBgr(const PixelFormat& format, const std::uint8_t* row, int width, std::uint8_t* bgr) {
    const auto putColor = [&bgr](int x, std::uint32_t c) {
        bgr[3 * x] = static_cast<std::uint8_t>(c);
        bgr[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        bgr[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
    };
    switch (format.bitsPerPixel) {
    case 1:
        for (int x = 0; x < width; ++x) putColor(x, format.palette[(row[x >> 3] >> (7 - (x & 7))) & 0x1]);
        return;
    case 4:
        for (int x = 0; x < width; ++x) putColor(x, format.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]);
        return;
    case 8:
        for (int x = 0; x < width; ++x) putColor(x, format.palette[row[x]]);
        return;
    case 24:
        std::memcpy(bgr, row, static_cast<std::size_t>(width) * 3);
        return;
    default:
        break;
    }
    const Channel red(format.masks[0]), green(format.masks[1]), blue(format.masks[2]);
    for (int x = 0; x < width; ++x) {
        const std::uint32_t v = format.bitsPerPixel == 16 ? Read16(row + 2 * x) : Read32(row + 4 * x);
        bgr[3 * x] = blue.Value(v);
        bgr[3 * x + 1] = green.Value(v);
        bgr[3 * x + 2] = red.Value(v);
    }
}

void ExpandRowGrey(const PixelFormat& format, const std::uint8_t* row, int width, std::uint8_t* grey) {
    switch (format.bitsPerPixel) {
    case 1:
        for (int x = 0; x < width; ++x)
            grey[x] = static_cast<std::uint8_t>(format.palette[(row[x >> 3] >> (7 - (x & 7))) & 0x1]);
        return;
    case 4:
        for (int x = 0; x < width; ++x)
            grey[x] = static_cast<std::uint8_t>(format.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]);
        return;
    default:
        for (int x = 0; x < width; ++x) grey[x] = static_cast<std::uint8_t>(format.palette[row[x]]);
        return;
    }
}

}  // namespace bmpfile
