// Files cut short or damaged are refused with a reason and an empty image,
// never read past their end.
#include "WsqTestFiles.h"

#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

namespace {

using wsqtest::Segment;

std::vector<uint8_t> SmallFile() {
    std::vector<uint8_t> file;
    std::string error;
    EXPECT_TRUE(kv90rec::wsq::Encode(wsqtest::FingerLike(64, 64), 0.75, file, error)) << error;
    return file;
}

// Decodes a copy of exactly `size` bytes, so that a read past the end is a read past the block.
bool DecodeCopy(const std::vector<uint8_t>& bytes, kv90rec::GrayImage& image, std::string& error) {
    const std::vector<uint8_t> copy(bytes);
    return kv90rec::wsq::Decode(copy.data(), copy.size(), image, error);
}

void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& what) {
    kv90rec::GrayImage image = wsqtest::FingerLike(40, 40);
    std::string error;
    EXPECT_FALSE(DecodeCopy(bytes, image, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
    EXPECT_TRUE(image.pixels.empty()) << what;
    EXPECT_EQ(image.width, 0) << what;
}

size_t OffsetOf(const std::vector<uint8_t>& file, uint16_t marker, int nth = 0) {
    std::vector<Segment> segments;
    EXPECT_TRUE(wsqtest::WalkSegments(file, segments));
    for (const Segment& segment : segments) {
        if (segment.marker == marker && nth-- == 0) return segment.offset;
    }
    ADD_FAILURE() << "no marker " << std::hex << marker;
    return 0;
}

TEST(WsqDamagedFile, TheWholeFileDecodes) {
    const std::vector<uint8_t> file = SmallFile();
    kv90rec::GrayImage image;
    std::string error;
    ASSERT_TRUE(DecodeCopy(file, image, error)) << error;
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 64);
}

TEST(WsqDamagedFile, EveryTruncationIsRefused) {
    const std::vector<uint8_t> file = SmallFile();
    for (size_t size = 0; size < file.size(); ++size) {
        ExpectRefused(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(size)),
                      "cut to " + std::to_string(size) + " bytes");
    }
}

TEST(WsqDamagedFile, OtherFilesAreRefused) {
    ExpectRefused({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10}, "a JPEG file");
    ExpectRefused({0xFF, 0xA0, 0xFF, 0xA1}, "start and end markers alone");
    kv90rec::GrayImage image;
    std::string error;
    EXPECT_FALSE(kv90rec::wsq::Decode(nullptr, 0, image, error));
    EXPECT_FALSE(error.empty());
}

TEST(WsqDamagedFile, DamagedSegmentsAreRefused) {
    const std::vector<uint8_t> good = SmallFile();
    struct Damage {
        const char* what;
        uint16_t marker;
        int nth;
        size_t at;  // from the marker
        uint8_t value;
    };
    const Damage damages[] = {
        {"frame header length too short", 0xFFA2, 0, 3, 5},
        {"quantization table length past the end", 0xFFA5, 0, 2, 0x7F},
        {"Huffman table with more symbols than its segment", 0xFFA6, 0, 5 + 15, 0xF0},
        {"Huffman table overfilling its 1-bit codes", 0xFFA6, 0, 5, 3},
        {"Huffman table number out of range", 0xFFA6, 0, 4, 9},
        {"block using an undefined table", 0xFFA3, 0, 4, 5},
        {"transform table with other filter lengths", 0xFFA4, 0, 4, 11},
        {"unknown marker", 0xFFA5, 0, 1, 0xAF},
        {"file not starting with its start marker", 0xFFA0, 0, 1, 0xD8},
    };
    for (const Damage& damage : damages) {
        std::vector<uint8_t> file = good;
        file.at(OffsetOf(good, damage.marker, damage.nth) + damage.at) = damage.value;
        ExpectRefused(file, damage.what);
    }
}

TEST(WsqDamagedFile, FrameLargerThanAnyFingerImageIsRefusedBeforeItsPlanesAreMade) {
    std::vector<uint8_t> file = SmallFile();
    const size_t frame = OffsetOf(file, 0xFFA2);
    for (size_t at = frame + 6; at < frame + 10; ++at) file[at] = 0xFF;  // 65535 x 65535
    kv90rec::GrayImage image;
    std::string error;
    EXPECT_FALSE(DecodeCopy(file, image, error));
    EXPECT_NE(error.find("larger than any finger image"), std::string::npos) << error;
}

TEST(WsqDamagedFile, MissingBlocksAndADoubledFrameAreRefused) {
    const std::vector<uint8_t> good = SmallFile();
    // End the file right after the first block's header.
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(OffsetOf(good, 0xFFA6, 1)));
    cut.push_back(0xFF);
    cut.push_back(0xA1);
    ExpectRefused(cut, "the last two blocks missing");

    // A second frame header right after the first.
    const size_t frame = OffsetOf(good, 0xFFA2);
    std::vector<uint8_t> doubled(good.begin(), good.begin() + static_cast<long>(frame + 19));
    doubled.insert(doubled.end(), good.begin() + static_cast<long>(frame), good.end());
    ExpectRefused(doubled, "two frame headers");
}

TEST(WsqDamagedFile, QuantizationTableBetweenBlocksIsRefused) {
    const std::vector<uint8_t> good = SmallFile();
    const size_t table = OffsetOf(good, 0xFFA5);
    const size_t tableEnd = table + 2 + (good[table + 2] << 8 | good[table + 3]);
    // The same table again before the second block: the first block was already sized by it.
    const size_t secondBlock = OffsetOf(good, 0xFFA3, 1);
    std::vector<uint8_t> file(good.begin(), good.begin() + static_cast<long>(secondBlock));
    file.insert(file.end(), good.begin() + static_cast<long>(table), good.begin() + static_cast<long>(tableEnd));
    file.insert(file.end(), good.begin() + static_cast<long>(secondBlock), good.end());
    ExpectRefused(file, "a quantization table between blocks");
}

TEST(WsqDamagedFile, GarbledCodedDataIsRefusedOrDecodedButNeverOverrun) {
    const std::vector<uint8_t> good = SmallFile();
    const size_t start = OffsetOf(good, 0xFFA3, 0) + 5;
    const size_t end = OffsetOf(good, 0xFFA6, 1);
    int refused = 0;
    for (size_t at = start; at < end; at += 7) {
        std::vector<uint8_t> file = good;
        file[at] = static_cast<uint8_t>(file[at] ^ 0x5A);
        kv90rec::GrayImage image;
        std::string error;
        if (DecodeCopy(file, image, error)) {
            EXPECT_EQ(image.pixels.size(), 64u * 64u);
        } else {
            ++refused;
            EXPECT_FALSE(error.empty());
            EXPECT_TRUE(image.pixels.empty());
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
