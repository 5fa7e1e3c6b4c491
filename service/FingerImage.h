// A slot's image as the web pages get it.
#pragma once

#include <string>

// The file's bytes; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// The bitmap file compressed as JPEG; false (with the reason) when it cannot
// be read or is not a bitmap.
bool BitmapFileToJpeg(const std::string& path, int quality, std::string& jpeg, std::string& error);
