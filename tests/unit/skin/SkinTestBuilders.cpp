#include "SkinTestBuilders.h"

#include "skin/archive/PkwareCipher.h"

#include <zlib.h>

#include <stdexcept>

namespace {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutEntryHeader(Bytes& out, const std::string& name, std::uint8_t kind, std::uint32_t offset, std::uint32_t size,
                    std::uint32_t next) {
    std::string padded = name;
    padded.resize(64, '\0');
    out.insert(out.end(), padded.begin(), padded.end());
    out.push_back(kind);
    Put32(out, offset);
    Put32(out, size);
    Put32(out, next);
}

}  // namespace

Bytes RawDeflate(const Bytes& data, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflate");
    Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes Bmp24(int width, int height, const std::function<std::uint32_t(int, int)>& color) {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * 24 + 31) / 32) * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + stride * height);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = color(x, y);
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

ResourceBuilder& ResourceBuilder::Raw(const std::string& name, std::uint8_t kind, Bytes data) {
    entries_.push_back({name, kind, std::move(data)});
    return *this;
}

ResourceBuilder& ResourceBuilder::Int(const std::string& name, std::int32_t value) {
    Bytes data;
    Put32(data, static_cast<std::uint32_t>(value));
    return Raw(name, 1, data);
}

Bytes ResourceBuilder::Build() const {
    const std::string magic = "TOLVANEX_SK2";
    Bytes out(magic.begin(), magic.end());
    Put32(out, headerSize_);
    Put32(out, 2);
    Put32(out, 24);
    for (const Entry& e : entries_) {
        const std::uint32_t data = static_cast<std::uint32_t>(out.size()) + 77;
        const std::uint32_t size = static_cast<std::uint32_t>(e.data.size());
        PutEntryHeader(out, e.name, e.kind, data, size, data + size);
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    PutEntryHeader(out, "", 0, 0, 0, 0);
    return out;
}

Bytes BuildArchive(const ArchiveLayout& layout) {
    Bytes out, central;
    for (const ArchiveEntry& e : layout.entries) {
        const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, e.data.data(), static_cast<uInt>(e.data.size())));
        Bytes stored = e.compressed ? *e.compressed : RawDeflate(e.data);
        std::uint16_t flags = e.flags;
        if (!e.password.empty()) {
            flags |= 1;
            Bytes header = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0};
            header[11] = static_cast<std::uint8_t>((flags & 8) ? (e.time >> 8) : (crc >> 24));
            stored.insert(stored.begin(), header.begin(), header.end());
            PkwareCipher(e.password).Encrypt(stored.data(), stored.size());
        }
        const std::uint32_t compressedSize =
            e.recordedCompressedSize.value_or(static_cast<std::uint32_t>(stored.size()));
        const std::uint32_t size = e.recordedSize.value_or(static_cast<std::uint32_t>(e.data.size()));
        const std::uint32_t local = static_cast<std::uint32_t>(out.size());
        const auto header = [&](Bytes& to, bool centralRecord) {
            Put32(to, centralRecord ? 0x02014B50 : 0x04034B50);
            if (centralRecord) Put16(to, 20);
            Put16(to, 20);
            Put16(to, flags);
            Put16(to, 8);
            Put16(to, e.time);
            Put16(to, 0x5A21);
            Put32(to, crc);
            Put32(to, compressedSize);
            Put32(to, size);
            Put16(to, static_cast<std::uint32_t>(e.name.size()));
            Put16(to, centralRecord ? static_cast<std::uint32_t>(e.centralExtra.size()) : 0);
        };
        header(out, false);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), stored.begin(), stored.end());
        header(central, true);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, e.localOffset.value_or(local));
        central.insert(central.end(), e.name.begin(), e.name.end());
        central.insert(central.end(), e.centralExtra.begin(), e.centralExtra.end());
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(layout.entries.size()));
    Put16(out, static_cast<std::uint32_t>(layout.entries.size()));
    Put32(out, static_cast<std::uint32_t>(central.size()));
    Put32(out, layout.centralOffset.value_or(centralOffset));
    Put16(out, static_cast<std::uint32_t>(layout.comment.size()));
    out.insert(out.end(), layout.comment.begin(), layout.comment.end());
    if (out.size() >= 2 && layout.signature.size() == 2) {
        out[0] = static_cast<std::uint8_t>(layout.signature[0]);
        out[1] = static_cast<std::uint8_t>(layout.signature[1]);
    }
    return out;
}

Bytes SkinArchive(const Bytes& resource, const std::string& password) {
    ArchiveLayout layout;
    ArchiveEntry entry;
    entry.data = resource;
    entry.password = password;
    layout.entries.push_back(entry);
    return BuildArchive(layout);
}
