#include "ImageReaders.h"

#include <openjpeg.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>

namespace {

struct PngSource {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->at + length > source->bytes->size()) png_error(png, "read past the end");
    std::memcpy(out, source->bytes->data() + source->at, length);
    source->at += length;
}

bool DecodePng(png_structp png, png_infop info, PngRead& read) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    read.image.width = static_cast<int>(png_get_image_width(png, info));
    read.image.height = static_cast<int>(png_get_image_height(png, info));
    read.bitDepth = png_get_bit_depth(png, info);
    read.colourType = png_get_color_type(png, info);
    png_uint_32 x = 0, y = 0;
    int unit = -1;
    read.hasPhys = png_get_pHYs(png, info, &x, &y, &unit) != 0;
    read.xPerUnit = x;
    read.yPerUnit = y;
    read.unit = unit;
    if (read.bitDepth != 8 || read.colourType != PNG_COLOR_TYPE_GRAY) return true;
    read.image.pixels.resize(static_cast<size_t>(read.image.width) * read.image.height);
    for (int row = 0; row < read.image.height; ++row)
        png_read_row(png, read.image.pixels.data() + static_cast<size_t>(row) * read.image.width, nullptr);
    png_read_end(png, nullptr);
    return true;
}

struct Jp2Source {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

OPJ_SIZE_T ReadJp2(void* out, OPJ_SIZE_T count, void* user) {
    auto* source = static_cast<Jp2Source*>(user);
    if (source->at >= source->bytes->size()) return static_cast<OPJ_SIZE_T>(-1);
    const size_t take = std::min<size_t>(count, source->bytes->size() - source->at);
    std::memcpy(out, source->bytes->data() + source->at, take);
    source->at += take;
    return take;
}

OPJ_OFF_T SkipJp2(OPJ_OFF_T count, void* user) {
    auto* source = static_cast<Jp2Source*>(user);
    source->at += static_cast<size_t>(count);
    return count;
}

OPJ_BOOL SeekJp2(OPJ_OFF_T to, void* user) {
    auto* source = static_cast<Jp2Source*>(user);
    if (to < 0 || static_cast<size_t>(to) > source->bytes->size()) return OPJ_FALSE;
    source->at = static_cast<size_t>(to);
    return OPJ_TRUE;
}

uint32_t Big32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint16_t Big16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

}  // namespace

bool ReadPngForTest(const std::vector<uint8_t>& png, PngRead& read, std::string& error) {
    read = PngRead();
    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(reader);
    PngSource source{&png, 0};
    png_set_read_fn(reader, &source, ReadFromMemory);
    const bool decoded = DecodePng(reader, info, read);
    png_destroy_read_struct(&reader, &info, nullptr);
    if (!decoded) error = "libpng refused the file";
    return decoded;
}

bool ReadJp2ForTest(const std::vector<uint8_t>& jp2, Jp2Read& read, std::string& error) {
    read = Jp2Read();
    opj_codec_t* codec = opj_create_decompress(OPJ_CODEC_JP2);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_setup_decoder(codec, &parameters);
    Jp2Source source{&jp2, 0};
    opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE);
    opj_stream_set_user_data(stream, &source, nullptr);
    opj_stream_set_user_data_length(stream, jp2.size());
    opj_stream_set_read_function(stream, ReadJp2);
    opj_stream_set_skip_function(stream, SkipJp2);
    opj_stream_set_seek_function(stream, SeekJp2);
    opj_image_t* image = nullptr;
    const bool decoded = opj_read_header(stream, codec, &image) && opj_decode(codec, stream, image) &&
                         opj_end_decompress(codec, stream);
    if (decoded) {
        read.components = static_cast<int>(image->numcomps);
        read.precision = static_cast<int>(image->comps[0].prec);
        read.image.width = static_cast<int>(image->comps[0].w);
        read.image.height = static_cast<int>(image->comps[0].h);
        for (size_t i = 0; i < static_cast<size_t>(read.image.width) * read.image.height; ++i)
            read.image.pixels.push_back(static_cast<uint8_t>(image->comps[0].data[i]));
    } else {
        error = "OpenJPEG refused the file";
    }
    if (image) opj_image_destroy(image);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    // The coding style marker (FF52) of the main header: its last byte before
    // the code-block sizes names the transform, 1 = reversible 5/3.
    for (size_t i = 0; i + 14 < jp2.size(); ++i) {
        if (jp2[i] == 0xFF && jp2[i + 1] == 0x52) {
            read.reversible = jp2[i + 13] == 1;
            break;
        }
    }
    return decoded;
}

bool FindJp2CaptureResolution(const std::vector<uint8_t>& jp2, double& verticalPerMetre, double& horizontalPerMetre) {
    const auto findBox = [&jp2](size_t from, size_t to, const char* type, size_t& contentAt, size_t& contentEnd) {
        while (from + 8 <= to) {
            const uint32_t length = Big32(jp2.data() + from);
            if (length < 8 || from + length > to) return false;
            if (std::memcmp(jp2.data() + from + 4, type, 4) == 0) {
                contentAt = from + 8;
                contentEnd = from + length;
                return true;
            }
            from += length;
        }
        return false;
    };
    size_t headerAt, headerEnd, resAt, resEnd, rescAt, rescEnd;
    if (!findBox(0, jp2.size(), "jp2h", headerAt, headerEnd) || !findBox(headerAt, headerEnd, "res ", resAt, resEnd) ||
        !findBox(resAt, resEnd, "resc", rescAt, rescEnd) || rescEnd - rescAt != 10)
        return false;
    const uint8_t* r = jp2.data() + rescAt;
    verticalPerMetre = double(Big16(r)) / Big16(r + 2) * std::pow(10.0, static_cast<int8_t>(r[8]));
    horizontalPerMetre = double(Big16(r + 4)) / Big16(r + 6) * std::pow(10.0, static_cast<int8_t>(r[9]));
    return true;
}
