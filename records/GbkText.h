// Texts between the station's code page and the UTF-8 the records declare.
#pragma once

#include <string>

namespace kv90rec {

// GBK (code page 936) bytes as UTF-8; bytes that are no GBK become U+FFFD.
std::string GbkToUtf8(const std::string& gbk);
// UTF-16 as UTF-8.
std::string WideToUtf8(const std::wstring& wide);

}  // namespace kv90rec
