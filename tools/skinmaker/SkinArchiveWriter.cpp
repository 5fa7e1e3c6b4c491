#include "SkinArchiveWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace {

// A fixed time stamp (2024-01-01 00:00) keeps the archive the same from build to build.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = ((2024 - 1980) << 9) | (1 << 5) | 1;
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kMethodDeflate = 8;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<std::uint8_t> RawDeflate(const std::vector<std::uint8_t>& data) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
    return out;
}

}  // namespace

void SkinArchiveWriter::AddEntry(const std::string& name, const std::vector<std::uint8_t>& data) {
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
    entries_.push_back({name, crc, static_cast<std::uint32_t>(data.size()), RawDeflate(data)});
}

std::vector<std::uint8_t> SkinArchiveWriter::Bytes() const {
    std::vector<std::uint8_t> out, central;
    for (const Entry& e : entries_) {
        const std::uint32_t local = static_cast<std::uint32_t>(out.size());
        Put32(out, 0x04034B50);
        Put16(out, kVersion);
        Put16(out, 0);
        Put16(out, kMethodDeflate);
        Put16(out, kDosTime);
        Put16(out, kDosDate);
        Put32(out, e.crc);
        Put32(out, static_cast<std::uint32_t>(e.compressed.size()));
        Put32(out, e.size);
        Put16(out, static_cast<std::uint32_t>(e.name.size()));
        Put16(out, 0);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), e.compressed.begin(), e.compressed.end());

        Put32(central, 0x02014B50);
        Put16(central, kVersion);
        Put16(central, kVersion);
        Put16(central, 0);
        Put16(central, kMethodDeflate);
        Put16(central, kDosTime);
        Put16(central, kDosDate);
        Put32(central, e.crc);
        Put32(central, static_cast<std::uint32_t>(e.compressed.size()));
        Put32(central, e.size);
        Put16(central, static_cast<std::uint32_t>(e.name.size()));
        Put16(central, 0);  // extra field: none, the engine does not skip one
        Put16(central, 0);  // comment: none, for the same reason
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, local);
        central.insert(central.end(), e.name.begin(), e.name.end());
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put32(out, static_cast<std::uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);  // no archive comment: the engine finds the end record only at the very end
    // The engine knows its archives by "SK" where ZIP has "PK".
    out[0] = 'S';
    return out;
}
