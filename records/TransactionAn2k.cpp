#include "records/TransactionAn2k.h"

#include "records/EncodedFingers.h"
#include "records/TaggedRecord.h"

#include <cstdio>

namespace kv90rec {

namespace {

constexpr const char* kVersion = "0500";  // ANSI/NIST-ITL 1-2011
// 500 ppi in pixels per millimetre, as the Type-1 resolution fields write it.
constexpr const char* kResolutionPerMm = "19.69";
constexpr const char* kImpressionLiveScanRolled = "1";
constexpr const char* kScaleUnitsPerInch = "1";
constexpr const char* kUtf8CharacterSet = "3";

std::string Date(const RecordTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", t.year, t.month, t.day);
    return text;
}

std::string DateTime(const RecordTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

std::string Idc(int idc) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", idc);
    return text;
}

}  // namespace

std::string An2kCompressionName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Wsq: return "WSQ20";
        case ImageFormat::Png: return "PNG";
        case ImageFormat::Jp2: return "JP2L";
        case ImageFormat::Bmp: break;
    }
    return std::string();
}

bool WriteAn2kTransaction(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                          const RecordTime& time, std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    const std::string compression = An2kCompressionName(format);
    if (compression.empty()) {
        error = "a transaction carries WSQ, PNG or JPEG 2000 images";
        return false;
    }
    std::vector<EncodedFinger> encoded;
    if (!EncodeFingers(person, format, config, encoded, error)) return false;
    std::vector<std::string> fingerRecords;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const CapturedFinger& finger = *encoded[i].finger;
        TaggedRecord record(14);
        record.Add(2, Idc(static_cast<int>(i) + 1));
        record.Add(3, kImpressionLiveScanRolled);
        record.Add(4, config.originatingAgency);
        record.Add(5, Date(finger.hasCaptureTime ? finger.captureTime : time));
        record.Add(6, std::to_string(finger.image.width));
        record.Add(7, std::to_string(finger.image.height));
        record.Add(8, kScaleUnitsPerInch);
        record.Add(9, std::to_string(finger.image.ppi));
        record.Add(10, std::to_string(finger.image.ppi));
        record.Add(11, compression);
        record.Add(12, "8");
        record.Add(13, std::to_string(encoded[i].position));
        record.AddImage(999, encoded[i].image);
        fingerRecords.push_back(record.Encode());
    }

    TaggedRecord descriptive(2);
    descriptive.Add(2, Idc(0));
    if (!person.key.empty()) descriptive.Add(9, FieldText(person.key));
    if (!person.name.empty()) descriptive.Add(18, FieldText(person.name));

    TaggedRecord transaction(1);
    transaction.Add(2, kVersion);
    std::vector<std::vector<std::string>> content{{"1", std::to_string(1 + fingerRecords.size())}, {"2", Idc(0)}};
    for (size_t i = 0; i < fingerRecords.size(); ++i) content.push_back({"14", Idc(static_cast<int>(i) + 1)});
    transaction.AddSubfields(3, content);
    transaction.Add(4, config.transactionType);
    transaction.Add(5, Date(time));
    if (config.priority > 0) transaction.Add(6, std::to_string(config.priority));
    transaction.Add(7, config.destinationAgency);
    transaction.Add(8, config.originatingAgency);
    transaction.Add(9, config.controlNumberPrefix + DateTime(time));
    transaction.Add(11, kResolutionPerMm);
    transaction.Add(12, kResolutionPerMm);
    if (!config.domainName.empty()) {
        std::vector<std::string> domain{config.domainName};
        if (!config.domainVersion.empty()) domain.push_back(config.domainVersion);
        transaction.AddSubfields(13, {domain});
    }
    transaction.Add(14, DateTime(time) + "Z");
    transaction.AddSubfields(15, {{kUtf8CharacterSet, "UTF-8"}});

    std::string whole = transaction.Encode() + descriptive.Encode();
    for (const std::string& record : fingerRecords) whole += record;
    bytes.assign(whole.begin(), whole.end());
    return true;
}

}  // namespace kv90rec
