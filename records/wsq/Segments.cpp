#include "records/wsq/Segments.h"

#include <cmath>

namespace kv90rec::wsq {
namespace {

// Reads the segment's length and checks that the segment lies within the file.
bool ReadLength(ByteReader& reader, uint16_t& length, unsigned minimum, std::string& error) {
    if (!reader.U16(length)) {
        error = "the file ends inside a segment header";
        return false;
    }
    if (length < minimum) {
        error = "a segment is shorter than its contents";
        return false;
    }
    if (reader.Remaining() < static_cast<size_t>(length - 2)) {
        error = "the file ends inside a segment";
        return false;
    }
    return true;
}

bool ReadScaled16(ByteReader& reader, ScaledNumber& number) {
    uint16_t value = 0;
    if (!reader.U8(number.scale) || !reader.U16(value)) return false;
    number.value = value;
    return true;
}

void WriteScaled16(ByteWriter& writer, ScaledNumber number) {
    writer.U8(number.scale);
    writer.U16(number.value);
}

// A filter tap: a sign byte (1 for negative), a scale byte and a 32-bit value.
bool ReadTap(ByteReader& reader, double& tap) {
    uint8_t sign = 0;
    ScaledNumber number;
    if (!reader.U8(sign) || !reader.U8(number.scale) || !reader.U32(number.value) || sign > 1) return false;
    const double magnitude = ToDouble(number);
    tap = sign != 0 ? -magnitude : magnitude;
    return true;
}

void WriteTap(ByteWriter& writer, double tap) {
    const ScaledNumber number = ToScaled(std::fabs(tap), 0xFFFFFFFFu);
    writer.U8(tap < 0 ? 1 : 0);
    writer.U8(number.scale);
    writer.U32(number.value);
}

}  // namespace

bool ReadFrameHeader(ByteReader& reader, FrameHeader& frame, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 17, error)) return false;
    const size_t end = reader.Position() + length - 2;
    uint16_t height = 0;
    uint16_t width = 0;
    reader.U8(frame.black);
    reader.U8(frame.white);
    reader.U16(height);
    reader.U16(width);
    ReadScaled16(reader, frame.mean);
    ReadScaled16(reader, frame.scale);
    reader.U8(frame.encoder);
    reader.U16(frame.software);
    reader.Skip(end - reader.Position());
    frame.width = width;
    frame.height = height;
    if (frame.scale.value == 0) {
        error = "the frame header's scale is zero";
        return false;
    }
    return true;
}

bool ReadTransformTable(ByteReader& reader, FilterBank& filters, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 4, error)) return false;
    const size_t end = reader.Position() + length - 2;
    uint8_t lowTaps = 0;
    uint8_t highTaps = 0;
    reader.U8(lowTaps);
    reader.U8(highTaps);
    if (lowTaps != kLowpassTaps || highTaps != kHighpassTaps) {
        error = "the transform table's filters are not 9 and 7 taps long";
        return false;
    }
    if (length != 4 + 6 * ((kLowpassTaps + 1) / 2 + (kHighpassTaps + 1) / 2)) {
        error = "the transform table's length does not match its filters";
        return false;
    }
    for (double& tap : filters.low) {
        if (!ReadTap(reader, tap)) {
            error = "a filter tap of the transform table is malformed";
            return false;
        }
    }
    for (double& tap : filters.high) {
        if (!ReadTap(reader, tap)) {
            error = "a filter tap of the transform table is malformed";
            return false;
        }
    }
    reader.Skip(end - reader.Position());
    return true;
}

bool ReadQuantizationTable(ByteReader& reader, QuantizationTable& table, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 5 + 6 * kSubbandCount, error)) return false;
    const size_t end = reader.Position() + length - 2;
    ReadScaled16(reader, table.binCentre);
    for (int k = 0; k < kSubbandCount; ++k) {
        ReadScaled16(reader, table.binWidth[k]);
        ReadScaled16(reader, table.zeroWidth[k]);
    }
    reader.Skip(end - reader.Position());
    return true;
}

