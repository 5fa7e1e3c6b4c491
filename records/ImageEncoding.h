// One finger image in the form a caller asks for: the one call the web
// service's finger route, the control's FingerBytes and the converter make.
#pragma once

#include "records/GrayImage.h"
#include "records/ImageFormat.h"
#include "records/wsq/WsqCodec.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

struct ImageOptions {
    double wsqBitRate = wsq::kDefaultBitRate;  // bits per pixel, wsq::kMinBitRate..kMaxBitRate
};

// The grey image in `format` (a bitmap is written as an 8-bit grey one).
bool EncodeImage(const GrayImage& image, ImageFormat format, const ImageOptions& options, std::vector<uint8_t>& bytes,
                 std::string& error);

// A slot file's bytes in `format`; ImageFormat::Bmp hands the file back as it
// is. False with a reason for a file that is no bitmap or cannot be encoded.
bool BitmapAs(const std::vector<uint8_t>& bitmap, ImageFormat format, const ImageOptions& options,
              std::vector<uint8_t>& bytes, std::string& error);

// The same from the slot file on disk; the narrow path is in the system's
// code page (the station names person files in GBK), the wide one is UTF-16.
bool FingerImageAs(const std::string& bmpPath, ImageFormat format, std::vector<uint8_t>& bytes, std::string& error,
                   const ImageOptions& options = ImageOptions());
bool FingerImageAs(const std::wstring& bmpPath, ImageFormat format, std::vector<uint8_t>& bytes, std::string& error,
                   const ImageOptions& options = ImageOptions());

}  // namespace kv90rec
