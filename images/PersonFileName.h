// The person's key and name from the host become part of a file name under
// Temp\. A part that could lead out of that folder, that the file system
// cannot take, or that would change the name's meaning is refused.
#pragma once

#include <string>

// True when key "$" name "_" N ".bmp" is a plain file name inside the folder.
bool IsSafePersonFileName(const std::string& key, const std::string& name);
