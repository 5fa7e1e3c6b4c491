// The small parts under the reader: cipher, inflater, bitmap colours, names of
// temporary files.
#include "SkinTestBuilders.h"
#include "skin/archive/PkwareCipher.h"
#include "skin/archive/RawInflate.h"
#include "skin/archive/SkinBitmap.h"
#include "skin/archive/SkinFileIo.h"

#include <gtest/gtest.h>

#include <set>

TEST(PkwareCipher, DecryptUndoesEncrypt) {
    Bytes data(3000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    Bytes work = data;
    PkwareCipher("key").Encrypt(work.data(), work.size());
    EXPECT_NE(data, work);
    PkwareCipher decrypt("key");
    // Block by block gives the same as all at once: the key state carries over.
    decrypt.Decrypt(work.data(), 1024);
    decrypt.Decrypt(work.data() + 1024, work.size() - 1024);
    EXPECT_EQ(data, work);
}

TEST(RawInflate, BoundsTheOutput) {
    const Bytes data(100000, 'a');
    const Bytes packed = RawDeflate(data);
    EXPECT_EQ(data, RawInflate(packed.data(), packed.size(), 200000));
    EXPECT_EQ(1001u, RawInflate(packed.data(), packed.size(), 1001).size());
    EXPECT_TRUE(RawInflate(packed.data(), packed.size(), 0).empty());
}

TEST(RawInflate, StopsAtMalformedOrMissingInput) {
    const Bytes packed = RawDeflate(Bytes(5000, 'b'), 0);
    const Bytes cut(packed.begin(), packed.begin() + 2000);
    const Bytes partial = RawInflate(cut.data(), cut.size(), 10000);
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), 5000u);
    const Bytes reserved = {0x07, 0, 0, 0};  // a final block of the reserved type
    EXPECT_TRUE(RawInflate(reserved.data(), reserved.size(), 100).empty());
    EXPECT_TRUE(RawInflate(nullptr, 0, 100).empty());
}

TEST(SkinBitmap, ReplacesAndFindsColours) {
    SkinBitmap b(2, 2, {1, 2, 1, 0xFF000003u}, 8);
    EXPECT_EQ(3u, b.Pixel(1, 1));  // the top byte is no part of a colour
    EXPECT_EQ(2u, b.ReplaceColor(1, 9));
    EXPECT_TRUE(b.Contains(9));
    EXPECT_FALSE(b.Contains(1));
    EXPECT_EQ(0u, b.ReplaceColor(0xFFFFFFFFu, 5));  // a missing colour (-1) matches nothing
    b.ConvertTo24Bit();
    EXPECT_EQ(24, b.BitsPerPixel());
    EXPECT_TRUE(SkinBitmap(2, 2, {1, 2, 3}, 24).Empty());  // pixels missing
}

TEST(UniquePath, InsertsANumberBeforeTheExtensionWhileTaken) {
    std::set<std::string> taken = {"T/{G}.ssk", "T/{G}1.ssk"};
    const auto exists = [&](const std::string& p) { return taken.count(p) != 0; };
    EXPECT_EQ("T/{G}2.ssk", UniquePath("T/", "{G}", ".ssk", exists));
    EXPECT_EQ("T/{H}.ssk", UniquePath("T/", "{H}", ".ssk", exists));
    taken.insert("T/{G}");
    EXPECT_EQ("T/{G}1", UniquePath("T/", "{G}", "", exists));
}
