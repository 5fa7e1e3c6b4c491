// Query parameters read by hand.
#include "service/QueryText.h"

#include <gtest/gtest.h>

namespace {

TEST(QueryTextTest, FindsTheNamedParameterAndDecodesIt) {
    std::string value;
    ASSERT_TRUE(QueryValue("format=jpeg&key=11%2401+%E5%BC%A0", "key", value));
    EXPECT_EQ(value, "11$01 \xE5\xBC\xA0");
    ASSERT_TRUE(QueryValue("format=jpeg&key=1", "format", value));
    EXPECT_EQ(value, "jpeg");
    ASSERT_TRUE(QueryValue("akey=1&key=", "key", value));
    EXPECT_EQ(value, "");
}

TEST(QueryTextTest, MissingOrBrokenParametersAreNotFound) {
    std::string value;
    EXPECT_FALSE(QueryValue("", "key", value));
    EXPECT_FALSE(QueryValue("keys=1&k=2&key", "key", value));
    EXPECT_FALSE(QueryValue("key=%4", "key", value));
    EXPECT_FALSE(QueryValue("key=%zz", "key", value));
}

// A route tells a parameter it cannot read from one that is not there: only the
// exact name counts, not a longer one that ends in it.
TEST(QueryTextTest, PresenceIsOfTheExactName) {
    EXPECT_TRUE(QueryHas("format=an2k&image=%zz", "image"));
    EXPECT_FALSE(QueryHas("format=an2k&xyzimage=png", "image"));
    EXPECT_FALSE(QueryHas("image", "image"));
}

}  // namespace
