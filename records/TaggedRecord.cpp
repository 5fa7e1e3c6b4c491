#include "records/TaggedRecord.h"

#include <cstdio>

namespace kv90rec {

namespace {

std::string Tag(int type, int field) {
    char tag[32];
    std::snprintf(tag, sizeof tag, "%d.%03d:", type, field);
    return tag;
}

size_t Digits(size_t value) {
    size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

std::string FieldText(const std::string& text) {
    std::string clean = text;
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
    return clean;
}

void TaggedRecord::Add(int field, const std::string& value) { fields_[field] = value; }

void TaggedRecord::AddSubfields(int field, const std::vector<std::vector<std::string>>& subfields) {
    std::string value;
    for (size_t s = 0; s < subfields.size(); ++s) {
        if (s > 0) value += kRecordSeparator;
        for (size_t i = 0; i < subfields[s].size(); ++i) {
            if (i > 0) value += kUnitSeparator;
            value += subfields[s][i];
        }
    }
    fields_[field] = value;
}

void TaggedRecord::AddImage(int field, const std::vector<uint8_t>& data) {
    imageField_ = field;
    image_ = data;
}

std::string TaggedRecord::Encode() const {
    // Everything after the length field: each further field follows a GS, the
    // last one is closed by the FS.
    std::string rest;
    for (const auto& field : fields_) {
        if (field.first == 1) continue;
        rest += kGroupSeparator + Tag(type_, field.first) + field.second;
    }
    if (imageField_ != 0) {
        rest += kGroupSeparator + Tag(type_, imageField_);
        rest.append(reinterpret_cast<const char*>(image_.data()), image_.size());
    }
    rest += kFileSeparator;
    const std::string lengthTag = Tag(type_, 1);
    // The length's own digits count towards it: grow until it stays put.
    size_t length = lengthTag.size() + rest.size();
    while (lengthTag.size() + Digits(length) + rest.size() != length) length = lengthTag.size() + Digits(length) + rest.size();
    return lengthTag + std::to_string(length) + rest;
}

}  // namespace kv90rec
