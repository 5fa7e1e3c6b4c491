// Slot images read and, on request, compressed with the station's own JPEG
// encoder. The bitmap is decoded without GDI objects or the toolkit's
// per-thread buffers, since this runs on the server's worker threads.
#include "service/FingerImage.h"

#include "framework/BmpFile.h"
#include "framework/JpegCodec.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool BitmapFileToJpeg(const std::string& path, int quality, std::string& jpeg, std::string& error) {
    std::string file;
    if (!ReadWholeFile(path, file)) {
        error = "cannot read " + path;
        return false;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(file.data());
    bmpfile::Header header;
    bmpfile::Fault fault = bmpfile::ReadHeader(data, file.size(), bmpfile::kPictureLimits, header);
    const size_t stride = header.format.Stride(header.width);
    std::vector<std::uint8_t> rows;
    if (fault == bmpfile::Fault::None) {
        rows.resize(stride * header.height);
        fault = bmpfile::ReadPixels(data, file.size(), header, rows.data());
    }
    if (fault != bmpfile::Fault::None) {
        error = bmpfile::FaultText(fault);
        return false;
    }
    // Bottom row first, as a DIB stores them.
    const size_t bgrStride = static_cast<size_t>(header.width) * 3;
    std::vector<std::uint8_t> bgr(bgrStride * header.height);
    for (int y = 0; y < header.height; ++y)
        bmpfile::ExpandRowBgr(header.format, rows.data() + stride * y, header.width, bgr.data() + bgrStride * y);
    try {
        const jpegcodec::BgrSource source{bgr.data() + bgrStride * (header.height - 1),
                                          -static_cast<std::ptrdiff_t>(bgrStride), header.width, header.height};
        jpeg = jpegcodec::EncodeBgr(source, quality);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}
