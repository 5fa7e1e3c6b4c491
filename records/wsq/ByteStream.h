// Big-endian reading and writing of the marker segments, every read checked
// against the end of the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv90rec::wsq {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool U8(uint8_t& value);
    bool U16(uint16_t& value);
    bool U32(uint32_t& value);
    bool Skip(size_t count);

    size_t Position() const { return position_; }
    size_t Remaining() const { return size_ - position_; }
    const uint8_t* Here() const { return data_ + position_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U8(unsigned value) { out_.push_back(static_cast<uint8_t>(value)); }
    void U16(unsigned value);
    void U32(uint32_t value);
    void Bytes(const void* data, size_t size);

private:
    std::vector<uint8_t>& out_;
};

}  // namespace kv90rec::wsq
