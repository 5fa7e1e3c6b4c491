// NIST's reference files: the decoder reproduces NIST's reconstruction, and
// the encoder's files of the same fingers match NIST's in layout, size and
// quality.
#include "WsqTestFiles.h"

#include "records/wsq/WsqCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using wsqtest::Segment;

const char* const kFingers[] = {"finger1", "finger2", "finger3"};
const char* const kRates[] = {"0.75", "2.25"};

#define SKIP_WITHOUT_VECTORS()                                                  \
    if (wsqtest::VectorsFolder().empty()) GTEST_SKIP() << "no WSQ reference files beside the repository"

std::string Path(const std::string& name) { return wsqtest::VectorsFolder() + "/" + name; }

const Segment* Find(const std::vector<Segment>& segments, uint16_t marker, int nth = 0) {
    for (const Segment& segment : segments) {
        if (segment.marker == marker && nth-- == 0) return &segment;
    }
    return nullptr;
}

// A 16-bit number with its scale byte, as the tables hold them.
double ScaledAt(const std::vector<uint8_t>& body, size_t at) {
    return wsqtest::U16At(body, at + 1) / std::pow(10.0, body.at(at));
}

TEST(WsqReferenceFiles, DecoderReproducesNistsReconstructionWithinOneGreyLevel) {
    SKIP_WITHOUT_VECTORS();
    for (const char* finger : kFingers) {
        for (const char* rate : kRates) {
            const std::string name = std::string(finger) + "-" + rate;
            const std::vector<uint8_t> file = wsqtest::ReadBytes(Path(name + ".wsq"));
            const kv90rec::GrayImage expected = wsqtest::ReadPgm(Path(name + ".decoded.pgm"));
            ASSERT_FALSE(file.empty()) << name;
            ASSERT_FALSE(expected.pixels.empty()) << name;
            kv90rec::GrayImage decoded;
            std::string error;
            ASSERT_TRUE(kv90rec::wsq::Decode(file.data(), file.size(), decoded, error)) << name << ": " << error;
            ASSERT_EQ(decoded.width, 640) << name;
            ASSERT_EQ(decoded.height, 640) << name;
            EXPECT_EQ(decoded.ppi, 500) << name;
            int worst = 0;
            for (size_t i = 0; i < decoded.pixels.size(); ++i) {
                worst = std::max(worst, std::abs(decoded.pixels[i] - expected.pixels[i]));
            }
            EXPECT_LE(worst, 1) << name;
        }
    }
}

TEST(WsqReferenceFiles, EncoderMatchesNistsSizeAndQuality) {
    SKIP_WITHOUT_VECTORS();
    for (const char* finger : kFingers) {
        const kv90rec::GrayImage original = wsqtest::ReadPgm(Path(std::string(finger) + ".pgm"));
        ASSERT_EQ(original.width, 640) << finger;
        for (const char* rate : kRates) {
            const std::string name = std::string(finger) + "-" + rate;
            const size_t nistSize = wsqtest::ReadBytes(Path(name + ".wsq")).size();
            const double nistRmse = wsqtest::Rmse(original, wsqtest::ReadPgm(Path(name + ".decoded.pgm")));
            std::vector<uint8_t> file;
            std::string error;
            ASSERT_TRUE(kv90rec::wsq::Encode(original, std::atof(rate), file, error)) << name << ": " << error;
            EXPECT_NEAR(static_cast<double>(file.size()), static_cast<double>(nistSize), 0.1 * nistSize) << name;
            kv90rec::GrayImage decoded;
            ASSERT_TRUE(kv90rec::wsq::Decode(file.data(), file.size(), decoded, error)) << name << ": " << error;
            const double rmse = wsqtest::Rmse(original, decoded);
            EXPECT_NEAR(rmse, nistRmse, 0.1 * nistRmse) << name;
        }
    }
}

