// The entry points for fuzzing the readers of outside bytes (the skin reader,
// the bitmap file reader of the program's pictures and the WSQ decoder) and
// for replaying the corpus.
// Each takes arbitrary bytes and must neither crash nor read out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>

// Extracts "SKINDATA.SK2" without a password and with the password "skin", and
// parses what comes out. Returns the extraction result for the password "skin".
int FuzzSkinArchive(const std::uint8_t* data, std::size_t size);

// Parses the bytes as a skin resource file and applies the load-time colour
// work to its bitmaps. Returns 1 when the file was accepted, else 0.
int FuzzSkinResource(const std::uint8_t* data, std::size_t size);

// Decodes the bytes as a BMP file image. Returns 1 when decoded, else 0.
int FuzzSkinBmp(const std::uint8_t* data, std::size_t size);

// Reads the bytes as a bitmap file of the program's pictures, as the picture
// loader does, and shrinks what it decodes as the preview does. Returns 1 when
// the file was accepted, else 0.
int FuzzBitmapFile(const std::uint8_t* data, std::size_t size);

// Decodes the bytes as a WSQ file; an image it gives is encoded and decoded
// again. Returns 1 when the file was decoded, else 0.
int FuzzWsqDecode(const std::uint8_t* data, std::size_t size);
