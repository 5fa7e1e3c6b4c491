// Encode: the image shifted by its mean and scaled into -128..128, split into
// the 64 subbands, quantized with bin widths chosen for the bit rate, and
// the three blocks Huffman-coded with one table for the first block and one
// shared by the other two.
#include "records/wsq/WsqCodec.h"

#include "records/wsq/BlockCoding.h"
#include "records/wsq/CoefficientSymbols.h"
#include "records/wsq/NistComment.h"
#include "records/wsq/Quantizer.h"
#include "records/wsq/Segments.h"
#include "records/wsq/SubbandLayout.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace kv90rec::wsq {
namespace {

constexpr int kMaxImageSide = 0xFFFF;  // the frame header's sides are 16-bit
// The four lowest subbands of a smaller image would hold one coefficient each,
// too few for the variance that decides whether they are coded.
constexpr int kMinEncodedSide = 2 * kMinImageSide;
constexpr uint32_t kMaxScaled16 = 0xFFFF;

// The mean and the scale as the frame header holds them; the encoder uses these
// rounded values so that the decoder undoes exactly what was done.
void ChooseShift(const GrayImage& image, FrameHeader& frame) {
    uint64_t sum = 0;
    uint8_t low = 255;
    uint8_t high = 0;
    for (uint8_t pixel : image.pixels) {
        sum += pixel;
        low = std::min(low, pixel);
        high = std::max(high, pixel);
    }
    const double mean = static_cast<double>(sum) / static_cast<double>(image.pixels.size());
    frame.mean = ToScaled(mean, kMaxScaled16);
    const double shifted = ToDouble(frame.mean);
    double scale = std::max(high - shifted, shifted - low) / 128.0;
    if (!(scale > 0.0)) scale = 1.0;  // a flat image: every value is 0 whatever the scale
    frame.scale = ToScaled(scale, kMaxScaled16);
}

// The quantizer's numbers as the table holds them, and the quantized
// coefficients of each block's coded subbands.
void QuantizeSubbands(const std::vector<float>& plane, int stride, const SubbandLayout& layout, const SubbandValues& widths,
              QuantizationTable& table, std::array<std::vector<int32_t>, kBlockCount>& blocks) {
    table.binCentre = ToScaled(kBinCentre, kMaxScaled16);
    for (int k = 0; k < kSubbandCount; ++k) {
        table.binWidth[k] = ToScaled(widths[k], kMaxScaled16);
        table.zeroWidth[k] = ToScaled(kZeroBinRatio * ToDouble(table.binWidth[k]), kMaxScaled16);
    }
    for (int block = 0; block < kBlockCount; ++block) {
        std::vector<int32_t>& coefficients = blocks[block];
        for (int k = kBlockFirstSubband[block]; k < kBlockFirstSubband[block + 1]; ++k) {
            if (table.binWidth[k].value == 0) continue;
            const double q = ToDouble(table.binWidth[k]);
            const double z = ToDouble(table.zeroWidth[k]);
            const Region& band = layout.subbands[k];
            for (int y = 0; y < band.height; ++y) {
                const float* row = plane.data() + static_cast<size_t>(band.y + y) * stride + band.x;
                for (int x = 0; x < band.width; ++x) coefficients.push_back(Quantize(row[x], q, z));
            }
        }
    }
}

HuffmanDefinition TableFor(const std::vector<CodedSymbol>* first, const std::vector<CodedSymbol>* last) {
    std::array<uint32_t, 256> frequencies{};
    for (const std::vector<CodedSymbol>* symbols = first; symbols != last; ++symbols) {
        for (const CodedSymbol& symbol : *symbols) ++frequencies[symbol.symbol];
    }
    // A table must hold a code even for blocks with nothing to code.
    if (std::all_of(frequencies.begin(), frequencies.end(), [](uint32_t f) { return f == 0; })) frequencies[1] = 1;
    return BuildHuffmanDefinition(frequencies);
}

bool EncodeImage(const GrayImage& image, double bitsPerPixel, std::vector<uint8_t>& file, std::string& error) {
    if (image.width < kMinEncodedSide || image.height < kMinEncodedSide || image.width > kMaxImageSide ||
        image.height > kMaxImageSide) {
        error = "the image's sides must be 64 to 65535 pixels";
        return false;
    }
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        error = "the image's pixels do not match its width and height";
        return false;
    }
    if (!(bitsPerPixel >= kMinBitRate - 1e-9 && bitsPerPixel <= kMaxBitRate + 1e-9)) {
        error = "the bit rate must be 0.5 to 2.25 bits per pixel";
        return false;
    }
    if (image.ppi <= 0) {
        error = "the image's resolution is not known";
        return false;
    }

    FrameHeader frame;
    frame.width = image.width;
    frame.height = image.height;
    ChooseShift(image, frame);
    const float mean = static_cast<float>(ToDouble(frame.mean));
    const float scale = static_cast<float>(ToDouble(frame.scale));
    std::vector<float> plane(image.pixels.size());
    for (size_t i = 0; i < plane.size(); ++i) plane[i] = (image.pixels[i] - mean) / scale;

    SubbandLayout layout;
    MakeSubbandLayout(image.width, image.height, layout);
    std::vector<float> scratch;
    for (const Region& split : layout.splits) SplitRegion(plane.data(), image.width, split, StandardFilters(), scratch);

    const SubbandValues widths = BinWidths(SubbandVariances(plane.data(), image.width, layout), bitsPerPixel);
    QuantizationTable table;
    std::array<std::vector<int32_t>, kBlockCount> blocks;
    QuantizeSubbands(plane, image.width, layout, widths, table, blocks);

    std::array<std::vector<CodedSymbol>, kBlockCount> symbols;
    for (int block = 0; block < kBlockCount; ++block) {
        SymbolsOfBlock(blocks[block].data(), blocks[block].size(), symbols[block]);
    }
    const HuffmanDefinition firstTable = TableFor(symbols.data(), symbols.data() + 1);
    const HuffmanDefinition sharedTable = TableFor(symbols.data() + 1, symbols.data() + kBlockCount);
    HuffmanCodes firstCodes;
    HuffmanCodes sharedCodes;
    if (!MakeCodes(firstTable, firstCodes) || !MakeCodes(sharedTable, sharedCodes)) {
        error = "no Huffman table could be built for the coefficients";
        return false;
    }

    ByteWriter writer(file);
    writer.U16(kMarkerSoi);
    WriteComment(writer, MakeNistComment(image.width, image.height, image.ppi, bitsPerPixel));
    WriteTransformTable(writer, StandardFilters());
    WriteQuantizationTable(writer, table);
    WriteFrameHeader(writer, frame);
    WriteHuffmanTable(writer, 0, firstTable);
    WriteBlockHeader(writer, 0);
    EncodeBlock(symbols[0], firstCodes, file);
    WriteHuffmanTable(writer, 1, sharedTable);
    for (int block = 1; block < kBlockCount; ++block) {
        WriteBlockHeader(writer, 1);
        EncodeBlock(symbols[block], sharedCodes, file);
    }
    writer.U16(kMarkerEoi);
    return true;
}

}  // namespace

bool Encode(const GrayImage& image, double bitsPerPixel, std::vector<uint8_t>& file, std::string& error) {
    file.clear();
    error.clear();
    try {
        if (EncodeImage(image, bitsPerPixel, file, error)) return true;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to compress the image";
    }
    file.clear();
    return false;
}

}  // namespace kv90rec::wsq
