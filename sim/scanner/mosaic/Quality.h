#pragma once
// Scores a finished finger image, 0 to 100, from what it shows.
//
// The image is cut into 16 x 16 blocks; a block holds finger when it is
// darker than paper white and textured.  For each such block the ridge
// clarity is how consistently its gradients share one direction, and its
// contrast is the spread of its grey levels.
//  - finger quality: how much of a full rolled print is there, times how
//    clear its ridges are, so a partial roll scores low;
//  - image quality: the contrast and clarity of the ridges and how well the
//    grey levels sit in the scanner's range, with a milder penalty for a
//    small area.

#include <cstdint>

namespace kv90sim {

struct QualityReport {
    int finger = 0;
    int image = 0;
    double coverage = 0.0;  // of a full rolled print, capped at 1
    double clarity = 0.0;   // mean ridge coherence of the finger blocks, 0..1
    double contrast = 0.0;  // mean contrast of the finger blocks, 0..1
    double tone = 0.0;      // how well the mean grey sits mid-range, 0..1
};

QualityReport AssessQuality(const std::uint8_t* image, int width, int height);

}  // namespace kv90sim
