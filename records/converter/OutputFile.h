// A converter's result written whole or not at all: into a file beside the
// target, which then takes the target's place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, std::string& error);
