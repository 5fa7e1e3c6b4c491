// The tests' reader of ANSI/NIST-ITL transactions (traditional encoding),
// written from the standard apart from the library's writer: it walks the
// records the Type-1 content field lists, tagged and binary alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct An2kField {
    int number = 0;
    std::vector<std::vector<std::string>> subfields;  // subfields of information items
    std::string Value() const { return subfields.empty() || subfields[0].empty() ? std::string() : subfields[0][0]; }
};

struct An2kRecord {
    int type = 0;
    size_t offset = 0;  // where the record starts in the transaction
    size_t length = 0;  // bytes it spans, as read from its separators or binary length
    std::vector<An2kField> fields;
    std::vector<uint8_t> image;  // the image field's bytes, if any
    bool binary = false;
    const An2kField* Find(int number) const;
};

// False with a reason for a transaction that does not read whole: a length that
// disagrees with the record's end, a record the content field does not list, bytes left over.
bool ReadAn2kForTest(const std::vector<uint8_t>& bytes, std::vector<An2kRecord>& records, std::string& error);

// Every field but the image fields, one line each, as NIST's an2k2txt lists them:
// "record.field.subfield.item [type.field]=value" and a unit separator.
std::vector<std::string> ListFields(const std::vector<An2kRecord>& records);
