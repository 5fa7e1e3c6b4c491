#pragma once
// The capture library's result codes and their texts.

namespace kv90sim {

inline constexpr int kCaptureOk = 1;
inline constexpr int kCaptureBadParameter = -1;
inline constexpr int kCaptureNotOpen = -2;
inline constexpr int kCaptureFileError = -3;
inline constexpr int kCaptureNoMemory = -4;

// A short English text for a code (at most 47 characters), or an "unknown"
// text for a code the library never returns.
const char* CaptureCodeText(int code);

}  // namespace kv90sim
