#include "records/PersonRecord.h"

#include "records/FingerRecordIso.h"
#include "records/TransactionAn2k.h"

#include <cctype>

namespace kv90rec {

bool ParseRecordFormat(const std::string& name, RecordFormat& format) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "an2k") {
        format = RecordFormat::An2k;
        return true;
    }
    if (lower == "iso19794-4") {
        format = RecordFormat::Iso19794_4;
        return true;
    }
    return false;
}

const char* RecordFormatName(RecordFormat format) { return format == RecordFormat::An2k ? "an2k" : "iso19794-4"; }

const char* RecordFileExtension(RecordFormat format) { return format == RecordFormat::An2k ? "an2" : "fir"; }

bool PersonRecord(RecordFormat format, ImageFormat image, const PersonFingers& person, const RecordsConfig& config,
                  const RecordTime& time, std::vector<uint8_t>& bytes, std::string& error) {
    if (format == RecordFormat::An2k) return WriteAn2kTransaction(person, image, config, time, bytes, error);
    return WriteIsoFingerRecord(person, image, config, bytes, error);
}

bool PersonRecord(RecordFormat format, ImageFormat image, const PersonFingers& person, const RecordsConfig& config,
                  std::vector<uint8_t>& bytes, std::string& error) {
    return PersonRecord(format, image, person, config, RecordTimeNow(), bytes, error);
}

}  // namespace kv90rec
