// The marker segments of a WSQ file as values, and their reading and writing.
// Each reader takes the segment's bytes after its marker (length included)
// and refuses one whose length or contents do not hold together.
#pragma once

#include "records/wsq/ByteStream.h"
#include "records/wsq/HuffmanTable.h"
#include "records/wsq/Markers.h"
#include "records/wsq/ScaledNumber.h"
#include "records/wsq/Wavelet.h"

#include <array>
#include <string>

namespace kv90rec::wsq {

struct FrameHeader {
    uint8_t black = 0;
    uint8_t white = 255;
    int width = 0;
    int height = 0;
    ScaledNumber mean;   // the image's mean, shifted out before the transform
    ScaledNumber scale;  // the divisor that brings the image into -128..128
    uint8_t encoder = 2;
    uint16_t software = 0;
};

struct QuantizationTable {
    ScaledNumber binCentre;                       // C: where in its bin a value is rebuilt
    std::array<ScaledNumber, kSubbandCount> binWidth{};   // Q; 0 for a subband not coded
    std::array<ScaledNumber, kSubbandCount> zeroWidth{};  // Z, the width of the bin around 0
};

struct HuffmanTableSegment {
    int id = 0;
    HuffmanDefinition definition;
};

bool ReadFrameHeader(ByteReader& reader, FrameHeader& frame, std::string& error);
bool ReadTransformTable(ByteReader& reader, FilterBank& filters, std::string& error);
bool ReadQuantizationTable(ByteReader& reader, QuantizationTable& table, std::string& error);
// A segment may define several tables; each is stored at its id.
bool ReadHuffmanTables(ByteReader& reader, std::array<HuffmanDefinition, kHuffmanTableCount>& tables,
                       std::array<bool, kHuffmanTableCount>& defined, std::string& error);
bool ReadBlockHeader(ByteReader& reader, int& tableId, std::string& error);
bool ReadRestartInterval(ByteReader& reader, int& interval, std::string& error);
bool ReadComment(ByteReader& reader, std::string& text, std::string& error);

void WriteFrameHeader(ByteWriter& writer, const FrameHeader& frame);
void WriteTransformTable(ByteWriter& writer, const FilterBank& filters);
void WriteQuantizationTable(ByteWriter& writer, const QuantizationTable& table);
void WriteHuffmanTable(ByteWriter& writer, int id, const HuffmanDefinition& definition);
void WriteBlockHeader(ByteWriter& writer, int tableId);
void WriteComment(ByteWriter& writer, const std::string& text);

}  // namespace kv90rec::wsq
