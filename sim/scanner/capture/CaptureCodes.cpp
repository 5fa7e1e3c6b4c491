#include "CaptureCodes.h"

namespace kv90sim {

const char* CaptureCodeText(int code) {
    switch (code) {
    case kCaptureOk:
        return "Success";
    case kCaptureBadParameter:
        return "Invalid parameter";
    case kCaptureNotOpen:
        return "Device not initialised";
    case kCaptureFileError:
        return "Cannot write the file";
    case kCaptureNoMemory:
        return "Out of memory";
    default:
        return "Unknown error";
    }
}

}  // namespace kv90sim
