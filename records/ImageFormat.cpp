#include "records/ImageFormat.h"

#include <cctype>

namespace kv90rec {

namespace {

struct FormatNames {
    ImageFormat format;
    const char* name;
    const char* mediaType;
};

constexpr FormatNames kFormats[] = {
    {ImageFormat::Bmp, "bmp", "image/bmp"},
    {ImageFormat::Png, "png", "image/png"},
    {ImageFormat::Jp2, "jp2", "image/jp2"},
    {ImageFormat::Wsq, "wsq", "image/x-wsq"},
};

const FormatNames& NamesOf(ImageFormat format) {
    for (const FormatNames& names : kFormats)
        if (names.format == format) return names;
    return kFormats[0];
}

}  // namespace

bool ParseImageFormat(const std::string& name, ImageFormat& format) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const FormatNames& names : kFormats) {
        if (lower == names.name) {
            format = names.format;
            return true;
        }
    }
    return false;
}

const char* ImageFormatName(ImageFormat format) { return NamesOf(format).name; }

const char* ImageMediaType(ImageFormat format) { return NamesOf(format).mediaType; }

}  // namespace kv90rec
