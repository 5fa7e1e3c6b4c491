// The file's decimal form of real numbers: as many digits as the field holds,
// and no more than an exact number needs.
#include "records/wsq/ScaledNumber.h"

#include <gtest/gtest.h>

namespace {

using kv90rec::wsq::ScaledNumber;
using kv90rec::wsq::ToScaled;

void ExpectScaled(double number, uint32_t maxValue, int scale, uint32_t value) {
    const ScaledNumber scaled = ToScaled(number, maxValue);
    EXPECT_EQ(scaled.scale, scale) << number;
    EXPECT_EQ(scaled.value, value) << number;
}

TEST(WsqScaledNumber, KeepsAsManyDigitsAsTheFieldHolds) {
    ExpectScaled(21.66142, 0xFFFF, 3, 21661);
    ExpectScaled(92.18693, 0xFFFF, 2, 9219);
    ExpectScaled(0.9595321, 0xFFFF, 4, 9595);
    ExpectScaled(0.85269867900940, 0xFFFFFFFFu, 9, 852698679);
    ExpectScaled(0.02384946501938, 0xFFFFFFFFu, 11, 2384946502u);
}

TEST(WsqScaledNumber, AnExactNumberKeepsOnlyItsDigits) {
    ExpectScaled(0.44, 0xFFFF, 2, 44);
    ExpectScaled(500.0, 0xFFFF, 0, 500);
    ExpectScaled(0.0, 0xFFFF, 0, 0);
}

TEST(WsqScaledNumber, TooLargeIsHeldAtTheFieldsLimit) {
    ExpectScaled(70000.0, 0xFFFF, 0, 0xFFFF);
    EXPECT_DOUBLE_EQ(kv90rec::wsq::ToDouble(ScaledNumber{3, 21661}), 21.661);
}

}  // namespace
