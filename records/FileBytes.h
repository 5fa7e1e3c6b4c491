// Whole files read into memory: slot files, settings and WSQ files are small.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv90rec {

// False when the file cannot be opened or read. The narrow path is in the
// system's code page (the station names person files in GBK), the wide one UTF-16.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes);

}  // namespace kv90rec
