#include "NumberText.h"

namespace hostsim {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool parseSigned(const std::string& text, std::int64_t& value) {
    std::string rest = text;
    bool negative = false;
    if (!rest.empty() && rest[0] == '-') {
        negative = true;
        rest.erase(0, 1);
    }
    std::uint64_t magnitude = 0;
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        const std::string digits = rest.substr(2);
        if (digits.size() > 8) return false;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(d);
        }
    } else if (!parseUnsigned(rest, 0xFFFFFFFFull, magnitude)) {
        return false;
    }
    value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

bool parseHex(const std::string& text, std::vector<unsigned char>& bytes) {
    if (text.size() % 2 != 0) return false;
    std::vector<unsigned char> result;
    result.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        result.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    bytes.swap(result);
    return true;
}

std::string toHex(const unsigned char* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string result;
    result.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        result.push_back(digits[bytes[i] >> 4]);
        result.push_back(digits[bytes[i] & 0x0F]);
    }
    return result;
}

std::string toHex(const std::string& bytes) {
    return toHex(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace hostsim
