#include "records/wsq/ByteStream.h"

namespace kv90rec::wsq {

bool ByteReader::U8(uint8_t& value) {
    if (Remaining() < 1) return false;
    value = data_[position_++];
    return true;
}

bool ByteReader::U16(uint16_t& value) {
    if (Remaining() < 2) return false;
    value = static_cast<uint16_t>(data_[position_] << 8 | data_[position_ + 1]);
    position_ += 2;
    return true;
}

bool ByteReader::U32(uint32_t& value) {
    if (Remaining() < 4) return false;
    value = static_cast<uint32_t>(data_[position_]) << 24 | static_cast<uint32_t>(data_[position_ + 1]) << 16 |
            static_cast<uint32_t>(data_[position_ + 2]) << 8 | data_[position_ + 3];
    position_ += 4;
    return true;
}

bool ByteReader::Skip(size_t count) {
    if (Remaining() < count) return false;
    position_ += count;
    return true;
}

void ByteWriter::U16(unsigned value) {
    out_.push_back(static_cast<uint8_t>(value >> 8));
    out_.push_back(static_cast<uint8_t>(value));
}

void ByteWriter::U32(uint32_t value) {
    U16(value >> 16);
    U16(value & 0xFFFF);
}

void ByteWriter::Bytes(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), bytes, bytes + size);
}

}  // namespace kv90rec::wsq
