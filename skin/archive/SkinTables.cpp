#include "skin/archive/SkinTables.h"

#include <cctype>
#include <utility>

std::string SkinNameKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

bool SkinTables::AddBitmap(const std::string& name, std::unique_ptr<SkinBitmap> bitmap) {
    if (!bitmap) return false;
    return bitmaps_.emplace(SkinNameKey(name), std::move(bitmap)).second;
}

bool SkinTables::AddInt(const std::string& name, std::optional<std::int32_t> value) {
    return ints_.emplace(SkinNameKey(name), value).second;
}

bool SkinTables::AddBool(const std::string& name, std::optional<std::uint8_t> value) {
    return bools_.emplace(SkinNameKey(name), value).second;
}

bool SkinTables::AddText(const std::string& name, std::string value) {
    return texts_.emplace(SkinNameKey(name), std::move(value)).second;
}

bool SkinTables::HasBitmap(const std::string& name) const { return bitmaps_.count(SkinNameKey(name)) != 0; }

bool SkinTables::HasText(const std::string& name) const { return texts_.count(SkinNameKey(name)) != 0; }

SkinBitmap* SkinTables::Bitmap(const std::string& name) const {
    const auto it = bitmaps_.find(SkinNameKey(name));
    return it == bitmaps_.end() ? nullptr : it->second.get();
}

std::int32_t SkinTables::Int(const std::string& name) const {
    const auto it = ints_.find(SkinNameKey(name));
    return (it == ints_.end() || !it->second) ? -1 : *it->second;
}

std::uint8_t SkinTables::Bool(const std::string& name) const {
    const auto it = bools_.find(SkinNameKey(name));
    return (it == bools_.end() || !it->second) ? 0 : *it->second;
}

std::string SkinTables::Text(const std::string& name) const {
    const auto it = texts_.find(SkinNameKey(name));
    return it == texts_.end() ? std::string() : it->second;
}
