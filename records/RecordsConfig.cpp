#include "records/RecordsConfig.h"

#include "records/FileBytes.h"
#include "records/GbkText.h"
#include "records/IniText.h"
#include "records/wsq/WsqCodec.h"

#include <windows.h>

#include <cstdlib>

namespace kv90rec {

namespace {

constexpr const char* kSection = "Records";

// Printable ASCII only: a transaction's separators and any byte outside ASCII
// would break the fields these values go into.
bool IsPlainText(const std::string& text, size_t maxLength) {
    if (text.size() > maxLength) return false;
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

bool ReadText(const IniValues& values, const char* key, size_t maxLength, bool mayBeEmpty, std::string& target,
              std::string& error) {
    const std::string* value = FindIniValue(values, kSection, key);
    if (!value) return true;
    if (!IsPlainText(*value, maxLength) || (!mayBeEmpty && value->empty())) {
        error = std::string("Records.ini: ") + key + " must be " + (mayBeEmpty ? "" : "1 to ") +
                std::to_string(maxLength) + " printable ASCII characters";
        return false;
    }
    target = *value;
    return true;
}

bool ReadNumber(const IniValues& values, const char* key, int low, int high, int& target, std::string& error) {
    const std::string* value = FindIniValue(values, kSection, key);
    if (!value) return true;
    char* end = nullptr;
    const long number = std::strtol(value->c_str(), &end, 10);
    if (value->empty() || *end != '\0' || number < low || number > high) {
        error = std::string("Records.ini: ") + key + " must be a whole number from " + std::to_string(low) + " to " +
                std::to_string(high);
        return false;
    }
    target = static_cast<int>(number);
    return true;
}

// Notepad saves "Unicode" as UTF-16 with a byte order mark: taken byte by byte,
// no key of such a file would match, and the office's agencies would be lost
// without a word.
std::string IniTextOfFile(const std::vector<uint8_t>& bytes) {
    const bool little = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool big = bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!little && !big) return std::string(bytes.begin(), bytes.end());
    std::wstring wide;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned first = bytes[i];
        const unsigned second = bytes[i + 1];
        wide += static_cast<wchar_t>(little ? first | second << 8 : first << 8 | second);
    }
    return WideToUtf8(wide);
}

}  // namespace

bool ParseRecordsConfig(const std::string& iniText, RecordsConfig& config, std::string& error) {
    const IniValues values = ParseIniText(iniText);
    RecordsConfig read = config;
    if (!ReadText(values, "DestinationAgency", 35, false, read.destinationAgency, error) ||
        !ReadText(values, "OriginatingAgency", 35, false, read.originatingAgency, error) ||
        !ReadText(values, "TransactionType", 16, false, read.transactionType, error) ||
        !ReadText(values, "DomainName", 30, true, read.domainName, error) ||
        !ReadText(values, "DomainVersion", 30, true, read.domainVersion, error) ||
        !ReadText(values, "ControlNumberPrefix", 20, true, read.controlNumberPrefix, error) ||
        !ReadNumber(values, "Priority", 0, 9, read.priority, error) ||
        !ReadNumber(values, "CaptureDeviceId", 0, 65535, read.captureDeviceId, error) ||
        !ReadNumber(values, "AcquisitionLevel", 0, 65535, read.acquisitionLevel, error))
        return false;
    if (const std::string* image = FindIniValue(values, kSection, "RecordImage")) {
        if (!ParseImageFormat(*image, read.recordImage) || read.recordImage == ImageFormat::Bmp) {
            error = "Records.ini: RecordImage must be wsq, png or jp2";
            return false;
        }
    }
    if (const std::string* rate = FindIniValue(values, kSection, "WsqBitRate")) {
        char* end = nullptr;
        const double bitRate = std::strtod(rate->c_str(), &end);
        if (rate->empty() || *end != '\0' || !(bitRate >= wsq::kMinBitRate && bitRate <= wsq::kMaxBitRate)) {
            error = "Records.ini: WsqBitRate must be a number from 0.5 to 2.25";
            return false;
        }
        read.wsqBitRate = bitRate;
    }
    config = read;
    return true;
}

bool LoadRecordsConfig(const std::wstring& path, RecordsConfig& config, std::string& error) {
    // Only a file that is not there gives the defaults: one that is there but
    // cannot be opened (held open by an editor, no right to read it) must not
    // send the transaction out with another office's agencies.
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        error = "Records.ini cannot be read";
        return false;
    }
    return ParseRecordsConfig(IniTextOfFile(bytes), config, error);
}

}  // namespace kv90rec
