// The file names a finger or a record is offered under (a web answer's
// Content-Disposition, a script's default), made from the person's key.
#pragma once

#include "records/ImageFormat.h"
#include "records/PersonRecord.h"

#include <string>

namespace kv90rec {

// "<key>_<slot>_<finger>.<ext>", e.g. "A001_0_left_thumb.png"; "finger_..." without a key.
std::string FingerFileName(const std::string& keyUtf8, int slot, ImageFormat format);
// "<key>.an2" or "<key>.fir"; "fingers.<ext>" without a key.
std::string RecordFileName(const std::string& keyUtf8, RecordFormat format);

// The key as a safe part of a file name: characters that no file system or
// header takes (separators, quotes, control characters, ":*?<>|") become "_",
// leading dots and trailing dots and spaces go; UTF-8 beyond ASCII stays.
std::string FileNamePart(const std::string& textUtf8);

}  // namespace kv90rec
