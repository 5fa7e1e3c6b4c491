#include "records/FingerPositions.h"

#include <gtest/gtest.h>

// Slot 0..4: left thumb .. left little finger; slot 5..9: right thumb .. right little finger.
TEST(FingerPositions, EverySlotHasTheStandardsPositionCode) {
    const int expected[kv90rec::kSlotCount] = {6, 7, 8, 9, 10, 1, 2, 3, 4, 5};
    for (int slot = 0; slot < kv90rec::kSlotCount; ++slot) {
        EXPECT_EQ(kv90rec::FingerPositionOfSlot(slot), expected[slot]) << "slot " << slot;
        EXPECT_EQ(kv90rec::SlotOfFingerPosition(expected[slot]), slot);
    }
    EXPECT_STREQ(kv90rec::FingerPositionName(kv90rec::FingerPositionOfSlot(0)), "left thumb");
    EXPECT_STREQ(kv90rec::FingerPositionName(kv90rec::FingerPositionOfSlot(4)), "left little finger");
    EXPECT_STREQ(kv90rec::FingerPositionName(kv90rec::FingerPositionOfSlot(5)), "right thumb");
    EXPECT_STREQ(kv90rec::FingerPositionName(kv90rec::FingerPositionOfSlot(9)), "right little finger");
}

TEST(FingerPositions, NumbersOutsideTheSlotsAreUnknownFingers) {
    EXPECT_EQ(kv90rec::FingerPositionOfSlot(-1), 0);
    EXPECT_EQ(kv90rec::FingerPositionOfSlot(10), 0);
    EXPECT_EQ(kv90rec::SlotOfFingerPosition(0), -1);
    EXPECT_EQ(kv90rec::SlotOfFingerPosition(11), -1);
}
