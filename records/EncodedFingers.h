// A person's fingers made ready for a record: each with its finger position
// and its image compressed, the checks both record formats share done once.
#pragma once

#include "records/ImageFormat.h"
#include "records/PersonFingers.h"
#include "records/RecordsConfig.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

struct EncodedFinger {
    const CapturedFinger* finger = nullptr;  // into the PersonFingers given
    int position = 0;                        // the standards' finger position code
    std::vector<uint8_t> image;              // in the record's image format
};

// False with a reason when no finger was captured, a slot is no finger's, or
// an image cannot be compressed.
bool EncodeFingers(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                   std::vector<EncodedFinger>& encoded, std::string& error);

}  // namespace kv90rec
