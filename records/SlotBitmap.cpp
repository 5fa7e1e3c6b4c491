#include "records/SlotBitmap.h"

#include "framework/BmpFile.h"

#include <vector>

namespace kv90rec {

namespace {

uint8_t Luminance(uint8_t blue, uint8_t green, uint8_t red) {
    return static_cast<uint8_t>((299 * red + 587 * green + 114 * blue + 500) / 1000);
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

bool ReadSlotBitmap(const uint8_t* data, size_t size, GrayImage& image, std::string& error) {
    image = GrayImage();
    bmpfile::Header header;
    bmpfile::Fault fault = bmpfile::ReadHeader(data, size, bmpfile::kPictureLimits, header);
    const size_t stride = header.format.Stride(header.width);
    std::vector<uint8_t> rows;
    if (fault == bmpfile::Fault::None) {
        rows.resize(stride * static_cast<size_t>(header.height));
        fault = bmpfile::ReadPixels(data, size, header, rows.data());
    }
    if (fault != bmpfile::Fault::None) {
        error = std::string("the file ") + bmpfile::FaultText(fault);
        return false;
    }
    GrayImage grey;
    grey.width = header.width;
    grey.height = header.height;
    grey.pixels.resize(static_cast<size_t>(grey.width) * static_cast<size_t>(grey.height));
    std::vector<uint8_t> bgr(static_cast<size_t>(grey.width) * 3);
    for (int y = 0; y < grey.height; ++y) {
        // The rows come bottom first; the image keeps them top first.
        const uint8_t* row = rows.data() + stride * static_cast<size_t>(grey.height - 1 - y);
        uint8_t* out = grey.pixels.data() + static_cast<size_t>(grey.width) * static_cast<size_t>(y);
        if (header.format.Grey()) {
            bmpfile::ExpandRowGrey(header.format, row, grey.width, out);
            continue;
        }
        bmpfile::ExpandRowBgr(header.format, row, grey.width, bgr.data());
        for (int x = 0; x < grey.width; ++x) out[x] = Luminance(bgr[3 * x], bgr[3 * x + 1], bgr[3 * x + 2]);
    }
    image = std::move(grey);
    return true;
}

std::string WriteGreyBitmap(const GrayImage& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) + 3) & ~3u;
    const uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(image.height);
    // Pixels per metre, as the resolution fields count them.
    const uint32_t perMetre = static_cast<uint32_t>(image.ppi * 10000.0 / 254.0 + 0.5);
    std::string out = "BM";
    PutLittleEndian(out, pixelOffset + pixelBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, pixelOffset, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(image.width), 4);
    PutLittleEndian(out, static_cast<uint32_t>(image.height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 8, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, pixelBytes, 4);
    PutLittleEndian(out, perMetre, 4);
    PutLittleEndian(out, perMetre, 4);
    PutLittleEndian(out, 256, 4);
    PutLittleEndian(out, 0, 4);
    for (uint32_t level = 0; level < 256; ++level) PutLittleEndian(out, level * 0x010101u, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        const char* row = reinterpret_cast<const char*>(image.pixels.data()) + static_cast<size_t>(image.width) * y;
        out.append(row, static_cast<size_t>(image.width));
        out.append(stride - static_cast<uint32_t>(image.width), '\0');
    }
    return out;
}

}  // namespace kv90rec
