#include "An2kReader.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint8_t FS = 0x1C, GS = 0x1D, RS = 0x1E, US = 0x1F;
// NIST's listing ends every value with the unit separator.
constexpr const char* kItemEnd = "\x1F";

bool IsBinaryType(int type) { return type >= 3 && type <= 8; }

std::vector<std::vector<std::string>> Split(const std::string& value) {
    std::vector<std::vector<std::string>> subfields(1, std::vector<std::string>(1));
    for (char c : value) {
        if (static_cast<uint8_t>(c) == RS)
            subfields.emplace_back(1);
        else if (static_cast<uint8_t>(c) == US)
            subfields.back().emplace_back();
        else
            subfields.back().back() += c;
    }
    return subfields;
}

uint32_t Big(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

// A tagged record from `at`: its length field first, then every field to the FS.
bool ReadTagged(const std::vector<uint8_t>& bytes, size_t at, int expectedType, An2kRecord& record, std::string& error) {
    record = An2kRecord();
    record.offset = at;
    size_t colon = at;
    while (colon < bytes.size() && bytes[colon] != ':' && colon - at < 16) ++colon;
    if (colon >= bytes.size() || bytes[colon] != ':') {
        error = "no field tag at " + std::to_string(at);
        return false;
    }
    const std::string tag(bytes.begin() + at, bytes.begin() + colon);
    const size_t dot = tag.find('.');
    record.type = std::atoi(tag.substr(0, dot).c_str());
    if (dot == std::string::npos || record.type != expectedType || std::atoi(tag.substr(dot + 1).c_str()) != 1) {
        error = "record at " + std::to_string(at) + " does not start with its length field";
        return false;
    }
    size_t lengthEnd = colon + 1;
    while (lengthEnd < bytes.size() && bytes[lengthEnd] != GS && bytes[lengthEnd] != FS) ++lengthEnd;
    record.length = std::strtoul(std::string(bytes.begin() + colon + 1, bytes.begin() + lengthEnd).c_str(), nullptr, 10);
    const size_t end = at + record.length;
    if (record.length == 0 || end > bytes.size() || bytes[end - 1] != FS) {
        error = "record " + tag + " at " + std::to_string(at) + ": its length does not end at a file separator";
        return false;
    }
    size_t p = at;
    while (p < end) {
        size_t fieldColon = p;
        while (fieldColon < end && bytes[fieldColon] != ':') ++fieldColon;
        const std::string fieldTag(bytes.begin() + p, bytes.begin() + fieldColon);
        const size_t fieldDot = fieldTag.find('.');
        if (fieldColon >= end || fieldDot == std::string::npos ||
            std::atoi(fieldTag.substr(0, fieldDot).c_str()) != record.type) {
            error = "bad field tag \"" + fieldTag + "\" in record " + tag;
            return false;
        }
        const int number = std::atoi(fieldTag.substr(fieldDot + 1).c_str());
        if (number == 999) {
            // The image runs to the record's end, separators and all.
            record.image.assign(bytes.begin() + fieldColon + 1, bytes.begin() + end - 1);
            p = end;
            break;
        }
        size_t valueEnd = fieldColon + 1;
        while (valueEnd < end && bytes[valueEnd] != GS && bytes[valueEnd] != FS) ++valueEnd;
        An2kField field;
        field.number = number;
        field.subfields = Split(std::string(bytes.begin() + fieldColon + 1, bytes.begin() + valueEnd));
        record.fields.push_back(field);
        if (valueEnd >= end) {
            error = "record " + tag + " has no file separator";
            return false;
        }
        p = valueEnd + 1;
        if (bytes[valueEnd] == FS && p != end) {
            error = "record " + tag + " ends before its length says";
            return false;
        }
    }
    return true;
}

// Types 3 to 6: LEN 4, IDC 1, IMP 1, FGP 6, ISR 1, HLL 2, VLL 2, GCA 1, then the image.
// Types 7 and 8 are read as LEN and IDC before their own bytes.
bool ReadBinary(const std::vector<uint8_t>& bytes, size_t at, int type, An2kRecord& record, std::string& error) {
    record = An2kRecord();
    record.type = type;
    record.offset = at;
    record.binary = true;
    if (at + 5 > bytes.size()) {
        error = "binary record past the end";
        return false;
    }
    const uint8_t* p = bytes.data() + at;
    record.length = Big(p, 4);
    const size_t fixed = type <= 6 ? 18 : 5;
    if (record.length < fixed || at + record.length > bytes.size()) {
        error = "binary record of type " + std::to_string(type) + " with a bad length";
        return false;
    }
    const auto add = [&record](int number, std::vector<std::string> items) {
        An2kField field;
        field.number = number;
        field.subfields.push_back(std::move(items));
        record.fields.push_back(field);
    };
    add(1, {std::to_string(record.length)});
    add(2, {std::to_string(p[4])});
    if (type <= 6) {
        add(3, {std::to_string(p[5])});
        std::vector<std::string> positions;
        for (int i = 0; i < 6; ++i) positions.push_back(std::to_string(p[6 + i]));
        add(4, positions);
        add(5, {std::to_string(p[12])});
        add(6, {std::to_string(Big(p + 13, 2))});
        add(7, {std::to_string(Big(p + 15, 2))});
        add(8, {std::to_string(p[17])});
    }
    record.image.assign(p + fixed, p + record.length);
    return true;
}

}  // namespace

