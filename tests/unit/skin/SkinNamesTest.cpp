#include "skin/archive/SkinNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(SkinNames, TheTableHolds84DistinctNames) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < skinnames::kNameCount; ++i) {
        ASSERT_NE(nullptr, skinnames::NameAt(i));
        names.insert(skinnames::NameAt(i));
    }
    EXPECT_EQ(84u, names.size());
    EXPECT_EQ(nullptr, skinnames::NameAt(84));
}

TEST(SkinNames, GroupsStartAtTheirBases) {
    EXPECT_STREQ("SKIN2_TRANSCOLOR", skinnames::ColorName(SKIN_COLOR_TRANSCOLOR));
    EXPECT_STREQ("SKIN2_FORMCOLOR", skinnames::ColorName(SKIN_COLOR_FORMCOLOR));
    EXPECT_STREQ("SKIN2_SIDECHANNELBORDERCOLOR", skinnames::ColorName(31));
    EXPECT_STREQ("SKIN2_TITLEBAR1", skinnames::BitmapName(0));
    EXPECT_STREQ("SKIN2_TRACKBAR", skinnames::BitmapName(SKIN_BMP_TRACKBAR));
    EXPECT_STREQ("SKIN2_SCROLLBUTTON", skinnames::BitmapName(33));
    EXPECT_STREQ("SKIN2_TITLEBARICONPOSX", skinnames::IntName(0));
    EXPECT_STREQ("SKIN2_BOTTOMREGIONMAXY", skinnames::IntName(8));
    EXPECT_STREQ("SKIN2_TITLEFIVESECT", skinnames::BoolName(0));
    EXPECT_STREQ("SKIN2_TABCONTROLTRANS", skinnames::BoolName(8));
}

TEST(SkinNames, IndicesAreMaskedToSevenBits) {
    EXPECT_STREQ(skinnames::ColorName(2), skinnames::ColorName(128 + 2));
    EXPECT_STREQ(skinnames::BitmapName(23), skinnames::BitmapName(-128 + 23));
    // Past a group's end the masked index runs into the next group...
    EXPECT_STREQ("SKIN2_TITLEBAR1", skinnames::ColorName(32));
    // ...and past the table's end there is no name at all.
    EXPECT_EQ(nullptr, skinnames::BoolName(127));
    EXPECT_EQ(nullptr, skinnames::BitmapName(60));
}
