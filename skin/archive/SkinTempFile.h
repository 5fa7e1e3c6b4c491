// Temporary files for skin archives and skin resource files, and the file
// existence test of the skin loader. Implemented per platform.
#pragma once

#include <string>

// A path in the system's temporary folder made of a newly generated GUID in its
// braced text form and `extension` (empty or like ".ssk"); while a file of that
// name exists, 1, 2, ... is inserted before the extension. The file is not created.
std::string MakeTempFilePath(const std::string& extension);

// Whether a file (not a folder) exists at the path.
bool SkinFileExists(const std::string& path);
