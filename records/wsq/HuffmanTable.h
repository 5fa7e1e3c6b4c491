// Huffman tables as the file carries them (a count of codes per length 1..16
// and the symbols in code order), the canonical codes they define, and the
// table an encoder builds from symbol frequencies with lengths held to 16 bits.
#pragma once

#include "records/wsq/EntropyBits.h"
#include "records/wsq/Markers.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kv90rec::wsq {

struct HuffmanDefinition {
    std::array<uint8_t, kMaxCodeLength> counts{};  // counts[i]: codes of length i + 1
    std::vector<uint8_t> symbols;                   // in order of increasing code
};

struct HuffmanCode {
    uint16_t bits = 0;
    uint8_t length = 0;  // 0: the symbol has no code
};

using HuffmanCodes = std::array<HuffmanCode, 256>;

// The canonical codes of `definition`: consecutive codes within a length, each
// length starting at twice the code after the previous length's last. False
// when the counts do not fit their lengths or do not match the symbols.
bool MakeCodes(const HuffmanDefinition& definition, HuffmanCodes& codes);

// The optimal table for the symbol frequencies with no code over 16 bits and
// no code of all 1 bits (the padding of a block could be read as one).
HuffmanDefinition BuildHuffmanDefinition(const std::array<uint32_t, 256>& frequencies);

class HuffmanDecoder {
public:
    // False when the table is not a valid code.
    bool Init(const HuffmanDefinition& definition);

    // The next symbol, or -1 when the data ends or holds no valid code.
    int Decode(EntropyReader& reader) const;

private:
    std::array<int32_t, kMaxCodeLength + 1> maxCode_{};   // -1: no codes of this length
    std::array<int32_t, kMaxCodeLength + 1> firstCode_{};
    std::array<int32_t, kMaxCodeLength + 1> firstIndex_{};
    std::vector<uint8_t> symbols_;
};

}  // namespace kv90rec::wsq
