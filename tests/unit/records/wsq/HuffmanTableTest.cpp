// Canonical codes from a table's counts, decoding by them, and tables built
// from frequencies held to 16 bits.
#include "records/wsq/EntropyBits.h"
#include "records/wsq/HuffmanTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using kv90rec::wsq::HuffmanCodes;
using kv90rec::wsq::HuffmanDefinition;

// One code of 2 bits, five of 3, then one each of 4 to 9 bits, for symbols 0..11.
HuffmanDefinition HandBuilt() {
    HuffmanDefinition definition;
    definition.counts = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    for (int symbol = 0; symbol < 12; ++symbol) definition.symbols.push_back(static_cast<uint8_t>(symbol));
    return definition;
}

std::string CodeText(const kv90rec::wsq::HuffmanCode& code) {
    std::string text;
    for (int bit = code.length - 1; bit >= 0; --bit) text += (code.bits >> bit & 1) != 0 ? '1' : '0';
    return text;
}

TEST(WsqHuffmanTable, HandBuiltTableGivesCanonicalCodes) {
    HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(HandBuilt(), codes));
    const char* expected[12] = {"00",     "010",     "011",      "100",       "101",        "110",
                                "1110",   "11110",   "111110",   "1111110",   "11111110",   "111111110"};
    for (int symbol = 0; symbol < 12; ++symbol) EXPECT_EQ(CodeText(codes[symbol]), expected[symbol]) << symbol;
    EXPECT_EQ(codes[12].length, 0);
}

TEST(WsqHuffmanTable, DecoderReadsTheCodesBack) {
    HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(HandBuilt(), codes));
    std::vector<uint8_t> data;
    kv90rec::wsq::EntropyWriter writer(data);
    const int sequence[] = {11, 0, 5, 6, 9, 3, 3, 7, 1, 10};
    for (int symbol : sequence) writer.Put(codes[symbol].bits, codes[symbol].length);
    writer.Finish();
    kv90rec::wsq::HuffmanDecoder decoder;
    ASSERT_TRUE(decoder.Init(HandBuilt()));
    kv90rec::wsq::EntropyReader reader(data.data(), data.size(), 0);
    for (int symbol : sequence) EXPECT_EQ(decoder.Decode(reader), symbol);
}

TEST(WsqHuffmanTable, RefusesCountsThatOverfillTheirLengths) {
    HuffmanDefinition definition;
    definition.counts = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    definition.symbols = {1, 2, 3};
    HuffmanCodes codes;
    EXPECT_FALSE(kv90rec::wsq::MakeCodes(definition, codes));
    kv90rec::wsq::HuffmanDecoder decoder;
    EXPECT_FALSE(decoder.Init(definition));
    definition.counts = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    definition.symbols = {1, 1};  // one symbol twice
    EXPECT_FALSE(kv90rec::wsq::MakeCodes(definition, codes));
}

TEST(WsqHuffmanTable, BuiltTablesStayWithin16BitsAndLeaveTheAllOnesCode) {
    // Fibonacci frequencies would give a 39-bit code without the limit.
    std::array<uint32_t, 256> frequencies{};
    uint32_t a = 1;
    uint32_t b = 1;
    for (int symbol = 0; symbol < 40; ++symbol) {
        frequencies[symbol] = a;
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    const HuffmanDefinition definition = kv90rec::wsq::BuildHuffmanDefinition(frequencies);
    HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(definition, codes));
    double kraft = 0.0;
    for (int symbol = 0; symbol < 256; ++symbol) {
        if (frequencies[symbol] == 0) {
            EXPECT_EQ(codes[symbol].length, 0) << symbol;
            continue;
        }
        ASSERT_GT(codes[symbol].length, 0) << symbol;
        EXPECT_LE(codes[symbol].length, 16) << symbol;
        EXPECT_NE(codes[symbol].bits, (1u << codes[symbol].length) - 1u) << "all ones for " << symbol;
        kraft += std::ldexp(1.0, -codes[symbol].length);
    }
    EXPECT_LT(kraft, 1.0);
    // The most frequent symbols get the shortest codes.
    EXPECT_LE(codes[39].length, codes[20].length);
    EXPECT_LE(codes[20].length, codes[0].length);
}

TEST(WsqHuffmanTable, OneSymbolStillGetsACode) {
    std::array<uint32_t, 256> frequencies{};
    frequencies[180] = 500;
    const HuffmanDefinition definition = kv90rec::wsq::BuildHuffmanDefinition(frequencies);
    HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(definition, codes));
    EXPECT_EQ(codes[180].length, 1);
    EXPECT_EQ(codes[180].bits, 0);
}

}  // namespace
