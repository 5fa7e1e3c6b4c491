// The Huffman-coded data of one block: the quantized coefficients of the
// block's coded subbands, one after another, each subband row by row.
#pragma once

#include "records/wsq/CoefficientSymbols.h"
#include "records/wsq/HuffmanTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec::wsq {

// Reads `coefficients.size()` coefficients from the data at `position`
// (restart markers within it are passed over) and leaves `position` after
// the data's last byte. False when the data ends early or holds a symbol
// that does not fit.
bool DecodeBlock(const uint8_t* data, size_t size, size_t& position, const HuffmanDecoder& decoder,
                 std::vector<int32_t>& coefficients, std::string& error);

// Appends the symbols' codes and extra bits to `out`, the last byte filled with 1 bits.
void EncodeBlock(const std::vector<CodedSymbol>& symbols, const HuffmanCodes& codes, std::vector<uint8_t>& out);

}  // namespace kv90rec::wsq
