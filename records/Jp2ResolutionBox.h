// The capture resolution box of a JP2 file, which OpenJPEG does not write:
// the header box gets a resolution box holding a capture resolution box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// The three numbers a resolution box stores per direction: grid points per
// metre = numerator / denominator * 10^exponent, each 16 bits (exponent 8).
struct Jp2Resolution {
    uint16_t numerator = 0;
    uint16_t denominator = 1;
    int8_t exponent = 0;
};

// `ppi` pixels per inch exactly: ppi * 100 / 254 * 10^2 (ppi up to 655).
Jp2Resolution Jp2ResolutionOfPpi(int ppi);

// Adds the capture resolution (the same both ways) at the end of the file's
// JP2 header box. False with a reason when the file has no header box to grow.
bool AddCaptureResolution(std::vector<uint8_t>& jp2, int ppi, std::string& error);

}  // namespace kv90rec
