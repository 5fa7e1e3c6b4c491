// The symbols the Huffman codes stand for in a block of quantized
// coefficients: runs of zeros and coefficient values, with escapes carrying
// larger ones in 8 or 16 extra bits.
//   1..100    a run of that many zeros
//   101, 102  a positive, negative coefficient; its magnitude in the next 8 bits
//   103, 104  a positive, negative coefficient; its magnitude in the next 16 bits
//   105, 106  a run of zeros; its length in the next 8, 16 bits
//   107..254  the coefficient (symbol - 180), -73..74, never 0
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv90rec::wsq {

constexpr int kMaxRunSymbol = 100;
constexpr int kSymbolPositive8 = 101;
constexpr int kSymbolNegative8 = 102;
constexpr int kSymbolPositive16 = 103;
constexpr int kSymbolNegative16 = 104;
constexpr int kSymbolRun8 = 105;
constexpr int kSymbolRun16 = 106;
constexpr int kSymbolZeroValue = 180;
constexpr int kMinDirectValue = -73;
constexpr int kMaxDirectValue = 74;

// A symbol and the extra bits that follow its code.
struct CodedSymbol {
    uint8_t symbol = 0;
    uint8_t extraLength = 0;
    uint16_t extra = 0;
};

// The symbols for a block's coefficients, in order. Magnitudes over 65535
// cannot be written and are held at that.
void SymbolsOfBlock(const int32_t* coefficients, size_t count, std::vector<CodedSymbol>& symbols);

}  // namespace kv90rec::wsq
