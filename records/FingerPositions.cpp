#include "records/FingerPositions.h"

namespace kv90rec {

namespace {

// Slots 0..4 are the left hand and 5..9 the right, each thumb to little finger.
constexpr int kPositionOfSlot[kSlotCount] = {6, 7, 8, 9, 10, 1, 2, 3, 4, 5};

constexpr const char* kPositionNames[] = {
    "unknown finger",     "right thumb",        "right index finger", "right middle finger",
    "right ring finger",  "right little finger", "left thumb",         "left index finger",
    "left middle finger", "left ring finger",   "left little finger",
};

}  // namespace

int FingerPositionOfSlot(int slot) { return slot >= 0 && slot < kSlotCount ? kPositionOfSlot[slot] : 0; }

int SlotOfFingerPosition(int position) {
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (kPositionOfSlot[slot] == position) return slot;
    return -1;
}

const char* FingerPositionName(int position) {
    return position >= 1 && position <= 10 ? kPositionNames[position] : kPositionNames[0];
}

}  // namespace kv90rec
