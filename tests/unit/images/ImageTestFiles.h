// Bitmap files written by the tests themselves, and a reader of the JPEG
// markers that says how a file was encoded.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace imagetest {

// The grey level of a finger-like pattern of curved ridges at x, y.
int RidgeGrey(int x, int y);

// The 256 levels of grey, black first: the capture library's palette.
std::vector<RGBQUAD> GreyPalette();
// An 8-bit BMP with the grey palette (the capture library's kind of file)
// showing RidgeGrey.
std::string GreyBmp(int width, int height);
// A BMP of the given depth (1, 4, 8 with the palette, 24 or 32 without);
// pixel(x, y) gives the palette index or, for 24 and 32 bits, 0x00RRGGBB.
// TopDown stores the first row first (a negative height in the header).
std::string Bmp(int width, int height, int bitCount, const std::vector<RGBQUAD>& palette,
                const std::function<unsigned(int x, int y)>& pixel, bool topDown = false);
// A bottom-up BMP whose pixels are the given compressed stream (BI_RLE8, BI_RLE4).
std::string CompressedBmp(int width, int height, int bitCount, DWORD compression, const std::string& stream);

// A good 640 x 640 bitmap file damaged in the ways a disk or another program
// may leave it, each with the reason a reader gives.
struct DamagedBitmap {
    std::string name, bytes, reason;
};
std::vector<DamagedBitmap> DamagedBitmaps(const std::string& good);

struct JpegComponent {
    int id;
    int h;
    int v;
    int table;
};

// What the markers before the first scan say.
struct JpegLayout {
    int frameMarker = 0;  // 0xC0 baseline, 0xC1 extended, 0xC2 progressive
    int precision = 0;
    int width = 0;
    int height = 0;
    std::vector<JpegComponent> components;
    std::map<int, std::array<int, 64>> quantTables;  // by table number, in zigzag order
    bool jfif = false;
};

// Raises std::runtime_error on anything that is not a well-formed JPEG header.
JpegLayout ReadJpegLayout(const std::string& bytes);

// The blue, green, red bytes of pixel x, y (0, 0 the top left) of a 24-bit
// DIB section.
std::array<int, 3> DibPixel(HBITMAP bitmap, int x, int y);

}  // namespace imagetest
