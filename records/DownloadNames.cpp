#include "records/DownloadNames.h"

#include "records/FingerPositions.h"

#include <cstring>

namespace kv90rec {

std::string FileNamePart(const std::string& textUtf8) {
    std::string part;
    for (char c : textUtf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool unsafe = byte < 0x20 || byte == 0x7F || std::strchr("\\/:*?\"<>|;", c) != nullptr;
        part += unsafe ? '_' : c;
    }
    while (!part.empty() && part.front() == '.') part.erase(part.begin());
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    return part;
}

std::string FingerFileName(const std::string& keyUtf8, int slot, ImageFormat format) {
    std::string key = FileNamePart(keyUtf8);
    if (key.empty()) key = "finger";
    std::string finger = FingerPositionName(FingerPositionOfSlot(slot));
    for (char& c : finger)
        if (c == ' ') c = '_';
    return key + "_" + std::to_string(slot) + "_" + finger + "." + ImageFormatName(format);
}

std::string RecordFileName(const std::string& keyUtf8, RecordFormat format) {
    std::string key = FileNamePart(keyUtf8);
    if (key.empty()) key = "fingers";
    return key + "." + RecordFileExtension(format);
}

}  // namespace kv90rec
