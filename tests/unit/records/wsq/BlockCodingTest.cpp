// The symbols a block's coefficients become (the format's categories: zero
// runs, values -73..74, escapes with 8 or 16 bits) and their way through the
// Huffman codes and back.
#include "records/wsq/BlockCoding.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using kv90rec::wsq::CodedSymbol;

std::vector<CodedSymbol> Symbols(const std::vector<int32_t>& coefficients) {
    std::vector<CodedSymbol> symbols;
    kv90rec::wsq::SymbolsOfBlock(coefficients.data(), coefficients.size(), symbols);
    return symbols;
}

void ExpectSymbol(const CodedSymbol& symbol, int code, int extraLength, int extra) {
    EXPECT_EQ(symbol.symbol, code);
    EXPECT_EQ(symbol.extraLength, extraLength) << "symbol " << code;
    EXPECT_EQ(symbol.extra, extra) << "symbol " << code;
}

TEST(WsqBlockCoding, ValuesFrom73Below0To74AreSymbolsOfTheirOwn) {
    const std::vector<CodedSymbol> symbols = Symbols({1, -1, 74, -73});
    ASSERT_EQ(symbols.size(), 4u);
    ExpectSymbol(symbols[0], 181, 0, 0);
    ExpectSymbol(symbols[1], 179, 0, 0);
    ExpectSymbol(symbols[2], 254, 0, 0);
    ExpectSymbol(symbols[3], 107, 0, 0);
}

TEST(WsqBlockCoding, LargerValuesEscapeWithTheirMagnitude) {
    const std::vector<CodedSymbol> symbols = Symbols({75, -74, 255, 256, -300, 65535});
    ASSERT_EQ(symbols.size(), 6u);
    ExpectSymbol(symbols[0], 101, 8, 75);
    ExpectSymbol(symbols[1], 102, 8, 74);
    ExpectSymbol(symbols[2], 101, 8, 255);
    ExpectSymbol(symbols[3], 103, 16, 256);
    ExpectSymbol(symbols[4], 104, 16, 300);
    ExpectSymbol(symbols[5], 103, 16, 65535);
}

TEST(WsqBlockCoding, ZeroRunsUpTo100AreSymbolsLongerOnesEscape) {
    std::vector<int32_t> coefficients(100, 0);
    coefficients.push_back(5);
    coefficients.insert(coefficients.end(), 101, 0);
    coefficients.push_back(5);
    coefficients.insert(coefficients.end(), 256, 0);
    coefficients.push_back(5);
    coefficients.insert(coefficients.end(), 70000, 0);  // the block ends in zeros
    const std::vector<CodedSymbol> symbols = Symbols(coefficients);
    ASSERT_EQ(symbols.size(), 8u);
    ExpectSymbol(symbols[0], 100, 0, 0);
    ExpectSymbol(symbols[2], 105, 8, 101);
    ExpectSymbol(symbols[4], 106, 16, 256);
    // 70000 zeros take two runs, the longest a run can say and the rest.
    ExpectSymbol(symbols[6], 106, 16, 65535);
    ExpectSymbol(symbols[7], 106, 16, 70000 - 65535);
}

kv90rec::wsq::HuffmanDefinition TableFor(const std::vector<CodedSymbol>& symbols) {
    std::array<uint32_t, 256> frequencies{};
    for (const CodedSymbol& symbol : symbols) ++frequencies[symbol.symbol];
    return kv90rec::wsq::BuildHuffmanDefinition(frequencies);
}

std::vector<int32_t> Mixed() {
    std::vector<int32_t> coefficients;
    for (int i = 0; i < 3000; ++i) {
        const int pick = (i * 7919) % 23;
        coefficients.push_back(pick < 12 ? 0 : pick < 20 ? pick - 16 : pick == 20 ? 300 : pick == 21 ? -90 : 0);
    }
    coefficients.insert(coefficients.end(), 400, 0);
    return coefficients;
}

TEST(WsqBlockCoding, CoefficientsComeBackThroughTheCodes) {
    const std::vector<int32_t> coefficients = Mixed();
    const std::vector<CodedSymbol> symbols = Symbols(coefficients);
    const kv90rec::wsq::HuffmanDefinition definition = TableFor(symbols);
    kv90rec::wsq::HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(definition, codes));
    std::vector<uint8_t> data;
    kv90rec::wsq::EncodeBlock(symbols, codes, data);
    data.push_back(0xFF);
    data.push_back(0xA1);
    kv90rec::wsq::HuffmanDecoder decoder;
    ASSERT_TRUE(decoder.Init(definition));
    std::vector<int32_t> decoded(coefficients.size(), 99);
    size_t position = 0;
    std::string error;
    ASSERT_TRUE(kv90rec::wsq::DecodeBlock(data.data(), data.size(), position, decoder, decoded, error)) << error;
    EXPECT_EQ(decoded, coefficients);
    EXPECT_EQ(position, data.size() - 2);  // left at the marker after the data
}

TEST(WsqBlockCoding, RestartMarkersBetweenCodesArePassedOver) {
    const std::vector<int32_t> coefficients = Mixed();
    const std::vector<CodedSymbol> symbols = Symbols(coefficients);
    const kv90rec::wsq::HuffmanDefinition definition = TableFor(symbols);
    kv90rec::wsq::HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(definition, codes));
    const size_t half = symbols.size() / 2;
    std::vector<uint8_t> data;
    kv90rec::wsq::EncodeBlock(std::vector<CodedSymbol>(symbols.begin(), symbols.begin() + static_cast<long>(half)),
                              codes, data);
    data.push_back(0xFF);
    data.push_back(0xB0);
    kv90rec::wsq::EncodeBlock(std::vector<CodedSymbol>(symbols.begin() + static_cast<long>(half), symbols.end()), codes,
                              data);
    kv90rec::wsq::HuffmanDecoder decoder;
    ASSERT_TRUE(decoder.Init(definition));
    std::vector<int32_t> decoded(coefficients.size());
    size_t position = 0;
    std::string error;
    ASSERT_TRUE(kv90rec::wsq::DecodeBlock(data.data(), data.size(), position, decoder, decoded, error)) << error;
    EXPECT_EQ(decoded, coefficients);
}

TEST(WsqBlockCoding, DataShortOfOrBeyondTheSubbandsIsRefused) {
    const std::vector<int32_t> coefficients = Mixed();
    const std::vector<CodedSymbol> symbols = Symbols(coefficients);
    const kv90rec::wsq::HuffmanDefinition definition = TableFor(symbols);
    kv90rec::wsq::HuffmanCodes codes;
    ASSERT_TRUE(kv90rec::wsq::MakeCodes(definition, codes));
    std::vector<uint8_t> data;
    kv90rec::wsq::EncodeBlock(symbols, codes, data);
    kv90rec::wsq::HuffmanDecoder decoder;
    ASSERT_TRUE(decoder.Init(definition));
    std::string error;
    size_t position = 0;
    std::vector<int32_t> more(coefficients.size() + 1);
    EXPECT_FALSE(kv90rec::wsq::DecodeBlock(data.data(), data.size(), position, decoder, more, error));
    EXPECT_NE(error.find("ends early"), std::string::npos) << error;
    // The last run of 400 zeros does not fit in 300 places.
    position = 0;
    std::vector<int32_t> fewer(coefficients.size() - 100);
    EXPECT_FALSE(kv90rec::wsq::DecodeBlock(data.data(), data.size(), position, decoder, fewer, error));
    EXPECT_NE(error.find("more coefficients"), std::string::npos) << error;
}

}  // namespace
