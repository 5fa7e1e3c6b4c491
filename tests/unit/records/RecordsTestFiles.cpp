#include "RecordsTestFiles.h"

#include <windows.h>

#include <cmath>

namespace {

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string BitmapHeaders(int width, int height, int bits, uint32_t pixelBytes, int colours) {
    const uint32_t offset = 14 + 40 + 4 * colours;
    std::string out = "BM";
    Put(out, offset + pixelBytes, 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(width), 4);
    Put(out, static_cast<uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(bits), 2);
    Put(out, 0, 4);
    Put(out, pixelBytes, 4);
    Put(out, 0, 4);  // the capture library leaves the resolution empty
    Put(out, 0, 4);
    Put(out, static_cast<uint32_t>(colours), 4);
    Put(out, 0, 4);
    return out;
}

}  // namespace

kv90rec::GrayImage MakeFingerImage(int width, int height, int seed) {
    kv90rec::GrayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    const double cx = width / 2.0 + seed * 3, cy = height / 2.0 - seed * 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x - cx) / (width * 0.33), dy = (y - cy) / (height * 0.45);
            const double inside = dx * dx + dy * dy;
            double level = 235;
            if (inside < 1.0) {
                const double radius = std::sqrt((x - cx) * (x - cx) + (y - cy - height * 0.2) * (y - cy - height * 0.2));
                const double ridge = std::sin(radius * 0.7 + seed + 0.002 * x * y / (1 + seed));
                level = 128 + 90 * ridge + ((x * 7 + y * 13 + seed * 31) % 9) - 4;
            }
            image.pixels[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level);
        }
    }
    return image;
}

std::string GreyBitmapFile(const kv90rec::GrayImage& image, bool topDown) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) + 3) & ~3u;
    std::string out = BitmapHeaders(image.width, topDown ? -image.height : image.height, 8, stride * image.height, 256);
    for (uint32_t level = 0; level < 256; ++level) Put(out, level | (level << 8) | (level << 16), 4);
    for (int i = 0; i < image.height; ++i) {
        const int y = topDown ? i : image.height - 1 - i;
        out.append(reinterpret_cast<const char*>(image.pixels.data()) + static_cast<size_t>(y) * image.width,
                   static_cast<size_t>(image.width));
        out.append(stride - image.width, '\0');
    }
    return out;
}

std::string ColourBitmapFile(const kv90rec::GrayImage& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    std::string out = BitmapHeaders(image.width, image.height, 24, stride * image.height, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) out.append(3, static_cast<char>(image.pixels[static_cast<size_t>(y) * image.width + x]));
        out.append(stride - image.width * 3, '\0');
    }
    return out;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string VectorsFolder() {
    // The build's Linux path, seen through Wine's drive for the root.
    std::string folder = std::string("Z:") + KV90_VECTORS_DIR;
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder + "\\";
}
