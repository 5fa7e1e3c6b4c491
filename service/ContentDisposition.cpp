// File names in a header: a quoted ASCII fallback and the RFC 5987 form.
#include "service/ContentDisposition.h"

namespace {

bool AttrChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    for (const char* other = "!#$&+-.^_`|~"; *other; ++other)
        if (c == static_cast<unsigned char>(*other)) return true;
    return false;
}

// Each character beyond ASCII becomes one '_'; '%' too, since some clients
// percent-decode the plain name.
std::string AsciiFallback(const std::string& utf8) {
    std::string ascii;
    for (const char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xC0) continue;  // the rest of a character already replaced
        ascii += byte >= 0x80 || c == '%' || c == '"' || c == '\\' || byte < 0x20 ? '_' : c;
    }
    return ascii;
}

std::string PercentEncoded(const std::string& utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (AttrChar(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

}  // namespace

std::string ContentDisposition(Disposition disposition, const std::string& fileNameUtf8) {
    const char* kind = disposition == Disposition::Inline ? "inline" : "attachment";
    return std::string(kind) + "; filename=\"" + AsciiFallback(fileNameUtf8) + "\"; filename*=UTF-8''" +
           PercentEncoded(fileNameUtf8);
}
