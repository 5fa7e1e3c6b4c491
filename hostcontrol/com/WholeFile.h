// Files a caller names, written whole or not at all, as the station writes its
// own: the bytes go to a temporary file beside the target (the same volume, so
// the rename is one step), are flushed, and only then take the target's name.
// A full disk or a refused rename leaves the target as it was and no
// temporary file behind.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kv90com {

// False with the system's error code when the file could not be put in place.
bool writeWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, DWORD& systemError);

}  // namespace kv90com
