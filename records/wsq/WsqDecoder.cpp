// Decode: the file's segments in the order they come, the three blocks of
// quantized coefficients, then the rebuilt subbands merged back into the image.
#include "records/wsq/WsqCodec.h"

#include "records/wsq/BlockCoding.h"
#include "records/wsq/NistComment.h"
#include "records/wsq/Quantizer.h"
#include "records/wsq/Segments.h"
#include "records/wsq/SubbandLayout.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace kv90rec::wsq {
namespace {

// Above a 1000 ppi ten-print card's 8000 x 8000 pixels a frame is taken for
// damage: its planes would take more memory than a 32-bit process can spare.
constexpr uint64_t kMaxDecodedPixels = 64ull * 1000 * 1000;

class FileDecoder {
public:
    FileDecoder(const uint8_t* data, size_t size) : data_(data), size_(size), reader_(data, size) {}

    bool Run(GrayImage& image, std::string& error) {
        uint16_t marker = 0;
        if (!reader_.U16(marker) || marker != kMarkerSoi) {
            error = "not a WSQ file: it does not start with the start-of-image marker";
            return false;
        }
        for (;;) {
            if (!reader_.U16(marker)) {
                error = "the file ends before its end-of-image marker";
                return false;
            }
            if (marker == kMarkerEoi) break;
            if (!Segment(marker, error)) return false;
        }
        if (!haveFrame_) {
            error = "the file has no frame header";
            return false;
        }
        for (int block = blocksRead_; block < kBlockCount; ++block) {
            if (CoefficientCount(block) > 0) {
                error = "the file ends before all its blocks";
                return false;
            }
        }
        Rebuild(image);
        return true;
    }

private:
    bool Segment(uint16_t marker, std::string& error) {
        switch (marker) {
        case kMarkerSof:
            if (haveFrame_) {
                error = "the file has two frame headers";
                return false;
            }
            if (!ReadFrameHeader(reader_, frame_, error)) return false;
            if (static_cast<uint64_t>(frame_.width) * static_cast<uint64_t>(frame_.height) > kMaxDecodedPixels) {
                error = "the frame header gives an image larger than any finger image";
                return false;
            }
            if (!MakeSubbandLayout(frame_.width, frame_.height, layout_)) {
                error = "the image is smaller than the transform can take";
                return false;
            }
            haveFrame_ = true;
            return true;
        case kMarkerDtt:
            return ReadTransformTable(reader_, filters_, error);
        case kMarkerDqt:
            // The blocks read so far were sized by the table in force; one image has one quantizer.
            if (blocksRead_ > 0) {
                error = "the quantization table changes after the first block";
                return false;
            }
            if (!ReadQuantizationTable(reader_, quantization_, error)) return false;
            haveQuantization_ = true;
            return true;
        case kMarkerDht:
            return ReadHuffmanTables(reader_, huffman_, huffmanDefined_, error);
        case kMarkerDrt: {
            int interval = 0;
            return ReadRestartInterval(reader_, interval, error);
        }
        case kMarkerCom: {
            std::string text;
            if (!ReadComment(reader_, text, error)) return false;
            ReadNistPpi(text, ppi_);
            return true;
        }
        case kMarkerSob:
            return Block(error);
        default:
            error = "the file holds an unknown marker where a segment should start";
            return false;
        }
    }

    size_t CoefficientCount(int block) const {
        size_t count = 0;
        for (int k = kBlockFirstSubband[block]; k < kBlockFirstSubband[block + 1]; ++k) {
            if (quantization_.binWidth[k].value != 0) {
                count += static_cast<size_t>(layout_.subbands[k].width) * layout_.subbands[k].height;
            }
        }
        return count;
    }

