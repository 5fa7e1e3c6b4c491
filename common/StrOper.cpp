#include "common/StrOper.h"

// The host's separator "$" is never the trail byte of a GBK character, so a
// plain byte search finds the first real occurrence.

std::string TStrOper::StrBefore(const std::string& text, char ch) noexcept {
    try {
        const size_t p = text.find(ch);
        return p == std::string::npos ? std::string() : text.substr(0, p);
    } catch (...) {
        return std::string();
    }
}

std::string TStrOper::StrAfter(const std::string& text, char ch) noexcept {
    try {
        const size_t p = text.find(ch);
        return p == std::string::npos ? text : text.substr(p + 1);
    } catch (...) {
        return std::string();
    }
}
