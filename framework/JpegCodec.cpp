#include "framework/JpegCodec.h"

#include "framework/Exception.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace jpegcodec {
namespace {

// libjpeg hands rows over in batches; 16 covers one MCU row of 2x2 sampling.
constexpr int kRowBatch = 16;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOut(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Level -1 is a warning, which libjpeg raises only for damaged data; higher
// levels are trace messages, of no interest here.
void WarningIsFatal(j_common_ptr cinfo, int level) {
    if (level < 0) JumpOut(cinfo);
}

void PrintNothing(j_common_ptr) {}

void InstallErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOut;
    err.pub.emit_message = WarningIsFatal;
    err.pub.output_message = PrintNothing;
    err.message[0] = '\0';
}

// setjmp stays in this small frame for the whole step, so that libjpeg's long
// jump lands in a live frame. The steps hold no objects with destructors:
// the jump skips their frames.
template <typename Step>
bool Attempt(ErrorManager& err, Step& step) {
    if (setjmp(err.jump) != 0) return false;
    step();
    return true;
}

template <typename Step>
void Run(ErrorManager& err, Step step) {
    if (!Attempt(err, step)) throw Exception(err.message);
}

// Compressed data goes straight into a string that doubles when full.
struct StringDestination {
    jpeg_destination_mgr pub;
    std::string* out;
};

void StartDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(&(*dest->out)[0]);
    dest->pub.free_in_buffer = dest->out->size();
}

boolean GrowDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    // libjpeg calls this only when the buffer is full to the last byte.
    const size_t used = dest->out->size();
    bool grown = false;
    try {
        dest->out->resize(used * 2);
        grown = true;
    } catch (...) {
    }
    // Outside the handler: the long jump must not leave a catch block.
    if (!grown) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(&(*dest->out)[used]);
    dest->pub.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void FinishDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StringDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

class CompressGuard {
public:
    explicit CompressGuard(jpeg_compress_struct& cinfo) : cinfo_(cinfo) {}
    ~CompressGuard() { jpeg_destroy_compress(&cinfo_); }
    CompressGuard(const CompressGuard&) = delete;
    CompressGuard& operator=(const CompressGuard&) = delete;

private:
    jpeg_compress_struct& cinfo_;
};

class DecompressGuard {
public:
    explicit DecompressGuard(jpeg_decompress_struct& cinfo) : cinfo_(cinfo) {}
    ~DecompressGuard() { jpeg_destroy_decompress(&cinfo_); }
    DecompressGuard(const DecompressGuard&) = delete;
    DecompressGuard& operator=(const DecompressGuard&) = delete;

private:
    jpeg_decompress_struct& cinfo_;
};

}  // namespace

std::string EncodeBgr(const BgrSource& image, int quality) {
    if (image.width <= 0 || image.height <= 0 || image.width > JPEG_MAX_DIMENSION || image.height > JPEG_MAX_DIMENSION)
        throw Exception("Cannot compress a picture of " + std::to_string(image.width) + " x " +
                        std::to_string(image.height) + " pixels as JPEG");

    std::string out;
    // Room for most pictures at once; a detailed one at the best quality may grow it once or twice.
    out.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) + 4096);

    ErrorManager err;
    InstallErrorManager(err);
    jpeg_compress_struct cinfo{};
    cinfo.err = &err.pub;
    CompressGuard guard(cinfo);
    StringDestination dest{};
    dest.pub.init_destination = StartDestination;
    dest.pub.empty_output_buffer = GrowDestination;
    dest.pub.term_destination = FinishDestination;
    dest.out = &out;

    Run(err, [&] {
        jpeg_create_compress(&cinfo);
        cinfo.dest = &dest.pub;
        cinfo.image_width = static_cast<JDIMENSION>(image.width);
        cinfo.image_height = static_cast<JDIMENSION>(image.height);
        cinfo.input_components = 3;
        // Blue, green, red as stored in the bitmap: libjpeg-turbo converts
        // from that order itself, without a swapped copy.
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        JSAMPROW rows[kRowBatch];
        while (cinfo.next_scanline < cinfo.image_height) {
            const JDIMENSION first = cinfo.next_scanline;
            JDIMENSION count = cinfo.image_height - first;
            if (count > kRowBatch) count = kRowBatch;
            for (JDIMENSION i = 0; i < count; ++i)
                // libjpeg reads the rows only; its interface just lacks const.
                rows[i] = const_cast<JSAMPROW>(image.top + static_cast<std::ptrdiff_t>(first + i) * image.stride);
            jpeg_write_scanlines(&cinfo, rows, count);
        }
        jpeg_finish_compress(&cinfo);
    });
    return out;
}

void DecodeBgr(const std::string& bytes, const std::function<BgrTarget(int width, int height)>& allocate) {
    ErrorManager err;
    InstallErrorManager(err);
    jpeg_decompress_struct cinfo{};
    cinfo.err = &err.pub;
    DecompressGuard guard(cinfo);

    Run(err, [&] {
        jpeg_create_decompress(&cinfo);
        cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
    });

    const long long width = cinfo.image_width;
    const long long height = cinfo.image_height;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        throw Exception("JPEG picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels)");
    const BgrTarget target = allocate(static_cast<int>(width), static_cast<int>(height));
    if (target.width != width || target.height != height)
        throw Exception("JPEG target does not match the picture's size");

    Run(err, [&] {
        // Grey pictures come out as three equal channels, so every picture
        // draws the same way.
        cinfo.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&cinfo);
        JSAMPROW rows[kRowBatch];
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION first = cinfo.output_scanline;
            JDIMENSION count = cinfo.output_height - first;
            if (count > kRowBatch) count = kRowBatch;
            for (JDIMENSION i = 0; i < count; ++i)
                rows[i] = target.top + static_cast<std::ptrdiff_t>(first + i) * target.stride;
            jpeg_read_scanlines(&cinfo, rows, count);
        }
        jpeg_finish_decompress(&cinfo);
    });
}

}  // namespace jpegcodec
