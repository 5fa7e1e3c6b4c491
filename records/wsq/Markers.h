// The two-byte markers that frame a WSQ file, and the fixed numbers of its
// layout, as the FBI publishes the WSQ format.
#pragma once

#include <cstdint>

namespace kv90rec::wsq {

constexpr uint16_t kMarkerSoi = 0xFFA0;  // start of image
constexpr uint16_t kMarkerEoi = 0xFFA1;  // end of image
constexpr uint16_t kMarkerSof = 0xFFA2;  // start of frame
constexpr uint16_t kMarkerSob = 0xFFA3;  // start of block
constexpr uint16_t kMarkerDtt = 0xFFA4;  // transform (filter) table
constexpr uint16_t kMarkerDqt = 0xFFA5;  // quantization table
constexpr uint16_t kMarkerDht = 0xFFA6;  // Huffman table
constexpr uint16_t kMarkerDrt = 0xFFA7;  // restart interval
constexpr uint16_t kMarkerCom = 0xFFA8;  // comment
constexpr uint16_t kMarkerRst0 = 0xFFB0;  // restart markers run FFB0..FFB7
constexpr uint16_t kMarkerRst7 = 0xFFB7;

constexpr int kSubbandCount = 64;
constexpr int kCodedSubbandCount = 60;  // 60..63 are never coded
constexpr int kBlockCount = 3;
constexpr int kHuffmanTableCount = 8;
constexpr int kMaxCodeLength = 16;

}  // namespace kv90rec::wsq
