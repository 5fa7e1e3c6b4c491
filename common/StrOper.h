// Splitting texts at a character.
#pragma once

#include <string>

class TStrOper {
public:
    TStrOper() = delete;
    // The part before the first ch; empty when ch is absent. Never raises.
    static std::string StrBefore(const std::string& text, char ch) noexcept;
    // The part after the first ch; the whole text when ch is absent. Never raises.
    static std::string StrAfter(const std::string& text, char ch) noexcept;
};
