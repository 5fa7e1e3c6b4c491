// The current person's captured fingers in the forms identification systems
// take: one finger's image (BMP, PNG, WSQ, JPEG 2000) and the person's
// fingers as one ANSI/NIST-ITL transaction or ISO/IEC 19794-4 record. A slot
// counts as captured while the person's slot file exists: the station writes
// it on capture and never deletes it.
#pragma once
#include "HostLink.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv90com {

// Numbered after the link's own failures, so that every code of the control
// is distinct (see controlFailure).
enum class ExportFailure {
    None = 0,
    NoPerson = 0x11,        // no person was named since Open
    NotCaptured = 0x12,     // the person's slot file is not there
    UnknownFormat = 0x13,   // a format text the control does not offer
    FingerUnusable = 0x14,  // the slot file cannot be read or encoded
    BadSettings = 0x15,     // Config\Records.ini holds a value the records cannot carry
    NotWritable = 0x16,     // the file cannot be written where the caller asked
};

struct ExportError {
    ExportFailure failure = ExportFailure::None;
    std::wstring description;  // a sentence an integrator can show
};

// Reads the link's person, slot files and station folder at every call.
class FingerExport {
public:
    explicit FingerExport(const kv90host::HostLink& link) : link_(link) {}

    // format: "bmp", "png", "wsq" or "jp2" (any case). WSQ at Records.ini's bit rate.
    bool fingerBytes(int slot, const std::wstring& format, std::vector<uint8_t>& bytes, ExportError& error) const;
    // format: "an2k" or "iso19794-4", optionally ":wsq", ":png" or ":jp2" for
    // the images inside (Records.ini's RecordImage without it).
    bool recordBytes(const std::wstring& format, std::vector<uint8_t>& bytes, ExportError& error) const;

private:
    std::wstring settingsPath() const;

    const kv90host::HostLink& link_;
};

// Writes what fingerBytes/recordBytes made to the caller's path, whole.
bool saveExport(const std::wstring& path, const std::vector<uint8_t>& bytes, ExportError& error);

}  // namespace kv90com
