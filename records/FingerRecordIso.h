// An ISO/IEC 19794-4:2005 finger image record of one person's fingers: the
// 32-byte general header and one finger view (14-byte header and the image)
// per captured finger, every number big-endian.
#pragma once

#include "records/ImageFormat.h"
#include "records/PersonFingers.h"
#include "records/RecordsConfig.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// The general header's image compression algorithm code: 2 WSQ, 4 JPEG 2000,
// 5 PNG; -1 for a format the record does not carry here.
int IsoCompressionCode(ImageFormat format);

bool WriteIsoFingerRecord(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                          std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kv90rec
