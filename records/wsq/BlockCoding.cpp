#include "records/wsq/BlockCoding.h"

#include "records/wsq/Markers.h"

#include <algorithm>

namespace kv90rec::wsq {
namespace {

bool AtRestartMarker(const uint8_t* data, size_t size, size_t position) {
    return position + 1 < size && data[position] == 0xFF && data[position + 1] >= (kMarkerRst0 & 0xFF) &&
           data[position + 1] <= (kMarkerRst7 & 0xFF);
}

}  // namespace

bool DecodeBlock(const uint8_t* data, size_t size, size_t& position, const HuffmanDecoder& decoder,
                 std::vector<int32_t>& coefficients, std::string& error) {
    std::fill(coefficients.begin(), coefficients.end(), 0);
    const size_t count = coefficients.size();
    size_t filled = 0;
    EntropyReader reader(data, size, position);
    while (filled < count) {
        int symbol = decoder.Decode(reader);
        if (symbol < 0 && AtRestartMarker(data, size, reader.Position())) {
            reader = EntropyReader(data, size, reader.Position() + 2);
            symbol = decoder.Decode(reader);
        }
        if (symbol < 0) {
            error = "the coded data of a block ends early or holds no valid code";
            return false;
        }
        uint32_t extra = 0;
        size_t run = 0;
        int32_t value = 0;
        if (symbol >= 1 && symbol <= kMaxRunSymbol) {
            run = static_cast<size_t>(symbol);
        } else if (symbol == kSymbolRun8 || symbol == kSymbolRun16) {
            if (!reader.Bits(symbol == kSymbolRun8 ? 8 : 16, extra)) {
                error = "the coded data of a block ends inside a run length";
                return false;
            }
            run = extra;
        } else if (symbol >= kSymbolPositive8 && symbol <= kSymbolNegative16) {
            const bool wide = symbol >= kSymbolPositive16;
            if (!reader.Bits(wide ? 16 : 8, extra)) {
                error = "the coded data of a block ends inside a coefficient";
                return false;
            }
            const bool negative = symbol == kSymbolNegative8 || symbol == kSymbolNegative16;
            value = negative ? -static_cast<int32_t>(extra) : static_cast<int32_t>(extra);
        } else if (symbol >= kSymbolZeroValue + kMinDirectValue && symbol <= kSymbolZeroValue + kMaxDirectValue) {
            value = symbol - kSymbolZeroValue;
        } else {
            error = "the coded data of a block holds a symbol with no meaning";
            return false;
        }
        const size_t taken = run > 0 ? run : 1;
        if (taken > count - filled) {
            error = "the coded data of a block holds more coefficients than its subbands";
            return false;
        }
        if (run == 0) coefficients[filled] = value;
        filled += taken;
    }
    position = reader.Position();
    return true;
}

void EncodeBlock(const std::vector<CodedSymbol>& symbols, const HuffmanCodes& codes, std::vector<uint8_t>& out) {
    EntropyWriter writer(out);
    for (const CodedSymbol& symbol : symbols) {
        const HuffmanCode& code = codes[symbol.symbol];
        writer.Put(code.bits, code.length);
        if (symbol.extraLength > 0) writer.Put(symbol.extra, symbol.extraLength);
    }
    writer.Finish();
}

}  // namespace kv90rec::wsq
