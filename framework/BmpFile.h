// Windows bitmap (BMP) file images read from memory, bounded: every header
// field is checked against the size of the data before anything is read
// through it, and the image's size against the caller's limits, so that a
// damaged or hostile file is refused with a reason and never read beyond its
// end. Free of any windowing API, so that it can be built and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmpfile {

// Why a file was refused.
enum class Fault {
    None,
    NotBitmap,    // no "BM" signature
    BadHeader,    // a header field that no bitmap can have
    Unsupported,  // a depth or compression this reader does not decode
    TooLarge,     // more pixels than the limits allow
    Truncated,    // the headers, palette or pixel data run past the end of the data
    NoColour,     // bit fields whose colour masks select no bit at all
};

// An English phrase for messages: "is not a bitmap file", "is truncated", ...
const char* FaultText(Fault fault);

struct Limits {
    std::int64_t maxSide;
    std::int64_t maxPixels;
};

// The program's own pictures (finger images of 640 × 640): far beyond any of
// them, and small enough that a lying header cannot exhaust the memory of a
// 32-bit process.
constexpr Limits kPictureLimits{16384, 16LL * 1024 * 1024};

enum class Encoding { Rgb, Bitfields, Rle8, Rle4 };

// How the pixels of a decoded image are laid out: rows of Stride(width) bytes
// in the file's own depth, the bottom row first as a DIB stores them.
struct PixelFormat {
    int bitsPerPixel = 24;  // 1, 4, 8, 16, 24 or 32
    // Indexed images: 1 << bitsPerPixel colours as 0x00RRGGBB (the memory
    // layout of a DIB colour table); entries the file lacks are black.
    std::vector<std::uint32_t> palette;
    // 16- and 32-bit images: red, green and blue masks.
    std::uint32_t masks[3] = {0, 0, 0};
    // The masks are the file's own (a DIB that keeps them needs BI_BITFIELDS).
    bool bitfields = false;

    bool Indexed() const { return bitsPerPixel <= 8; }
    // An indexed image whose every colour is a grey level.
    bool Grey() const;
    std::size_t Stride(int width) const { return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4; }
};

struct Header {
    int width = 0;
    int height = 0;  // always positive
    bool topDown = false;
    Encoding encoding = Encoding::Rgb;
    PixelFormat format;
    std::size_t pixelOffset = 0;
    std::size_t pixelBytes = 0;  // uncompressed: exactly the rows; run-length: the encoded stream
};

// Reads and checks the file header, info header, masks and palette.
Fault ReadHeader(const std::uint8_t* data, std::size_t size, const Limits& limits, Header& header);

// Writes the pixels uncompressed into `rows` (format.Stride(width) × height
// bytes, bottom row first). Run-length images are expanded; pixels their
// stream skips or leaves out are index 0, and runs that pass the end of a row
// are cut there, as the system's loader does. The header must come from
// ReadHeader on the same data.
Fault ReadPixels(const std::uint8_t* data, std::size_t size, const Header& header, std::uint8_t* rows);

// Expands one row of `width` pixels in `format` to blue, green, red triples.
void ExpandRowBgr(const PixelFormat& format, const std::uint8_t* row, int width, std::uint8_t* bgr);
// Expands one row of a grey indexed image (format.Grey()) to one level per pixel.
void ExpandRowGrey(const PixelFormat& format, const std::uint8_t* row, int width, std::uint8_t* grey);

}  // namespace bmpfile
