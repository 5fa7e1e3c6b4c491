// One tagged-field logical record of an ANSI/NIST-ITL transaction in the
// traditional encoding: "T.NNN:" value fields separated by GS, subfields by
// RS, information items by US, the record ended by FS, its length field
// (T.001) counting every byte of the record, its own digits included.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kv90rec {

constexpr char kFileSeparator = '\x1C';
constexpr char kGroupSeparator = '\x1D';
constexpr char kRecordSeparator = '\x1E';
constexpr char kUnitSeparator = '\x1F';

class TaggedRecord {
public:
    explicit TaggedRecord(int type) : type_(type) {}

    // A field of one subfield of one item.
    void Add(int field, const std::string& value);
    // A field of subfields, each of information items.
    void AddSubfields(int field, const std::vector<std::vector<std::string>>& subfields);
    // The binary image field; written as it is, last, whatever its number.
    void AddImage(int field, const std::vector<uint8_t>& data);

    // The whole record with its length field.
    std::string Encode() const;

private:
    int type_;
    std::map<int, std::string> fields_;  // field number -> value as encoded
    int imageField_ = 0;
    std::vector<uint8_t> image_;
};

// Separators and other control characters in a text become spaces: a person's
// name or key must never end a field early.
std::string FieldText(const std::string& text);

}  // namespace kv90rec
