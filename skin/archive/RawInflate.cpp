#include "skin/archive/RawInflate.h"

#include <zlib.h>

#include <algorithm>

namespace {

// zlib reads and writes in steps that keep every step's size within a uInt.
constexpr std::size_t kInputStep = 16 * 1024;
constexpr std::size_t kOutputStep = 32 * 1024;

class InflateStream {
public:
    InflateStream() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~InflateStream() {
        if (ok_) inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool Ok() const { return ok_; }
    z_stream& Get() { return stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

}  // namespace

std::vector<std::uint8_t> RawInflate(const std::uint8_t* data, std::size_t size, std::size_t limit) {
    std::vector<std::uint8_t> out;
    InflateStream inflater;
    if (!inflater.Ok() || data == nullptr) return out;
    z_stream& z = inflater.Get();

    std::size_t consumed = 0;
    for (;;) {
        if (z.avail_in == 0 && consumed < size) {
            const std::size_t step = std::min(kInputStep, size - consumed);
            z.next_in = const_cast<Bytef*>(data + consumed);
            z.avail_in = static_cast<uInt>(step);
            consumed += step;
        }
        if (out.size() >= limit) break;
        const std::size_t before = out.size();
        const std::size_t room = std::min(kOutputStep, limit - before);
        out.resize(before + room);
        z.next_out = out.data() + before;
        z.avail_out = static_cast<uInt>(room);
        const uInt inBefore = z.avail_in;
        const int rc = inflate(&z, Z_NO_FLUSH);
        out.resize(before + (room - z.avail_out));
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) break;  // malformed data ends decoding
        const bool progressed = out.size() != before || z.avail_in != inBefore;
        if (!progressed && z.avail_in == 0 && consumed >= size) break;  // input exhausted
        if (!progressed && z.avail_in != 0) break;                      // cannot happen with room left
    }
    return out;
}
