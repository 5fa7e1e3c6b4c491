#include "BmpWriter.h"

#include <windows.h>

#include <cstring>

namespace kv90sim {

void EncodeGreyBmp(const std::uint8_t* image, int width, int height, std::vector<std::uint8_t>& file) {
    const int stride = (width + 3) & ~3;
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
    const DWORD pixels = static_cast<DWORD>(stride) * height;
    file.assign(headers + pixels, 0);

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = headers + pixels;
    fileHeader.bfOffBits = headers;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(BITMAPINFOHEADER);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biCompression = BI_RGB;
    info.biSizeImage = pixels;
    info.biXPelsPerMeter = 19685;  // 500 dpi
    info.biYPelsPerMeter = 19685;
    info.biClrUsed = 256;

    std::uint8_t* out = file.data();
    std::memcpy(out, &fileHeader, sizeof(fileHeader));
    out += sizeof(fileHeader);
    std::memcpy(out, &info, sizeof(info));
    out += sizeof(info);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD grey{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
        std::memcpy(out, &grey, sizeof(grey));
        out += sizeof(grey);
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(out + static_cast<size_t>(height - 1 - y) * stride, image + static_cast<size_t>(y) * width, width);
    }
}

}  // namespace kv90sim
