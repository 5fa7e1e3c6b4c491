#include "records/ImageEncoding.h"

#include "records/FileBytes.h"
#include "records/Jp2Encoder.h"
#include "records/PngEncoder.h"
#include "records/SlotBitmap.h"

namespace kv90rec {

namespace {

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
