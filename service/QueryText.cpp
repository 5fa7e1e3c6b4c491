// Query parameters.
#include "service/QueryText.h"

#include <algorithm>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool PercentDecode(const std::string& text, std::string& decoded) {
    decoded.clear();
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '+') {
            decoded += ' ';
        } else if (c != '%') {
            decoded += c;
        } else {
            if (at + 2 >= text.size()) return false;
            const int high = HexDigit(text[at + 1]), low = HexDigit(text[at + 2]);
            if (high < 0 || low < 0) return false;
            decoded += static_cast<char>(high * 16 + low);
            at += 2;
        }
    }
    return true;
}

// The first parameter named exactly `name`: where its value starts and ends.
bool FindParameter(const std::string& query, const std::string& name, size_t& valueStart, size_t& valueEnd) {
    size_t start = 0;
    while (start <= query.size()) {
        const size_t end = std::min(query.find('&', start), query.size());
        const size_t equals = query.find('=', start);
        if (equals != std::string::npos && equals < end && equals - start == name.size() &&
            query.compare(start, name.size(), name) == 0) {
            valueStart = equals + 1;
            valueEnd = end;
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

bool QueryValue(const std::string& query, const std::string& name, std::string& value) {
    size_t start = 0, end = 0;
    return FindParameter(query, name, start, end) && PercentDecode(query.substr(start, end - start), value);
}

bool QueryHas(const std::string& query, const std::string& name) {
    size_t start = 0, end = 0;
    return FindParameter(query, name, start, end);
}
