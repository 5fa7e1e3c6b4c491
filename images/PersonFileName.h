// The person's key and name from the host become part of a file name under
// Temp\. The whole name that will be written is judged, as the file system
// will read it: only what is unsafe for that name is refused.
#pragma once

#include <string>

// True when fileName can be written as a plain file directly inside folder
// (which ends with its separator): no separator or character the file system
// refuses, no control character, valid in the GBK code page, no device name
// ("NUL .a$x_0.bmp" opens the NUL device), and short enough for the full path.
bool IsSafeFileNameIn(const std::string& folder, const std::string& fileName);

// True when the text is whole GBK: no byte outside it, no character cut off at
// its end (a lead byte left at the end of a name would take the "_" after it).
bool IsWholeGbkText(const std::string& text);
