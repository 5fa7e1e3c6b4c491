// The tests' way back from the encoders' files: libpng and OpenJPEG decoding,
// and a walk over a JP2 file's boxes written here, apart from the writer's.
#pragma once

#include "records/GrayImage.h"

#include <cstdint>
#include <string>
#include <vector>

struct PngRead {
    kv90rec::GrayImage image;
    int bitDepth = 0;
    int colourType = -1;
    bool hasPhys = false;
    uint32_t xPerUnit = 0;
    uint32_t yPerUnit = 0;
    int unit = -1;
};
bool ReadPngForTest(const std::vector<uint8_t>& png, PngRead& read, std::string& error);

struct Jp2Read {
    kv90rec::GrayImage image;
    int components = 0;
    int precision = 0;
    bool reversible = false;  // the codestream's COD marker names the 5/3 wavelet
};
bool ReadJp2ForTest(const std::vector<uint8_t>& jp2, Jp2Read& read, std::string& error);

// The capture resolution box inside the JP2 header box, as grid points per
// metre each way; false when there is none.
bool FindJp2CaptureResolution(const std::vector<uint8_t>& jp2, double& verticalPerMetre, double& horizontalPerMetre);
