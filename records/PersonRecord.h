// A person's fingers as one record: the one call the web service's record
// route, the control's SaveRecord and the converter make.
#pragma once

#include "records/ImageFormat.h"
#include "records/PersonFingers.h"
#include "records/RecordTime.h"
#include "records/RecordsConfig.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

enum class RecordFormat {
    An2k,       // ANSI/NIST-ITL 1-2011 transaction
    Iso19794_4  // ISO/IEC 19794-4:2005 finger image record
};

// "an2k" or "iso19794-4" (any case); false for any other name.
bool ParseRecordFormat(const std::string& name, RecordFormat& format);
const char* RecordFormatName(RecordFormat format);
// The usual file extension: "an2" or "fir".
const char* RecordFileExtension(RecordFormat format);

// The record of `person`'s fingers with images in `image` (WSQ, PNG or JPEG
// 2000), dated `time` (UTC).
bool PersonRecord(RecordFormat format, ImageFormat image, const PersonFingers& person, const RecordsConfig& config,
                  const RecordTime& time, std::vector<uint8_t>& bytes, std::string& error);
// The same, dated now.
bool PersonRecord(RecordFormat format, ImageFormat image, const PersonFingers& person, const RecordsConfig& config,
                  std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kv90rec
