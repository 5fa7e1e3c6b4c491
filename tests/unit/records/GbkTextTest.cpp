// The station's person texts are GBK; the records declare UTF-8.
#include "records/GbkText.h"

#include <gtest/gtest.h>

TEST(GbkText, ChineseNameBecomesUtf8) {
    // The literal is compiled as GBK, as the station's texts are.
    EXPECT_EQ(kv90rec::GbkToUtf8("张三 Li"), "\xE5\xBC\xA0\xE4\xB8\x89 Li");
    EXPECT_EQ(kv90rec::GbkToUtf8(""), "");
    EXPECT_EQ(kv90rec::WideToUtf8(L"\x5F20"), "\xE5\xBC\xA0");
}