const An2kField* An2kRecord::Find(int number) const {
    for (const An2kField& field : fields)
        if (field.number == number) return &field;
    return nullptr;
}

bool ReadAn2kForTest(const std::vector<uint8_t>& bytes, std::vector<An2kRecord>& records, std::string& error) {
    records.clear();
    An2kRecord first;
    if (!ReadTagged(bytes, 0, 1, first, error)) return false;
    records.push_back(first);
    const An2kField* content = first.Find(3);
    if (!content || content->subfields.empty()) {
        error = "no content field (1.003)";
        return false;
    }
    size_t at = first.length;
    // The first subfield is this record's type and the count of the records after it.
    if (content->subfields[0].size() != 2 || content->subfields[0][0] != "1" ||
        std::atoi(content->subfields[0][1].c_str()) != static_cast<int>(content->subfields.size()) - 1) {
        error = "the content field's count disagrees with its list";
        return false;
    }
    for (size_t s = 1; s < content->subfields.size(); ++s) {
        const int type = std::atoi(content->subfields[s][0].c_str());
        An2kRecord record;
        const bool read = IsBinaryType(type) ? ReadBinary(bytes, at, type, record, error)
                                             : ReadTagged(bytes, at, type, record, error);
        if (!read) return false;
        records.push_back(record);
        at += record.length;
    }
    if (at != bytes.size()) {
        error = std::to_string(bytes.size() - at) + " bytes after the last listed record";
        return false;
    }
    return true;
}

std::vector<std::string> ListFields(const std::vector<An2kRecord>& records) {
    std::vector<std::string> lines;
    for (size_t r = 0; r < records.size(); ++r) {
        const An2kRecord& record = records[r];
        size_t f = 0;
        for (; f < record.fields.size(); ++f) {
            const An2kField& field = record.fields[f];
            for (size_t s = 0; s < field.subfields.size(); ++s) {
                for (size_t i = 0; i < field.subfields[s].size(); ++i) {
                    char prefix[64];
                    std::snprintf(prefix, sizeof prefix, "%zu.%zu.%zu.%zu [%d.%03d]=", r + 1, f + 1, s + 1, i + 1,
                                  record.type, field.number);
                    lines.push_back(prefix + field.subfields[s][i] + kItemEnd);
                }
            }
        }
        // NIST's reader names a binary record's image by the temporary file it writes it to.
        if (record.binary && record.type <= 6) {
            char line[64];
            std::snprintf(line, sizeof line, "%zu.%zu.1.1 [%d.%03d]=fld_%zu_%zu.tmp", r + 1, f + 1, record.type, 9, r + 1,
                          f + 1);
            lines.push_back(line + std::string(kItemEnd));
        }
    }
    return lines;
}
