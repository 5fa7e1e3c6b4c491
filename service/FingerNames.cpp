// The slot names of the capture window, spelt for JSON.
#include "service/FingerNames.h"

#include "service/StationPort.h"

namespace {

// u8 literals: the program's own texts are GBK, but JSON is UTF-8.
const char* const kNames[kSlotCount] = {
    u8"左手拇指", u8"左手食指", u8"左手中指", u8"左手无名指", u8"左手小指",
    u8"右手拇指", u8"右手食指", u8"右手中指", u8"右手无名指", u8"右手小指",
};

}  // namespace

const char* FingerName(int slot) { return slot >= 0 && slot < kSlotCount ? kNames[slot] : ""; }

const char* StateName(StationState state) {
    switch (state) {
    case StationState::Stopped:
        return "stopped";
    case StationState::Starting:
        return "starting";
    case StationState::Ready:
        return "ready";
    case StationState::Closing:
        return "closing";
    }
    return "stopped";
}
