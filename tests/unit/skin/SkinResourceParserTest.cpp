#include "skin/archive/SkinResourceParser.h"

#include "SkinTestBuilders.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool Parse(const Bytes& file, SkinTables& tables) { return ParseSkinResource(file.data(), file.size(), tables); }

bool Parses(const Bytes& file) {
    SkinTables tables;
    return Parse(file, tables);
}

void Put32At(Bytes& file, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

constexpr std::size_t kFirst = 24;  // the first entry header
const auto kRed = [](int, int) { return 0x0000FFu; };

}  // namespace

TEST(SkinResourceParser, ReadsEveryKindOfEntry) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder()
                          .Bitmap("SKIN2_BUTTON", Bmp24(3, 2, kRed))
                          .Int("SKIN2_FORMCOLOR", 0xF0F0F0)
                          .Int("NEGATIVE", -5)
                          .Bool("SKIN2_BUTTONTRANS", 1)
                          .Text("NOTE", "hello")
                          .Build(),
                      tables));
    ASSERT_NE(nullptr, tables.Bitmap("SKIN2_BUTTON"));
    EXPECT_EQ(3, tables.Bitmap("SKIN2_BUTTON")->Width());
    EXPECT_EQ(0x0000FFu, tables.Bitmap("SKIN2_BUTTON")->Pixel(2, 1));
    EXPECT_EQ(0xF0F0F0, tables.Int("SKIN2_FORMCOLOR"));
    EXPECT_EQ(-5, tables.Int("NEGATIVE"));
    EXPECT_EQ(1, tables.Bool("SKIN2_BUTTONTRANS"));
    EXPECT_EQ("hello", tables.Text("NOTE"));
}

TEST(SkinResourceParser, LooksNamesUpInAnyLetterCase) {
    SkinTables tables;
    ASSERT_TRUE(
        Parse(ResourceBuilder().Int("Skin2_FormColor", 7).Bitmap("skin2_button", Bmp24(1, 1, kRed)).Build(), tables));
    EXPECT_EQ(7, tables.Int("SKIN2_FORMCOLOR"));
    EXPECT_EQ(7, tables.Int("skin2_formcolor"));
    EXPECT_NE(nullptr, tables.Bitmap("SKIN2_BUTTON"));
}

TEST(SkinResourceParser, TheFirstEntryOfANameWins) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder()
                          .Int("A", 1)
                          .Int("a", 2)
                          .Bool("F", 0)
                          .Bool("F", 1)
                          .Text("T", "first")
                          .Text("t", "second")
                          .Bitmap("B", Bmp24(1, 1, kRed))
                          .Bitmap("b", Bmp24(5, 5, kRed))
                          .Build(),
                      tables));
    EXPECT_EQ(1, tables.Int("A"));
    EXPECT_EQ(0, tables.Bool("F"));
    EXPECT_EQ("first", tables.Text("T"));
    EXPECT_EQ(1, tables.Bitmap("B")->Width());
    EXPECT_EQ(1u, tables.IntCount());
}

TEST(SkinResourceParser, KindsAreKeptApart) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder().Int("X", 3).Bool("X", 1).Build(), tables));
    EXPECT_EQ(3, tables.Int("X"));
    EXPECT_EQ(1, tables.Bool("X"));
}

TEST(SkinResourceParser, SkipsUnknownKinds) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder().Raw("X", 9, Bytes{1, 2, 3, 4}).Int("Y", 4).Build(), tables));
    EXPECT_EQ(-1, tables.Int("X"));
    EXPECT_EQ(4, tables.Int("Y"));
}

TEST(SkinResourceParser, ATerminatorFirstGivesEmptyTables) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder().Build(), tables));
    EXPECT_EQ(0u, tables.BitmapCount() + tables.IntCount() + tables.BoolCount() + tables.TextCount());
    EXPECT_EQ(nullptr, tables.Bitmap("SKIN2_BUTTON"));
    EXPECT_EQ(-1, tables.Int("SKIN2_FORMCOLOR"));
    EXPECT_EQ(0, tables.Bool("SKIN2_BUTTONTRANS"));
}

