#include "An2kReader.h"
#include "records/TaggedRecord.h"

#include <gtest/gtest.h>

// The length field counts its own digits: a record whose length crosses from
// two to three digits because of them must still say exactly its length.
TEST(TaggedRecord, LengthCountsItsOwnDigitsAcrossADigitBoundary) {
    for (size_t valueSize = 70; valueSize < 120; ++valueSize) {
        kv90rec::TaggedRecord record(2);
        record.Add(2, "00");
        record.Add(18, std::string(valueSize, 'x'));
        const std::string encoded = record.Encode();
        const size_t colon = encoded.find(':');
        const size_t end = encoded.find('\x1D');
        EXPECT_EQ(encoded.substr(colon + 1, end - colon - 1), std::to_string(encoded.size())) << valueSize;
        EXPECT_EQ(encoded.back(), '\x1C');
        EXPECT_EQ(encoded.compare(0, 6, "2.001:"), 0);
    }
}

TEST(TaggedRecord, FieldsInNumberOrderImageLast) {
    kv90rec::TaggedRecord record(14);
    record.AddImage(999, {0x1C, 0x1D, 0xFF});
    record.Add(13, "6");
    record.Add(2, "01");
    const std::string encoded = record.Encode();
    EXPECT_LT(encoded.find("14.002:01"), encoded.find("14.013:6"));
    const std::string tail = std::string("\x1D") + "14.999:" + "\x1C\x1D\xFF" + "\x1C";
    ASSERT_GT(encoded.size(), tail.size());
    EXPECT_EQ(encoded.substr(encoded.size() - tail.size()), tail);
}
