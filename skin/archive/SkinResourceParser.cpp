#include "skin/archive/SkinResourceParser.h"

#include "skin/archive/BmpDecoder.h"
#include "skin/archive/SkinLimits.h"

#include <memory>
#include <string>
#include <unordered_set>

namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool InFile(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && size - offset >= length;
}

std::string EntryName(const std::uint8_t* header) {
    std::size_t length = 0;
    while (length < sk2::kEntryNameSize && header[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(header), length);
}

}  // namespace

bool ParseSkinResource(const std::uint8_t* data, std::size_t size, SkinTables& tables) {
    if (data == nullptr || size < 16) return false;
    // The header is re-read at its own recorded size; the first entry's offset sits at 20.
    const std::uint32_t headerSize = Read32(data + 12);
    if (headerSize < sk2::kFileHeaderSize || headerSize > size) return false;

    std::unordered_set<std::size_t> visited;
    std::size_t entryBytes = 0;
    std::int64_t pixels = 0;
    std::size_t pos = Read32(data + 20);
    for (;;) {
        if (!InFile(size, pos, sk2::kEntryHeaderSize)) return false;
        const std::uint8_t* header = data + pos;
        const std::size_t next = Read32(header + 73);
        if (next == 0) break;
        if (visited.size() >= skinlimits::kMaxResourceEntries || !visited.insert(pos).second) return false;

        const std::string name = EntryName(header);
        const std::uint8_t kind = header[64];
        const std::size_t offset = Read32(header + 65);
        const std::size_t length = Read32(header + 69);
        if (kind <= sk2::kKindText && !InFile(size, offset, length)) return false;
        const std::uint8_t* value = data + offset;

        switch (kind) {
        case sk2::kKindBitmap: {
            if (tables.HasBitmap(name)) break;  // the first entry of a name wins
            entryBytes += length;
            if (entryBytes > skinlimits::kMaxTotalEntryBytes) return false;
            auto bitmap = std::make_unique<SkinBitmap>();
            if (!DecodeBmp(value, length, *bitmap)) return false;
            pixels += static_cast<std::int64_t>(bitmap->Width()) * bitmap->Height();
            if (pixels > skinlimits::kMaxTotalBitmapPixels) return false;
            tables.AddBitmap(name, std::move(bitmap));
            break;
        }
        case sk2::kKindInt: {
            std::optional<std::int32_t> number;
            if (length >= 4) number = static_cast<std::int32_t>(Read32(value));
            tables.AddInt(name, number);
            break;
        }
        case sk2::kKindBool: {
            std::optional<std::uint8_t> flag;
            if (length >= 1) flag = value[0];
            tables.AddBool(name, flag);
            break;
        }
        case sk2::kKindText: {
            if (tables.HasText(name)) break;
            entryBytes += length;
            if (entryBytes > skinlimits::kMaxTotalEntryBytes) return false;
            tables.AddText(name, std::string(reinterpret_cast<const char*>(value), length));
            break;
        }
        default:
            break;  // kinds the engine does not know are skipped
        }
        pos = next;
    }
    return true;
}
