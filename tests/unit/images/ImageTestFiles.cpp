#include "ImageTestFiles.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace imagetest {

int RidgeGrey(int x, int y) {
    // Rings around an off-centre core, bent a little: ridges about 9 pixels apart.
    const double dx = x - 300.0;
    const double dy = (y - 340.0) * 1.2;
    const double r = std::sqrt(dx * dx + dy * dy) + 6.0 * std::sin(x / 37.0);
    const double value = 128.0 + 100.0 * std::sin(r * 0.7);
    return static_cast<int>(std::lround(value));
}

std::vector<RGBQUAD> GreyPalette() {
    std::vector<RGBQUAD> palette(256);
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<BYTE>(i);
        palette[static_cast<size_t>(i)] = {level, level, level, 0};
    }
    return palette;
}

std::string GreyBmp(int width, int height) {
    return Bmp(width, height, 8, GreyPalette(), [](int x, int y) { return static_cast<unsigned>(RidgeGrey(x, y)); });
}

std::string CompressedBmp(int width, int height, int bitCount, DWORD compression, const std::string& stream) {
    std::string bytes = Bmp(width, height, bitCount, GreyPalette(), [](int, int) { return 0u; });
    const size_t pixels = bytes.size() - (width * bitCount + 31) / 32 * 4 * static_cast<size_t>(height);
    bytes.resize(pixels);
    bytes += stream;
    auto field = [&bytes](size_t at, DWORD value) { bytes.replace(at, 4, reinterpret_cast<const char*>(&value), 4); };
    field(2, static_cast<DWORD>(bytes.size()));    // bfSize
    field(30, compression);                        // biCompression
    field(34, static_cast<DWORD>(stream.size()));  // biSizeImage
    return bytes;
}

std::vector<DamagedBitmap> DamagedBitmaps(const std::string& good) {
    std::string zero = good, huge = good, farPixels = good, notBitmap = good;
    zero.replace(18, 8, std::string(8, '\0'));
    huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30000 x 30000
    farPixels.replace(10, 4, std::string("\0\xFF\xFF\xFF", 4));       // pixels at 0xFFFFFF00
    notBitmap.replace(0, 2, "\xFF\xD8");
    return {
        {"100.bmp", good.substr(0, 100), "is truncated"},
        {"1078.bmp", good.substr(0, 1078), "is truncated"},
        {"half.bmp", good.substr(0, good.size() / 2), "is truncated"},
        {"far.bmp", farPixels, "is truncated"},
        {"huge.bmp", huge, "is too large"},
        {"zero.bmp", zero, "has an invalid bitmap header"},
        {"jpeg.bmp", notBitmap, "is not a bitmap file"},
    };
}

std::string Bmp(int width, int height, int bitCount, const std::vector<RGBQUAD>& palette,
                const std::function<unsigned(int x, int y)>& pixel, bool topDown) {
    const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    const size_t paletteBytes = bitCount <= 8 ? palette.size() * sizeof(RGBQUAD) : 0;

    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = topDown ? -height : height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bitCount);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    info.biClrUsed = bitCount <= 8 ? static_cast<DWORD>(palette.size()) : 0;
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof info + paletteBytes);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    if (paletteBytes) bytes.append(reinterpret_cast<const char*>(palette.data()), paletteBytes);

    std::string row(stride, '\0');
    for (int line = 0; line < height; ++line) {
        const int y = topDown ? line : height - 1 - line;
        std::fill(row.begin(), row.end(), '\0');
        for (int x = 0; x < width; ++x) {
            const unsigned value = pixel(x, y);
            if (bitCount >= 24) {
                const size_t at = static_cast<size_t>(x) * (bitCount / 8);
                row[at] = static_cast<char>(value & 0xFF);
                row[at + 1] = static_cast<char>((value >> 8) & 0xFF);
                row[at + 2] = static_cast<char>((value >> 16) & 0xFF);
            } else {
                const size_t bit = static_cast<size_t>(x) * bitCount;
                const int shift = 8 - bitCount - static_cast<int>(bit % 8);
                row[bit / 8] = static_cast<char>(static_cast<unsigned char>(row[bit / 8]) | (value << shift));
            }
        }
        bytes += row;
    }
    return bytes;
}

namespace {

int Byte(const std::string& bytes, size_t at) {
    if (at >= bytes.size()) throw std::runtime_error("JPEG header ends early");
    return static_cast<unsigned char>(bytes[at]);
}

int Word(const std::string& bytes, size_t at) { return Byte(bytes, at) << 8 | Byte(bytes, at + 1); }

}  // namespace

JpegLayout ReadJpegLayout(const std::string& bytes) {
    if (Word(bytes, 0) != 0xFFD8) throw std::runtime_error("no start of image");
    JpegLayout layout;
    size_t at = 2;
    for (;;) {
        if (Byte(bytes, at) != 0xFF) throw std::runtime_error("marker expected");
        const int marker = Byte(bytes, at + 1);
        const int length = Word(bytes, at + 2);
        const size_t body = at + 4;
        if (marker == 0xDA) break;  // the first scan: the header is complete
        if (marker == 0xE0 && bytes.compare(body, 5, std::string("JFIF\0", 5)) == 0) layout.jfif = true;
        if (marker == 0xDB) {
            for (size_t p = body; p < at + 2 + length;) {
                const int precisionAndId = Byte(bytes, p);
                if (precisionAndId >> 4) throw std::runtime_error("16-bit tables are not expected");
                std::array<int, 64> table{};
                for (int i = 0; i < 64; ++i) table[static_cast<size_t>(i)] = Byte(bytes, p + 1 + i);
                layout.quantTables[precisionAndId & 0x0F] = table;
                p += 65;
            }
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            layout.frameMarker = marker;
            layout.precision = Byte(bytes, body);
            layout.height = Word(bytes, body + 1);
            layout.width = Word(bytes, body + 3);
            const int count = Byte(bytes, body + 5);
            for (int i = 0; i < count; ++i) {
                const size_t c = body + 6 + 3 * static_cast<size_t>(i);
                layout.components.push_back(
                    {Byte(bytes, c), Byte(bytes, c + 1) >> 4, Byte(bytes, c + 1) & 0x0F, Byte(bytes, c + 2)});
            }
        }
        at += 2 + static_cast<size_t>(length);
    }
    if (!layout.frameMarker) throw std::runtime_error("no frame header before the scan");
    return layout;
}

std::array<int, 3> DibPixel(HBITMAP bitmap, int x, int y) {
    DIBSECTION dib{};
    if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24)
        throw std::runtime_error("not a 24-bit DIB section");
    const int height = dib.dsBmih.biHeight;
    const int row = height > 0 ? height - 1 - y : y;
    const auto* p = static_cast<const unsigned char*>(dib.dsBm.bmBits) +
                    static_cast<size_t>(row) * dib.dsBm.bmWidthBytes + static_cast<size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

}  // namespace imagetest
