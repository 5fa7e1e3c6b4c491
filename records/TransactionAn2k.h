// An ANSI/NIST-ITL 1-2011 transaction of one person's fingers, traditional
// encoding: a Type-1 transaction record, one Type-2 descriptive record with
// the person's key (2.009) and name (2.018), and one Type-14 finger image
// record per captured finger, dated when it was captured where that is known.
#pragma once

#include "records/ImageFormat.h"
#include "records/PersonFingers.h"
#include "records/RecordTime.h"
#include "records/RecordsConfig.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// The compression a Type-14 record names (14.011): "WSQ20", "PNG" or "JP2L".
// Empty for a format a record does not carry.
std::string An2kCompressionName(ImageFormat format);

// The transaction; `format` is the images' (WSQ, PNG or lossless JPEG 2000).
// False with a reason for no fingers, another format, or an image that cannot
// be encoded.
bool WriteAn2kTransaction(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                          const RecordTime& time, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kv90rec
