// One person's captured fingers, as the records are written from them.
#pragma once

#include "records/GrayImage.h"
#include "records/RecordTime.h"

#include <string>
#include <vector>

namespace kv90rec {

struct CapturedFinger {
    int slot = 0;  // 0..9, see FingerPositions.h
    GrayImage image;
    // When the finger was captured (UTC), if known: the slot file's time.
    bool hasCaptureTime = false;
    RecordTime captureTime;
};

struct PersonFingers {
    std::string key;   // the host's key for the person, UTF-8
    std::string name;  // the person's name, UTF-8
    std::vector<CapturedFinger> fingers;  // in slot order, at most one per slot
};

}  // namespace kv90rec
