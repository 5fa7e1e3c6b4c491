#include "records/wsq/EntropyBits.h"

namespace kv90rec::wsq {

bool EntropyReader::Fill() {
    if (position_ >= size_) return false;
    const unsigned byte = data_[position_];
    if (byte == 0xFF) {
        if (position_ + 1 >= size_) return false;
        if (data_[position_ + 1] != 0x00) return false;  // a marker ends the data
        position_ += 2;
    } else {
        position_ += 1;
    }
    byte_ = byte;
    count_ = 8;
    return true;
}

bool EntropyReader::Bits(int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        unsigned bit = 0;
        if (!Bit(bit)) return false;
        value = value << 1 | bit;
    }
    return true;
}

void EntropyWriter::Emit(unsigned byte) {
    out_.push_back(static_cast<uint8_t>(byte));
    if (byte == 0xFF) out_.push_back(0x00);
}

void EntropyWriter::Put(uint32_t bits, int length) {
    pending_ = pending_ << length | (bits & ((1u << length) - 1u));
    pendingCount_ += length;
    while (pendingCount_ >= 8) {
        pendingCount_ -= 8;
        Emit((pending_ >> pendingCount_) & 0xFFu);
    }
    pending_ &= (1u << pendingCount_) - 1u;
}

void EntropyWriter::Finish() {
    if (pendingCount_ > 0) Put(0xFFu, 8 - pendingCount_);
}

}  // namespace kv90rec::wsq
