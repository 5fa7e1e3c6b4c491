// Texts in the station's code page (936, GBK) as the system reads them: which
// bytes make a character, and how bytes that make none are shown.
#pragma once

#include <string>

// The length in bytes (1 or 2) of the character of code page 936 that starts at
// `at`; 0 when the bytes there make none (a lone or cut-off lead byte, a pair the
// code page does not assign). Byte 0x80 is a character of its own, the euro sign.
size_t GbkCharacterAt(const std::string& text, size_t at);

// The text with every byte that belongs to no character of code page 936
// written as \xNN, so that a log or a caption stays readable GBK.
std::string EscapeNonGbk(const std::string& text);
