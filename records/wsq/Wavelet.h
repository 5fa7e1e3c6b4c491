// The two-channel filter bank of the transform: a symmetric 9-tap lowpass and
// 7-tap highpass analysis pair, applied with whole-sample symmetric extension
// at both ends of a line (the sample at the edge is not repeated), the lowpass
// outputs taken at the even samples and the highpass at the odd ones; a line
// of n samples gives (n + 1) / 2 lowpass and n / 2 highpass outputs.
#pragma once

#include <vector>

namespace kv90rec::wsq {

// Half of each symmetric filter, from its centre outwards: h(0), h(1) = h(-1), ...
// The transform table carries these; the passes filter in float.
struct FilterBank {
    double low[5];   // analysis lowpass, 9 taps
    double high[4];  // analysis highpass, 7 taps
};

// The filters of the FBI's WSQ description.
const FilterBank& StandardFilters();

// The synthesis pair that undoes a bank: the lowpass one is the analysis
// highpass with alternating signs, the highpass one the analysis lowpass with
// alternating signs. Halves from the centre outwards, as FilterBank's.
struct SynthesisBank {
    float low[4];   // 7 taps
    float high[5];  // 9 taps
};
SynthesisBank SynthesisFilters(const FilterBank& analysis);

// The filters' taps as the transform table carries them (the centre tap first).
constexpr int kLowpassTaps = 9;
constexpr int kHighpassTaps = 7;

struct Region {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Splits a region of `plane` (rows of `stride` floats) into four: each row
// into its lowpass half on the left and highpass half on the right, then each
// column into its lowpass half on top and highpass half below. The region
// must be at least 2 by 2.
void SplitRegion(float* plane, int stride, const Region& region, const FilterBank& filters,
                 std::vector<float>& scratch);

// The inverse of SplitRegion.
void MergeRegion(float* plane, int stride, const Region& region, const FilterBank& filters,
                 std::vector<float>& scratch);

}  // namespace kv90rec::wsq