TEST(SkinResourceParser, ValuesNeverExceedTheirFieldWidth) {
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder()
                          .Raw("SHORTINT", 1, Bytes{1, 2})
                          .Raw("LONGINT", 1, Bytes{5, 0, 0, 0, 0xFF, 0xFF})
                          .Raw("EMPTYFLAG", 2, Bytes{})
                          .Raw("LONGFLAG", 2, Bytes{7, 8, 9})
                          .Build(),
                      tables));
    EXPECT_EQ(-1, tables.Int("SHORTINT"));
    EXPECT_EQ(5, tables.Int("LONGINT"));
    EXPECT_EQ(0, tables.Bool("EMPTYFLAG"));
    EXPECT_EQ(7, tables.Bool("LONGFLAG"));
}

TEST(SkinResourceParser, ReadsNamesOfAFull64Characters) {
    const std::string name(64, 'N');
    SkinTables tables;
    ASSERT_TRUE(Parse(ResourceBuilder().Int(name, 9).Build(), tables));
    EXPECT_EQ(9, tables.Int(name));
}

TEST(SkinResourceParser, FollowsOffsetsRatherThanOrder) {
    // Second entry's data lives at the end of the file, away from its header.
    Bytes file = ResourceBuilder().Int("A", 1).Int("B", 2).Build();
    const std::size_t second = kFirst + 77 + 4;
    const std::uint32_t moved = static_cast<std::uint32_t>(file.size());
    file.insert(file.end(), {0x2A, 0, 0, 0});
    Put32At(file, second + 65, moved);
    SkinTables tables;
    ASSERT_TRUE(Parse(file, tables));
    EXPECT_EQ(42, tables.Int("B"));
}

TEST(SkinResourceParser, RejectsBadHeaders) {
    const Bytes good = ResourceBuilder().Int("A", 1).Build();
    EXPECT_FALSE(Parses(Bytes(good.begin(), good.begin() + 15)));
    EXPECT_FALSE(Parses(ResourceBuilder().HeaderSize(16).Build()));
    EXPECT_FALSE(Parses(ResourceBuilder().HeaderSize(1u << 30).Build()));
    Bytes beyond = good;
    Put32At(beyond, 20, 100000);
    EXPECT_FALSE(Parses(beyond));
    EXPECT_TRUE(Parses(ResourceBuilder().HeaderSize(40).Build()));
}

TEST(SkinResourceParser, RejectsAChainThatLoops) {
    Bytes file = ResourceBuilder().Int("A", 1).Int("B", 2).Build();
    Put32At(file, kFirst + 77 + 4 + 73, kFirst);
    EXPECT_FALSE(Parses(file));
    Bytes self = ResourceBuilder().Int("A", 1).Build();
    Put32At(self, kFirst + 73, kFirst);
    EXPECT_FALSE(Parses(self));
}

TEST(SkinResourceParser, RejectsDataOutsideTheFile) {
    for (std::size_t field : {65u, 69u}) {
        Bytes file = ResourceBuilder().Int("A", 1).Build();
        Put32At(file, kFirst + field, 0xFFFFFF00u);
        EXPECT_FALSE(Parses(file)) << field;
    }
    // An unknown kind's data is never read, so its range does not matter.
    Bytes unknown = ResourceBuilder().Raw("X", 7, Bytes{}).Build();
    Put32At(unknown, kFirst + 65, 0xFFFFFF00u);
    EXPECT_TRUE(Parses(unknown));
}

TEST(SkinResourceParser, RejectsATruncatedChain) {
    Bytes file = ResourceBuilder().Int("A", 1).Build();
    file.resize(file.size() - 1);
    EXPECT_FALSE(Parses(file));
}

TEST(SkinResourceParser, RejectsABitmapThatDoesNotDecode) {
    EXPECT_FALSE(Parses(ResourceBuilder().Bitmap("B", Bytes{'B', 'M', 0, 0}).Build()));
}

TEST(SkinResourceParser, ToleratesNullAndEmptyInput) {
    SkinTables tables;
    EXPECT_FALSE(ParseSkinResource(nullptr, 0, tables));
    EXPECT_FALSE(Parses(Bytes{}));
}
