#include "records/wsq/CoefficientSymbols.h"

#include <algorithm>
#include <cstdlib>

namespace kv90rec::wsq {
namespace {

void AddRun(size_t run, std::vector<CodedSymbol>& symbols) {
    while (run > 0) {
        const size_t part = std::min<size_t>(run, 0xFFFF);
        CodedSymbol symbol;
        if (part <= kMaxRunSymbol) {
            symbol.symbol = static_cast<uint8_t>(part);
        } else if (part <= 0xFF) {
            symbol = {kSymbolRun8, 8, static_cast<uint16_t>(part)};
        } else {
            symbol = {kSymbolRun16, 16, static_cast<uint16_t>(part)};
        }
        symbols.push_back(symbol);
        run -= part;
    }
}

void AddValue(int32_t value, std::vector<CodedSymbol>& symbols) {
    CodedSymbol symbol;
    if (value >= kMinDirectValue && value <= kMaxDirectValue) {
        symbol.symbol = static_cast<uint8_t>(kSymbolZeroValue + value);
    } else {
        const uint32_t magnitude = static_cast<uint32_t>(std::min<int64_t>(std::llabs(static_cast<int64_t>(value)), 0xFFFF));
        const bool wide = magnitude > 0xFF;
        if (value > 0) {
            symbol.symbol = wide ? kSymbolPositive16 : kSymbolPositive8;
        } else {
            symbol.symbol = wide ? kSymbolNegative16 : kSymbolNegative8;
        }
        symbol.extraLength = wide ? 16 : 8;
        symbol.extra = static_cast<uint16_t>(magnitude);
    }
    symbols.push_back(symbol);
}

}  // namespace

void SymbolsOfBlock(const int32_t* coefficients, size_t count, std::vector<CodedSymbol>& symbols) {
    size_t run = 0;
    for (size_t i = 0; i < count; ++i) {
        if (coefficients[i] == 0) {
            ++run;
            continue;
        }
        AddRun(run, symbols);
        run = 0;
        AddValue(coefficients[i], symbols);
    }
    AddRun(run, symbols);
}

}  // namespace kv90rec::wsq
