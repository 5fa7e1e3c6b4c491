// The bits of the Huffman-coded blocks: most significant bit first, a 0x00
// stuffed after every 0xFF byte so that no marker appears in the data, and
// the last byte of a block filled with 1 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv90rec::wsq {

class EntropyReader {
public:
    // Reads the coded data that starts at `position` in the file's bytes.
    EntropyReader(const uint8_t* data, size_t size, size_t position)
        : data_(data), size_(size), position_(position) {}

    // False once the data ends: at a marker or at the end of the file.
    bool Bit(unsigned& bit) {
        if (count_ == 0 && !Fill()) return false;
        --count_;
        bit = (byte_ >> count_) & 1u;
        return true;
    }
    bool Bits(int count, uint32_t& value);

    // The first byte not yet taken in; the rest of a partly read byte is padding.
    size_t Position() const { return position_; }

private:
    bool Fill();

    const uint8_t* data_;
    size_t size_;
    size_t position_;
    unsigned byte_ = 0;
    int count_ = 0;
};

class EntropyWriter {
public:
    explicit EntropyWriter(std::vector<uint8_t>& out) : out_(out) {}

    // Appends the low `length` bits of `bits` (length 0..24).
    void Put(uint32_t bits, int length);
    // Completes the last byte with 1 bits.
    void Finish();

private:
    void Emit(unsigned byte);

    std::vector<uint8_t>& out_;
    uint32_t pending_ = 0;
    int pendingCount_ = 0;
};

}  // namespace kv90rec::wsq
