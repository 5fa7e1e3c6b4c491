// What an office fills in about itself for the records it sends, from
// Config\Records.ini (section [Records]); every key has a default, so the file
// may be missing or hold only what differs.
#pragma once

#include "records/ImageFormat.h"

#include <string>

namespace kv90rec {

struct RecordsConfig {
    // ANSI/NIST-ITL transaction (Type-1): who receives it, who sends it, what it asks for.
    std::string destinationAgency = "DAI000000";  // DestinationAgency, 1.007
    std::string originatingAgency = "ORI000000";  // OriginatingAgency, 1.008 and every 14.004
    std::string transactionType = "CAR";          // TransactionType, 1.004
    std::string domainName = "NORAM";             // DomainName, 1.013 (empty: no domain field)
    std::string domainVersion;                    // DomainVersion, 1.013's second item
    int priority = 0;                             // Priority 1..9, 1.006 (0: no priority field)
    std::string controlNumberPrefix = "KV90";     // ControlNumberPrefix, before the time in 1.009
    // ISO/IEC 19794-4 finger image record's general header.
    int captureDeviceId = 0;    // CaptureDeviceId, 0 = not reported
    int acquisitionLevel = 31;  // AcquisitionLevel, 31 = 500 ppi, 8 bits
    // Images inside the records.
    ImageFormat recordImage = ImageFormat::Wsq;  // RecordImage: wsq, png or jp2
    double wsqBitRate = 0.75;                    // WsqBitRate, 0.5..2.25 bits per pixel
};

// The settings in an INI text; keys not given keep their defaults. False with
// a reason naming the key for a value the records cannot carry.
bool ParseRecordsConfig(const std::string& iniText, RecordsConfig& config, std::string& error);

// The same from a file (UTF-16 path); a missing file gives the defaults.
bool LoadRecordsConfig(const std::wstring& path, RecordsConfig& config, std::string& error);

}  // namespace kv90rec
