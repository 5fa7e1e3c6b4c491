#include "records/wsq/HuffmanTable.h"

#include <algorithm>

namespace kv90rec::wsq {

bool MakeCodes(const HuffmanDefinition& definition, HuffmanCodes& codes) {
    codes = HuffmanCodes{};
    size_t total = 0;
    for (uint8_t count : definition.counts) total += count;
    if (total == 0 || total > 256 || total != definition.symbols.size()) return false;
    uint32_t code = 0;
    size_t index = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        for (int i = 0; i < definition.counts[length - 1]; ++i) {
            if (code >= (1u << length)) return false;
            HuffmanCode& entry = codes[definition.symbols[index++]];
            if (entry.length != 0) return false;  // a symbol given twice
            entry.bits = static_cast<uint16_t>(code);
            entry.length = static_cast<uint8_t>(length);
            ++code;
        }
        code <<= 1;
    }
    return true;
}

HuffmanDefinition BuildHuffmanDefinition(const std::array<uint32_t, 256>& frequencies) {
    // One extra symbol of frequency 1 takes the all-ones code and is dropped at the end.
    constexpr int kReserved = 256;
    std::array<uint64_t, 257> frequency{};
    for (int i = 0; i < 256; ++i) frequency[i] = frequencies[i];
    frequency[kReserved] = 1;
    std::array<int, 257> codeSize{};
    std::array<int, 257> others{};
    others.fill(-1);

    for (;;) {
        // The two least frequent trees; on a tie the larger symbol, as the JPEG procedure takes it.
        int first = -1;
        int second = -1;
        for (int i = 0; i <= kReserved; ++i) {
            if (frequency[i] == 0) continue;
            if (first < 0 || frequency[i] <= frequency[first]) {
                second = first;
                first = i;
            } else if (second < 0 || frequency[i] <= frequency[second]) {
                second = i;
            }
        }
        if (second < 0) break;
        frequency[first] += frequency[second];
        frequency[second] = 0;
        for (int i = first;; i = others[i]) {
            ++codeSize[i];
            if (others[i] < 0) {
                others[i] = second;
                break;
            }
        }
        for (int i = second; i >= 0; i = others[i]) ++codeSize[i];
    }

    std::array<int, 33> bits{};
    for (int i = 0; i <= kReserved; ++i) {
        if (codeSize[i] > 0) ++bits[std::min(codeSize[i], 32)];
    }
    // Lengths over 16: a pair of the longest codes becomes one shorter code and
    // one code one bit longer than a shorter leaf, which stays a prefix code.
    for (int i = 32; i > kMaxCodeLength; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0) --j;
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    // The reserved symbol had the longest code.
    int longest = kMaxCodeLength;
    while (longest > 0 && bits[longest] == 0) --longest;
    if (longest > 0) --bits[longest];

    HuffmanDefinition definition;
    for (int length = 1; length <= kMaxCodeLength; ++length) definition.counts[length - 1] = static_cast<uint8_t>(bits[length]);
    for (int size = 1; size <= 32; ++size) {
        for (int symbol = 0; symbol < 256; ++symbol) {
            if (codeSize[symbol] == size) definition.symbols.push_back(static_cast<uint8_t>(symbol));
        }
    }
    return definition;
}

bool HuffmanDecoder::Init(const HuffmanDefinition& definition) {
    HuffmanCodes codes;
    if (!MakeCodes(definition, codes)) return false;
    symbols_ = definition.symbols;
    int32_t code = 0;
    int32_t index = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        const int count = definition.counts[length - 1];
        firstIndex_[length] = index;
        firstCode_[length] = code;
        maxCode_[length] = count > 0 ? code + count - 1 : -1;
        code = (code + count) << 1;
        index += count;
    }
    return true;
}

int HuffmanDecoder::Decode(EntropyReader& reader) const {
    int32_t code = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        unsigned bit = 0;
        if (!reader.Bit(bit)) return -1;
        code = code << 1 | static_cast<int32_t>(bit);
        if (maxCode_[length] >= 0 && code <= maxCode_[length]) {
            return symbols_[firstIndex_[length] + code - firstCode_[length]];
        }
    }
    return -1;
}

}  // namespace kv90rec::wsq