TEST(WsqReferenceFiles, EncoderLaysOutItsFileAsNistsEncoderDoes) {
    SKIP_WITHOUT_VECTORS();
    const kv90rec::GrayImage original = wsqtest::ReadPgm(Path("finger2.pgm"));
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(kv90rec::wsq::Encode(original, 0.75, file, error)) << error;
    std::vector<Segment> ours;
    std::vector<Segment> nists;
    ASSERT_TRUE(wsqtest::WalkSegments(file, ours));
    ASSERT_TRUE(wsqtest::WalkSegments(wsqtest::ReadBytes(Path("finger2-0.75.wsq")), nists));

    std::vector<uint16_t> ourMarkers;
    std::vector<uint16_t> nistMarkers;
    for (const Segment& segment : ours) ourMarkers.push_back(segment.marker);
    for (const Segment& segment : nists) nistMarkers.push_back(segment.marker);
    EXPECT_EQ(ourMarkers, nistMarkers);
    const std::vector<uint16_t> expected = {0xFFA0, 0xFFA8, 0xFFA4, 0xFFA5, 0xFFA2, 0xFFA6,
                                            0xFFA3, 0xFFA6, 0xFFA3, 0xFFA3, 0xFFA1};
    EXPECT_EQ(ourMarkers, expected);

    // The NISTCOM comment says what NIST's says, PPI 500 among it.
    const Segment* comment = Find(ours, 0xFFA8);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(std::string(comment->body.begin(), comment->body.end()),
              std::string(Find(nists, 0xFFA8)->body.begin(), Find(nists, 0xFFA8)->body.end()));
    EXPECT_NE(std::string(comment->body.begin(), comment->body.end()).find("\nPPI 500\n"), std::string::npos);

    // Frame header: black 0, white 255, height and width, mean and scale, encoder 2, software 0.
    const Segment* frame = Find(ours, 0xFFA2);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->body.size(), 15u);
    EXPECT_EQ(frame->body[0], 0);
    EXPECT_EQ(frame->body[1], 255);
    EXPECT_EQ(wsqtest::U16At(frame->body, 2), 640u);
    EXPECT_EQ(wsqtest::U16At(frame->body, 4), 640u);
    const Segment* nistFrame = Find(nists, 0xFFA2);
    EXPECT_NEAR(ScaledAt(frame->body, 6), ScaledAt(nistFrame->body, 6), 0.01);    // the mean
    EXPECT_NEAR(ScaledAt(frame->body, 9), ScaledAt(nistFrame->body, 9), 0.001);   // the scale
    EXPECT_EQ(frame->body[12], 2);
    EXPECT_EQ(wsqtest::U16At(frame->body, 13), 0u);

    // Transform table: 9 and 7 taps, each a sign, a scale and a 32-bit value.
    const Segment* transform = Find(ours, 0xFFA4);
    ASSERT_NE(transform, nullptr);
    ASSERT_EQ(transform->body.size(), 2u + 9u * 6u);
    EXPECT_EQ(transform->body[0], 9);
    EXPECT_EQ(transform->body[1], 7);
    const double taps[9] = {0.85269867900940, 0.37740285561265, -0.11062440441842, -0.02384946501938,
                            0.03782845550699, 0.78848561640566, -0.41809227322221, -0.04068941760956,
                            0.06453888262894};
    for (int i = 0; i < 9; ++i) {
        const size_t at = 2 + 6 * static_cast<size_t>(i);
        const double magnitude = wsqtest::U32At(transform->body, at + 2) / std::pow(10.0, transform->body[at + 1]);
        EXPECT_NEAR(transform->body[at] == 1 ? -magnitude : magnitude, taps[i], 1e-7) << "tap " << i;
    }

    // Quantization table: C 0.44, Z 1.2 Q, bin widths near NIST's, and 60..63 not coded.
    const Segment* table = Find(ours, 0xFFA5);
    const Segment* nistTable = Find(nists, 0xFFA5);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->body.size(), 3u + 64u * 6u);
    EXPECT_DOUBLE_EQ(ScaledAt(table->body, 0), 0.44);
    for (int k = 0; k < 64; ++k) {
        const size_t at = 3 + 6 * static_cast<size_t>(k);
        const double q = ScaledAt(table->body, at);
        EXPECT_NEAR(ScaledAt(table->body, at + 3), 1.2 * q, 0.002) << "subband " << k;
        if (k >= 60) {
            EXPECT_EQ(q, 0.0) << "subband " << k;
        }
        // NIST's file codes some subbands a rate this low leaves out; where both code it they agree.
        if (q > 0) {
            EXPECT_NEAR(q, ScaledAt(nistTable->body, at), 0.001 * q) << "subband " << k;
        }
    }

    // Huffman tables 0 then 1; the first block uses table 0, the other two table 1.
    EXPECT_EQ(Find(ours, 0xFFA6, 0)->body.at(0), 0);
    EXPECT_EQ(Find(ours, 0xFFA6, 1)->body.at(0), 1);
    const int tables[3] = {0, 1, 1};
    for (int block = 0; block < 3; ++block) {
        const Segment* header = Find(ours, 0xFFA3, block);
        ASSERT_NE(header, nullptr);
        ASSERT_EQ(header->body.size(), 1u);
        EXPECT_EQ(header->body[0], tables[block]) << "block " << block;
        EXPECT_GT(header->codedBytes, 0u) << "block " << block;
    }
}

}  // namespace