    bool Block(std::string& error) {
        int tableId = 0;
        if (!ReadBlockHeader(reader_, tableId, error)) return false;
        if (!haveFrame_ || !haveQuantization_) {
            error = "a block comes before the frame header or the quantization table";
            return false;
        }
        if (blocksRead_ >= kBlockCount) {
            error = "the file has more than three blocks";
            return false;
        }
        if (tableId < 0 || tableId >= kHuffmanTableCount || !huffmanDefined_[tableId]) {
            error = "a block uses a Huffman table the file does not define";
            return false;
        }
        HuffmanDecoder decoder;
        if (!decoder.Init(huffman_[tableId])) {
            error = "a block's Huffman table is not a valid code";
            return false;
        }
        const int block = blocksRead_++;
        std::vector<int32_t>& coefficients = blocks_[block];
        coefficients.resize(CoefficientCount(block));
        size_t position = reader_.Position();
        if (!coefficients.empty() && !DecodeBlock(data_, size_, position, decoder, coefficients, error)) return false;
        // Whatever lies between the block's last code and the next marker is padding.
        while (position < size_ && !(data_[position] == 0xFF && position + 1 < size_ && data_[position + 1] != 0x00)) {
            ++position;
        }
        reader_.Skip(position - reader_.Position());
        return true;
    }

    void Rebuild(GrayImage& image) const {
        const int width = frame_.width;
        const int height = frame_.height;
        std::vector<float> plane(static_cast<size_t>(width) * height, 0.0f);
        const double centre = ToDouble(quantization_.binCentre);
        for (int block = 0; block < kBlockCount; ++block) {
            size_t next = 0;
            for (int k = kBlockFirstSubband[block]; k < kBlockFirstSubband[block + 1]; ++k) {
                if (quantization_.binWidth[k].value == 0) continue;
                const double q = ToDouble(quantization_.binWidth[k]);
                const double z = ToDouble(quantization_.zeroWidth[k]);
                const Region& band = layout_.subbands[k];
                for (int y = 0; y < band.height; ++y) {
                    float* row = plane.data() + static_cast<size_t>(band.y + y) * width + band.x;
                    for (int x = 0; x < band.width; ++x) row[x] = Dequantize(blocks_[block][next++], q, z, centre);
                }
            }
        }
        std::vector<float> scratch;
        for (auto split = layout_.splits.rbegin(); split != layout_.splits.rend(); ++split) {
            MergeRegion(plane.data(), width, *split, filters_, scratch);
        }
        const double mean = ToDouble(frame_.mean);
        const double scale = ToDouble(frame_.scale);
        image.width = width;
        image.height = height;
        image.ppi = ppi_;
        image.pixels.resize(plane.size());
        const float meanLevel = static_cast<float>(mean);
        const float levelScale = static_cast<float>(scale);
        for (size_t i = 0; i < plane.size(); ++i) {
            float level = plane[i] * levelScale + meanLevel;
            // Written so that a level the transform table's taps made infinite or NaN ends as black.
            if (!(level > 0.0f)) level = 0.0f;
            if (level > 255.0f) level = 255.0f;
            image.pixels[i] = static_cast<uint8_t>(level + 0.5f);  // rounded to the nearest grey level
        }
    }

    const uint8_t* data_;
    size_t size_;
    ByteReader reader_;
    FrameHeader frame_;
    bool haveFrame_ = false;
    FilterBank filters_ = StandardFilters();
    QuantizationTable quantization_;
    bool haveQuantization_ = false;
    std::array<HuffmanDefinition, kHuffmanTableCount> huffman_{};
    std::array<bool, kHuffmanTableCount> huffmanDefined_{};
    SubbandLayout layout_;
    std::array<std::vector<int32_t>, kBlockCount> blocks_;
    int blocksRead_ = 0;
    int ppi_ = kCapturePpi;  // a WSQ file is 500 ppi unless its comment says otherwise
};

}  // namespace

bool Decode(const uint8_t* data, size_t size, GrayImage& image, std::string& error) {
    image = GrayImage{};
    error.clear();
    if (data == nullptr || size == 0) {
        error = "the file is empty";
        return false;
    }
    GrayImage decoded;
    try {
        if (!FileDecoder(data, size).Run(decoded, error)) return false;
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the image";
        return false;
    }
    image = std::move(decoded);
    return true;
}

}  // namespace kv90rec::wsq
