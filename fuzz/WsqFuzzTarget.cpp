// The WSQ decoder's fuzz entry point: any bytes are refused with a reason or
// decoded into a whole image, and an image it gives goes through the encoder
// and back.
#include "fuzz/FuzzTargets.h"

#include "records/wsq/WsqCodec.h"

#include <cstdlib>
#include <string>

namespace {

constexpr unsigned long kMaxFuzzPixels = 1024ul * 1024ul;

// Frames over a megapixel only spend the fuzzer's memory and time on planes of zeros.
bool ClaimsLargeFrame(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 10 <= size; ++i) {
        if (data[i] == 0xFF && data[i + 1] == 0xA2) {
            const unsigned long height = static_cast<unsigned long>(data[i + 6] << 8 | data[i + 7]);
            const unsigned long width = static_cast<unsigned long>(data[i + 8] << 8 | data[i + 9]);
            if (width * height > kMaxFuzzPixels) return true;
        }
    }
    return false;
}

}  // namespace

int FuzzWsqDecode(const std::uint8_t* data, std::size_t size) {
    if (ClaimsLargeFrame(data, size)) return 0;
    kv90rec::GrayImage image;
    std::string error;
    if (!kv90rec::wsq::Decode(data, size, image, error)) {
        if (error.empty() || !image.pixels.empty() || image.width != 0) std::abort();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        std::abort();
    }
    unsigned sum = 0;
    for (std::uint8_t pixel : image.pixels) sum += pixel;
    if (image.width >= 64 && image.height >= 64 && image.pixels.size() <= 256u * 256u) {
        std::vector<std::uint8_t> file;
        kv90rec::GrayImage again;
        if (!kv90rec::wsq::Encode(image, kv90rec::wsq::kDefaultBitRate, file, error)) std::abort();
        if (!kv90rec::wsq::Decode(file.data(), file.size(), again, error)) std::abort();
        if (again.width != image.width || again.height != image.height) std::abort();
    }
    return sum == 0xFFFFFFFFu ? 2 : 1;  // keeps the sum, so every pixel is read
}
