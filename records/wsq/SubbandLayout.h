// Where the 64 subbands of the decomposition lie in the transformed image,
// numbered as the file orders them, and the splits that make them.
//
// The image is split into four; its lowpass quarter twice more, down to 16
// subbands of 1/256 of the image each, the lowest of which is split once
// more into 4 of 1/1024 (0..3 and 4..50 in all, 51 being the lowpass
// quarter's diagonal part, not split further); the other quarters are split
// once, into 52..59 and the diagonal 60..63, which are never coded. Within a
// split the four parts are numbered by frequency, lowest first: after a
// highpass filter a subband's frequencies run backwards along that axis, so
// there the part that lies second comes first.
#pragma once

#include "records/wsq/Markers.h"
#include "records/wsq/Wavelet.h"

#include <array>
#include <vector>

namespace kv90rec::wsq {

// The smallest side the five levels of splitting can take.
constexpr int kMinImageSide = 32;

struct SubbandLayout {
    std::vector<Region> splits;  // parents before their parts
    std::array<Region, kSubbandCount> subbands{};
};

// False for an image side below kMinImageSide.
bool MakeSubbandLayout(int width, int height, SubbandLayout& layout);

// The first subband of each of the three coded blocks, and the end of the last.
constexpr int kBlockFirstSubband[kBlockCount + 1] = {0, 19, 52, kCodedSubbandCount};

}  // namespace kv90rec::wsq
