#include "records/Jp2Encoder.h"

#include "records/Jp2ResolutionBox.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace kv90rec {

namespace {

// The file grows in memory; the JP2 writer seeks back to fill in a length.
struct MemoryFile {
    std::vector<uint8_t>* bytes;
    size_t position = 0;
};

OPJ_SIZE_T WriteBytes(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    if (file->position + count > file->bytes->size()) file->bytes->resize(file->position + count);
    std::memcpy(file->bytes->data() + file->position, buffer, count);
    file->position += count;
    return count;
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    if (count < 0 && static_cast<size_t>(-count) > file->position) return -1;
    file->position = static_cast<size_t>(static_cast<OPJ_OFF_T>(file->position) + count);
    if (file->position > file->bytes->size()) file->bytes->resize(file->position);
    return count;
}

OPJ_BOOL SeekTo(OPJ_OFF_T position, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    if (position < 0) return OPJ_FALSE;
    file->position = static_cast<size_t>(position);
    if (file->position > file->bytes->size()) file->bytes->resize(file->position);
    return OPJ_TRUE;
}

void KeepMessage(const char* message, void* user) {
    auto* text = static_cast<std::string*>(user);
    if (text->empty()) *text = message;
    while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
}

struct CodecCloser {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamCloser {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageCloser {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

}  // namespace

bool EncodeJp2Lossless(const GrayImage& image, std::vector<uint8_t>& jp2, std::string& error) {
    jp2.clear();
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        error = "the image has no pixels or fewer than its size";
        return false;
    }
    opj_image_cmptparm_t component;
    std::memset(&component, 0, sizeof component);
    component.dx = component.dy = 1;
    component.w = static_cast<OPJ_UINT32>(image.width);
    component.h = static_cast<OPJ_UINT32>(image.height);
    component.prec = 8;
    component.sgnd = 0;
    std::unique_ptr<opj_image_t, ImageCloser> picture(opj_image_create(1, &component, OPJ_CLRSPC_GRAY));
    if (!picture) {
        error = "JPEG 2000: no memory for the image";
        return false;
    }
    picture->x0 = picture->y0 = 0;
    picture->x1 = component.w;
    picture->y1 = component.h;
    OPJ_INT32* samples = picture->comps[0].data;
    for (size_t i = 0; i < image.pixels.size(); ++i) samples[i] = image.pixels[i];

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.irreversible = 0;  // the reversible 5/3 wavelet: every pixel comes back
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;  // no rate limit on the one layer: lossless
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = 0;  // one component: no colour transform
    // Each wavelet level halves the image; a small picture takes fewer than the usual five.
    int levels = 0;
    while (levels < parameters.numresolution - 1 && (std::min(image.width, image.height) >> (levels + 1)) > 0) ++levels;
    parameters.numresolution = levels + 1;

    std::string message;
    std::unique_ptr<opj_codec_t, CodecCloser> codec(opj_create_compress(OPJ_CODEC_JP2));
    if (!codec) {
        error = "JPEG 2000: OpenJPEG could not start";
        return false;
    }
    opj_set_error_handler(codec.get(), KeepMessage, &message);
    // The code-blocks are coded in parallel, on at most as many threads as the machine has cores.
    const int threads = opj_get_num_cpus();
    MemoryFile file{&jp2};
    std::unique_ptr<opj_stream_t, StreamCloser> stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE));
    if (!stream) {
        error = "JPEG 2000: OpenJPEG could not start";
        return false;
    }
    opj_stream_set_user_data(stream.get(), &file, nullptr);
    opj_stream_set_write_function(stream.get(), WriteBytes);
    opj_stream_set_skip_function(stream.get(), SkipBytes);
    opj_stream_set_seek_function(stream.get(), SeekTo);
    const bool encoded = opj_setup_encoder(codec.get(), &parameters, picture.get()) &&
                         (threads <= 1 || opj_codec_set_threads(codec.get(), threads > 4 ? 4 : threads)) &&
                         opj_start_compress(codec.get(), picture.get(), stream.get()) &&
                         opj_encode(codec.get(), stream.get()) && opj_end_compress(codec.get(), stream.get());
    if (!encoded) {
        jp2.clear();
        error = "JPEG 2000: " + (message.empty() ? std::string("OpenJPEG failed") : message);
        return false;
    }
    if (!AddCaptureResolution(jp2, image.ppi, error)) {
        jp2.clear();
        return false;
    }
    return true;
}

}  // namespace kv90rec
