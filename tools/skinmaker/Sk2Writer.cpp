#include "Sk2Writer.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kEntryHeaderSize = 77;
constexpr std::size_t kNameSize = 64;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutEntryHeader(std::vector<std::uint8_t>& out, const std::string& name, std::uint8_t kind, std::uint32_t offset,
                    std::uint32_t size, std::uint32_t next) {
    if (name.size() > kNameSize) throw std::runtime_error("skin entry name too long: " + name);
    std::string padded = name;
    padded.resize(kNameSize, '\0');
    out.insert(out.end(), padded.begin(), padded.end());
    out.push_back(kind);
    Put32(out, offset);
    Put32(out, size);
    Put32(out, next);
}

}  // namespace

void Sk2Writer::AddBitmap(const std::string& name, std::vector<std::uint8_t> bmpFile) {
    entries_.push_back({name, 0, std::move(bmpFile)});
}

void Sk2Writer::AddInt(const std::string& name, std::int32_t value) {
    std::vector<std::uint8_t> data;
    Put32(data, static_cast<std::uint32_t>(value));
    entries_.push_back({name, 1, data});
}

void Sk2Writer::AddBool(const std::string& name, bool value) {
    entries_.push_back({name, 2, {static_cast<std::uint8_t>(value ? 1 : 0)}});
}

void Sk2Writer::AddText(const std::string& name, const std::string& text) {
    entries_.push_back({name, 3, std::vector<std::uint8_t>(text.begin(), text.end())});
}

std::vector<std::uint8_t> Sk2Writer::Bytes() const {
    std::size_t total = kHeaderSize + kEntryHeaderSize;
    for (const Entry& e : entries_) total += kEntryHeaderSize + e.data.size();
    const std::string magic = "TOLVANEX_SK2";
    std::vector<std::uint8_t> out(magic.begin(), magic.end());
    out.reserve(total);
    Put32(out, kHeaderSize);
    Put32(out, 2);
    Put32(out, kHeaderSize);
    for (const Entry& e : entries_) {
        const std::uint32_t at = static_cast<std::uint32_t>(out.size());
        const std::uint32_t data = at + kEntryHeaderSize;
        const std::uint32_t size = static_cast<std::uint32_t>(e.data.size());
        PutEntryHeader(out, e.name, e.kind, data, size, data + size);
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    PutEntryHeader(out, "", 0, 0, 0, 0);
    return out;
}
