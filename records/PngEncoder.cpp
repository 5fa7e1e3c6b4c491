// libpng reports its errors by a long jump out of the failing call; the jump
// lands in WriteRows, whose frame holds no object with a destructor, so
// nothing is skipped on the way (EncodePng's objects live outside the jump).
#include "records/PngEncoder.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace kv90rec {

namespace {

struct PngSink {
    std::vector<uint8_t>* bytes;
    std::string message;
};

void AppendData(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->bytes->insert(sink->bytes->end(), data, data + length);
}

void NoFlush(png_structp) {}

void KeepError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    sink->message = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// The parts of the encoding that may jump; kept free of C++ objects.
bool WriteRows(png_structp png, png_infop info, const GrayImage& image) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const png_uint_32 perMetre = PixelsPerMetre(image.ppi);
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    // A finger's ridges repeat from row to row: the "up" filter and run-length
    // deflate give smaller files than adaptive filters with full deflate, in half the time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + static_cast<size_t>(image.width) * static_cast<size_t>(y));
    png_write_end(png, info);
    return true;
}

}  // namespace

uint32_t PixelsPerMetre(int ppi) { return static_cast<uint32_t>(ppi * 10000.0 / 254.0 + 0.5); }

bool EncodePng(const GrayImage& image, std::vector<uint8_t>& png, std::string& error) {
    png.clear();
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        error = "the image has no pixels or fewer than its size";
        return false;
    }
    PngSink sink{&png, std::string()};
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, KeepError, IgnoreWarning);
    png_infop info = writer ? png_create_info_struct(writer) : nullptr;
    if (!writer || !info) {
        png_destroy_write_struct(&writer, nullptr);
        error = "libpng could not start";
        return false;
    }
    png_set_write_fn(writer, &sink, AppendData, NoFlush);
    const bool written = WriteRows(writer, info, image);
    png_destroy_write_struct(&writer, &info);
    if (!written) {
        png.clear();
        error = "PNG: " + sink.message;
    }
    return written;
}

}  // namespace kv90rec
