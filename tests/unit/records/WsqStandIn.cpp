// For these tests only, while the WSQ codec is not built beside the records:
// "WSQ" files that carry the pixels as they are behind a WSQ start marker, so
// that records with WSQ images can be written and read back here.
#include "records/wsq/WsqCodec.h"

#include <algorithm>

namespace kv90rec::wsq {

namespace {

constexpr uint8_t kStart[] = {0xFF, 0xA0, 'S', 'T', 'A', 'N', 'D', '-', 'I', 'N'};

void PutBig16(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

}  // namespace

bool Encode(const GrayImage& image, double bitsPerPixel, std::vector<uint8_t>& file, std::string& error) {
    if (bitsPerPixel < kMinBitRate || bitsPerPixel > kMaxBitRate || image.width <= 0 || image.height <= 0) {
        error = "the stand-in codec takes no such image or rate";
        return false;
    }
    file.assign(kStart, kStart + sizeof kStart);
    PutBig16(file, image.width);
    PutBig16(file, image.height);
    PutBig16(file, image.ppi);
    file.insert(file.end(), image.pixels.begin(), image.pixels.end());
    return true;
}

bool Decode(const uint8_t* data, size_t size, GrayImage& image, std::string& error) {
    image = GrayImage();
    const size_t header = sizeof kStart + 6;
    if (size < header || std::equal(kStart, kStart + sizeof kStart, data) == false) {
        error = "not a stand-in WSQ file";
        return false;
    }
    image.width = (data[10] << 8) | data[11];
    image.height = (data[12] << 8) | data[13];
    image.ppi = (data[14] << 8) | data[15];
    if (size - header != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        image = GrayImage();
        error = "the stand-in WSQ file is truncated";
        return false;
    }
    image.pixels.assign(data + header, data + size);
    return true;
}

}  // namespace kv90rec::wsq