bool ReadHuffmanTables(ByteReader& reader, std::array<HuffmanDefinition, kHuffmanTableCount>& tables,
                       std::array<bool, kHuffmanTableCount>& defined, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 2 + 1 + kMaxCodeLength, error)) return false;
    const size_t end = reader.Position() + length - 2;
    while (reader.Position() < end) {
        uint8_t id = 0;
        HuffmanDefinition definition;
        if (end - reader.Position() < 1 + kMaxCodeLength) {
            error = "a Huffman table is cut short";
            return false;
        }
        reader.U8(id);
        size_t total = 0;
        for (uint8_t& count : definition.counts) {
            reader.U8(count);
            total += count;
        }
        if (id >= kHuffmanTableCount) {
            error = "a Huffman table's number is out of range";
            return false;
        }
        if (total == 0 || total > 256 || end - reader.Position() < total) {
            error = "a Huffman table's symbol count does not fit its segment";
            return false;
        }
        definition.symbols.assign(reader.Here(), reader.Here() + total);
        reader.Skip(total);
        HuffmanCodes codes;
        if (!MakeCodes(definition, codes)) {
            error = "a Huffman table does not define a valid code";
            return false;
        }
        tables[id] = std::move(definition);
        defined[id] = true;
    }
    return true;
}

bool ReadBlockHeader(ByteReader& reader, int& tableId, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 3, error)) return false;
    uint8_t id = 0;
    reader.U8(id);
    reader.Skip(static_cast<size_t>(length - 3));
    tableId = id;
    return true;
}

bool ReadRestartInterval(ByteReader& reader, int& interval, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 4, error)) return false;
    uint16_t value = 0;
    reader.U16(value);
    reader.Skip(static_cast<size_t>(length - 4));
    interval = value;
    return true;
}

bool ReadComment(ByteReader& reader, std::string& text, std::string& error) {
    uint16_t length = 0;
    if (!ReadLength(reader, length, 2, error)) return false;
    text.assign(reinterpret_cast<const char*>(reader.Here()), static_cast<size_t>(length - 2));
    reader.Skip(static_cast<size_t>(length - 2));
    return true;
}

void WriteFrameHeader(ByteWriter& writer, const FrameHeader& frame) {
    writer.U16(kMarkerSof);
    writer.U16(17);
    writer.U8(frame.black);
    writer.U8(frame.white);
    writer.U16(static_cast<unsigned>(frame.height));
    writer.U16(static_cast<unsigned>(frame.width));
    WriteScaled16(writer, frame.mean);
    WriteScaled16(writer, frame.scale);
    writer.U8(frame.encoder);
    writer.U16(frame.software);
}

void WriteTransformTable(ByteWriter& writer, const FilterBank& filters) {
    writer.U16(kMarkerDtt);
    writer.U16(4 + 6 * ((kLowpassTaps + 1) / 2 + (kHighpassTaps + 1) / 2));
    writer.U8(kLowpassTaps);
    writer.U8(kHighpassTaps);
    for (double tap : filters.low) WriteTap(writer, tap);
    for (double tap : filters.high) WriteTap(writer, tap);
}

void WriteQuantizationTable(ByteWriter& writer, const QuantizationTable& table) {
    writer.U16(kMarkerDqt);
    writer.U16(5 + 6 * kSubbandCount);
    WriteScaled16(writer, table.binCentre);
    for (int k = 0; k < kSubbandCount; ++k) {
        WriteScaled16(writer, table.binWidth[k]);
        WriteScaled16(writer, table.zeroWidth[k]);
    }
}

void WriteHuffmanTable(ByteWriter& writer, int id, const HuffmanDefinition& definition) {
    writer.U16(kMarkerDht);
    writer.U16(static_cast<unsigned>(2 + 1 + kMaxCodeLength + definition.symbols.size()));
    writer.U8(static_cast<unsigned>(id));
    for (uint8_t count : definition.counts) writer.U8(count);
    writer.Bytes(definition.symbols.data(), definition.symbols.size());
}

void WriteBlockHeader(ByteWriter& writer, int tableId) {
    writer.U16(kMarkerSob);
    writer.U16(3);
    writer.U8(static_cast<unsigned>(tableId));
}

void WriteComment(ByteWriter& writer, const std::string& text) {
    writer.U16(kMarkerCom);
    writer.U16(static_cast<unsigned>(2 + text.size()));
    writer.Bytes(text.data(), text.size());
}

}  // namespace kv90rec::wsq
