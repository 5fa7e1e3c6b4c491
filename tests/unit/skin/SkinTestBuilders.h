// Builders of skin archives, skin resource files and BMP images for the tests,
// with knobs for every malformation that the reader must reject.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

Bytes RawDeflate(const Bytes& data, int level = 9);

// A 24-bit bottom-up BMP file image; colour(x, y) answers 0x00BBGGRR.
Bytes Bmp24(int width, int height, const std::function<std::uint32_t(int x, int y)>& color);

class ResourceBuilder {
public:
    ResourceBuilder& Raw(const std::string& name, std::uint8_t kind, Bytes data);
    ResourceBuilder& Bitmap(const std::string& name, Bytes bmp) { return Raw(name, 0, std::move(bmp)); }
    ResourceBuilder& Int(const std::string& name, std::int32_t value);
    ResourceBuilder& Bool(const std::string& name, std::uint8_t value) { return Raw(name, 2, {value}); }
    ResourceBuilder& Text(const std::string& name, const std::string& text) {
        return Raw(name, 3, Bytes(text.begin(), text.end()));
    }
    // Header fields, for malformed files.
    ResourceBuilder& HeaderSize(std::uint32_t size) {
        headerSize_ = size;
        return *this;
    }

    Bytes Build() const;

private:
    struct Entry {
        std::string name;
        std::uint8_t kind;
        Bytes data;
    };
    std::vector<Entry> entries_;
    std::uint32_t headerSize_ = 24;
};

struct ArchiveEntry {
    std::string name = "SKINDATA.SK2";
    Bytes data;
    std::optional<Bytes> compressed;            // the stream to store instead of deflating `data`
    std::optional<std::uint32_t> recordedSize;  // the uncompressed size to record instead of the real one
    std::optional<std::uint32_t> recordedCompressedSize;
    std::optional<std::uint32_t> localOffset;
    std::uint16_t flags = 0;  // bit 3 makes the password check use the time
    std::string password;     // encrypts when not empty
    Bytes centralExtra;
    std::uint16_t time = 0x6A3C;
};

struct ArchiveLayout {
    std::vector<ArchiveEntry> entries;
    std::string comment;
    std::string signature = "SK";
    std::optional<std::uint32_t> centralOffset;
};

Bytes BuildArchive(const ArchiveLayout& layout);
// The usual case: one deflated, unencrypted "SKINDATA.SK2" entry.
Bytes SkinArchive(const Bytes& resource, const std::string& password = "");
