// What the WSQ tests share: files read whole, the reference fingers, a
// finger-like image, the RMSE of two images, and a reader of a file's marker
// segments written apart from the codec's, so that one misreading of the
// format cannot make both agree.
#pragma once

#include "records/GrayImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wsqtest {

std::vector<uint8_t> ReadBytes(const std::string& path);

// The folder of NIST's reference files, or "" when it is not there.
std::string VectorsFolder();

// A binary 8-bit PGM; an empty image when the file is not one.
kv90rec::GrayImage ReadPgm(const std::string& path);

// Curved ridges with a little noise.
kv90rec::GrayImage FingerLike(int width, int height);

// The root of the mean squared difference; -1 when the sizes differ.
double Rmse(const kv90rec::GrayImage& a, const kv90rec::GrayImage& b);

struct Segment {
    uint16_t marker = 0;
    size_t offset = 0;            // of the marker
    std::vector<uint8_t> body;    // after the length field; empty for SOI and EOI
    size_t codedBytes = 0;        // for a block: the bytes of coded data after its header
};

// The file's segments in order; false when it does not walk cleanly to its end marker.
bool WalkSegments(const std::vector<uint8_t>& file, std::vector<Segment>& segments);

// Big-endian numbers from a segment's body.
unsigned U16At(const std::vector<uint8_t>& body, size_t at);
uint32_t U32At(const std::vector<uint8_t>& body, size_t at);

}  // namespace wsqtest
