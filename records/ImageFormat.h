// The forms a single finger image is handed out in, and how callers name them.
#pragma once

#include <string>

namespace kv90rec {

enum class ImageFormat {
    Bmp,  // the slot file as the station wrote it
    Png,  // lossless, 8-bit grey, for pages and viewers
    Jp2,  // lossless JPEG 2000 (reversible 5/3 wavelet)
    Wsq,  // the FBI's wavelet compression, lossy, what identification systems take
};

// "bmp", "png", "jp2", "wsq" (any case); false for any other name.
bool ParseImageFormat(const std::string& name, ImageFormat& format);
// "bmp", "png", "jp2", "wsq": the name above and the usual file extension.
const char* ImageFormatName(ImageFormat format);
// The media type a web answer carries: "image/bmp", "image/png", "image/jp2", "image/x-wsq".
const char* ImageMediaType(ImageFormat format);

}  // namespace kv90rec
