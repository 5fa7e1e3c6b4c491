// The four name-keyed tables of a parsed skin: bitmaps, integers, flags and
// texts. Names are compared without regard to letter case, and the first entry
// of a name wins over any later one.
#pragma once

#include "skin/archive/SkinBitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

class SkinTables {
public:
    // Each Add returns false, keeping the earlier value, when the name is taken.
    bool AddBitmap(const std::string& name, std::unique_ptr<SkinBitmap> bitmap);
    // An empty value records a name whose data could not be read as a number.
    bool AddInt(const std::string& name, std::optional<std::int32_t> value);
    bool AddBool(const std::string& name, std::optional<std::uint8_t> value);
    bool AddText(const std::string& name, std::string value);

    bool HasBitmap(const std::string& name) const;
    bool HasText(const std::string& name) const;

    // The bitmap, or null. The tables keep owning it.
    SkinBitmap* Bitmap(const std::string& name) const;
    // The integer, or -1 when the name is missing or its value unreadable.
    std::int32_t Int(const std::string& name) const;
    // The flag's byte, or 0 when the name is missing or its value unreadable.
    std::uint8_t Bool(const std::string& name) const;
    // The text, or empty.
    std::string Text(const std::string& name) const;

    std::size_t BitmapCount() const { return bitmaps_.size(); }
    std::size_t IntCount() const { return ints_.size(); }
    std::size_t BoolCount() const { return bools_.size(); }
    std::size_t TextCount() const { return texts_.size(); }

    // Calls f(bitmap) for every bitmap.
    template <typename F>
    void ForEachBitmap(F&& f) const {
        for (const auto& entry : bitmaps_) f(*entry.second);
    }

private:
    std::unordered_map<std::string, std::unique_ptr<SkinBitmap>> bitmaps_;
    std::unordered_map<std::string, std::optional<std::int32_t>> ints_;
    std::unordered_map<std::string, std::optional<std::uint8_t>> bools_;
    std::unordered_map<std::string, std::string> texts_;
};

// The key under which a name is kept: the name in ASCII upper case.
std::string SkinNameKey(const std::string& name);
