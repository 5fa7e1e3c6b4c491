#include "records/ImageEncoding.h"

#include "records/Jp2Encoder.h"
#include "records/PngEncoder.h"
#include "records/SlotBitmap.h"

#include <cstdio>
#include <memory>

namespace kv90rec {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool ReadAll(std::FILE* opened, std::vector<uint8_t>& bytes) {
    FileHandle file(opened);
    bytes.clear();
    if (!file) return false;
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    return !std::ferror(file.get());
}

template <typename Path>
bool FileAs(const Path& path, ImageFormat format, std::vector<uint8_t>& bytes, std::string& error,
            const ImageOptions& options) {
    std::vector<uint8_t> bitmap;
    if (!ReadFileBytes(path, bitmap)) {
        bytes.clear();
        error = "the slot file cannot be read";
        return false;
    }
    return BitmapAs(bitmap, format, options, bytes, error);
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    return ReadAll(std::fopen(path.c_str(), "rb"), bytes);
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
    return ReadAll(_wfopen(path.c_str(), L"rb"), bytes);
}

bool EncodeImage(const GrayImage& image, ImageFormat format, const ImageOptions& options, std::vector<uint8_t>& bytes,
                 std::string& error) {
    switch (format) {
        case ImageFormat::Bmp: {
            const std::string bitmap = WriteGreyBitmap(image);
            bytes.assign(bitmap.begin(), bitmap.end());
            return true;
        }
        case ImageFormat::Png:
            return EncodePng(image, bytes, error);
        case ImageFormat::Jp2:
            return EncodeJp2Lossless(image, bytes, error);
        case ImageFormat::Wsq:
            if (!(options.wsqBitRate >= wsq::kMinBitRate && options.wsqBitRate <= wsq::kMaxBitRate)) {
                bytes.clear();
                error = "the WSQ bit rate must lie between 0.5 and 2.25 bits per pixel";
                return false;
            }
            return wsq::Encode(image, options.wsqBitRate, bytes, error);
    }
    error = "unknown image format";
    return false;
}

bool BitmapAs(const std::vector<uint8_t>& bitmap, ImageFormat format, const ImageOptions& options,
              std::vector<uint8_t>& bytes, std::string& error) {
    GrayImage image;
    if (!ReadSlotBitmap(bitmap.data(), bitmap.size(), image, error)) {
        bytes.clear();
        return false;
    }
    if (format == ImageFormat::Bmp) {
        bytes = bitmap;
        return true;
    }
    return EncodeImage(image, format, options, bytes, error);
}

bool FingerImageAs(const std::string& bmpPath, ImageFormat format, std::vector<uint8_t>& bytes, std::string& error,
                   const ImageOptions& options) {
    return FileAs(bmpPath, format, bytes, error, options);
}

bool FingerImageAs(const std::wstring& bmpPath, ImageFormat format, std::vector<uint8_t>& bytes, std::string& error,
                   const ImageOptions& options) {
    return FileAs(bmpPath, format, bytes, error, options);
}

}  // namespace kv90rec
