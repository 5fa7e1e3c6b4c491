// Writes a skin archive: a ZIP archive holding deflated entries, unencrypted,
// without extra fields or comments, whose first two bytes are "SK".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SkinArchiveWriter {
public:
    void AddEntry(const std::string& name, const std::vector<std::uint8_t>& data);
    std::vector<std::uint8_t> Bytes() const;

private:
    struct Entry {
        std::string name;
        std::uint32_t crc;
        std::uint32_t size;
        std::vector<std::uint8_t> compressed;
    };
    std::vector<Entry> entries_;
};
