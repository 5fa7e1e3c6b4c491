// Writes a skin resource file ("SKINDATA.SK2"): the "TOLVANEX_SK2" header,
// then each entry as a 77-byte header followed by its data, then a terminator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Sk2Writer {
public:
    void AddBitmap(const std::string& name, std::vector<std::uint8_t> bmpFile);
    void AddInt(const std::string& name, std::int32_t value);
    void AddBool(const std::string& name, bool value);
    void AddText(const std::string& name, const std::string& text);

    std::vector<std::uint8_t> Bytes() const;

private:
    struct Entry {
        std::string name;
        std::uint8_t kind;
        std::vector<std::uint8_t> data;
    };
    std::vector<Entry> entries_;
};
