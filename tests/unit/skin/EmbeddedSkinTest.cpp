// The program's own skin, embedded in this test program exactly as in the
// capture station, and the temporary copy it is loaded through.
#include "skin/archive/EmbeddedSkin.h"

#include "SkinTestFiles.h"
#include "framework/Exception.h"
#include "skin/draw/SkinBitmapWin.h"
#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinTempFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

namespace {

class EmbeddedSkinTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadEmbeddedSkin(reader_)); }

    PrivateTempFolder folder_;
    TSkinReader reader_;
};

bool IsBracedGuid(const std::string& text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

}  // namespace

TEST_F(EmbeddedSkinTest, LoadsAndLeavesNoTemporaryFile) {
    EXPECT_TRUE(reader_.Ready());
    EXPECT_TRUE(folder_.Files().empty());
}

TEST_F(EmbeddedSkinTest, HasEveryEntryTheWindowsUse) {
    for (int i = 0; i < static_cast<int>(skinnames::kBitmapCount); ++i) {
        const bool fiveSectionOnly = i == SKIN_BMP_TITLEBAR4 || i == SKIN_BMP_TITLEBAR5;
        EXPECT_EQ(!fiveSectionOnly, reader_.GetSkinBitmap(i) != nullptr) << skinnames::BitmapName(i);
    }
    for (int i = 0; i < static_cast<int>(skinnames::kColorCount); ++i)
        EXPECT_NE(-1, reader_.GetSkinColor(i)) << skinnames::ColorName(i);
    for (int i = 0; i < static_cast<int>(skinnames::kIntCount); ++i)
        EXPECT_NE(-1, reader_.GetSkinInt(i)) << skinnames::IntName(i);
    EXPECT_EQ(0, reader_.GetSkinBool(SKIN_BOOL_TITLEFIVESECT));
    EXPECT_EQ(1, reader_.GetSkinBool(SKIN_BOOL_BOTTOMBORDERTHREESECT));
    EXPECT_EQ(1, reader_.GetSkinBool(SKIN_BOOL_TITLEBARNEEDREGION));
    EXPECT_EQ(1, reader_.GetSkinBool(SKIN_BOOL_BOTTOMBORDERNEEDREGION));
}

TEST_F(EmbeddedSkinTest, PiecesHaveTheShapesTheFrameNeeds) {
    const SkinBitmap* buttons = reader_.GetSkinBitmap(SKIN_BMP_TITLEBUTTONS);
    EXPECT_EQ(0, buttons->Width() % 18);
    EXPECT_EQ(0, reader_.GetSkinBitmap(SKIN_BMP_BUTTON)->Width() % 3);
    EXPECT_EQ(0, reader_.GetSkinBitmap(SKIN_BMP_CHECKBOX)->Width() % 6);
    EXPECT_EQ(0, reader_.GetSkinBitmap(SKIN_BMP_RADIOBUTTON)->Width() % 4);
    const SkinBitmap* left = reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR1);
    const SkinBitmap* right = reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR3);
    EXPECT_EQ(left->Height(), reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR2)->Height());
    EXPECT_EQ(left->Height(), right->Height());
    EXPECT_EQ(reader_.GetSkinBitmap(SKIN_BMP_FORMBOTTOMBORDER1)->Height(),
              reader_.GetSkinBitmap(SKIN_BMP_FORMBOTTOMBORDER3)->Height());
    EXPECT_LT(reader_.GetSkinInt(SKIN_INT_TITLEBARBUTTONPOSY) + buttons->Height(), left->Height());
}

TEST_F(EmbeddedSkinTest, TheTitleCornersAreRoundedInsideTheRegionBands) {
    const SkinColor trans = static_cast<SkinColor>(reader_.GetSkinColor(SKIN_COLOR_TRANSCOLOR));
    const SkinBitmap* left = reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR1);
    const SkinBitmap* right = reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR3);
    EXPECT_EQ(trans, left->Pixel(0, 0));
    EXPECT_EQ(trans, right->Pixel(right->Width() - 1, 0));
    const int first = reader_.GetSkinInt(SKIN_INT_TITLEBARREGIONMINY);
    const int last = reader_.GetSkinInt(SKIN_INT_TITLEBARREGIONMAXY);
    ASSERT_LE(0, first);
    ASSERT_LT(first, last);
    for (int y = 0; y < left->Height(); ++y) {
        bool any = false;
        for (int x = 0; x < left->Width(); ++x) any = any || left->Pixel(x, y) == trans;
        EXPECT_EQ(y >= first && y <= last, any) << "row " << y;
    }
    const SkinBitmap* bottom = reader_.GetSkinBitmap(SKIN_BMP_FORMBOTTOMBORDER1);
    EXPECT_EQ(trans, bottom->Pixel(0, bottom->Height() - 1));
    EXPECT_LE(reader_.GetSkinInt(SKIN_INT_BOTTOMREGIONMAXY), bottom->Height() - 1);
}

TEST_F(EmbeddedSkinTest, TheTrackBarHoldsNoTransparentPixel) {
    const SkinBitmap* track = reader_.GetSkinBitmap(SKIN_BMP_TRACKBAR);
    ASSERT_NE(nullptr, track);
    EXPECT_FALSE(track->Contains(static_cast<SkinColor>(reader_.GetSkinColor(SKIN_COLOR_TRANSCOLOR))));
}

TEST_F(EmbeddedSkinTest, BitmapsConvertToGdiBitmaps) {
    const SkinBitmap* button = reader_.GetSkinBitmap(SKIN_BMP_BUTTON);
    GdiObject<HBITMAP> bitmap = CreateSkinHBitmap(*button);
    ASSERT_TRUE(bitmap);
    DIBSECTION dib{};
    ASSERT_EQ(static_cast<int>(sizeof dib), GetObject(bitmap.Get(), sizeof dib, &dib));
    EXPECT_EQ(button->Width(), dib.dsBm.bmWidth);
    EXPECT_EQ(button->Height(), dib.dsBm.bmHeight);
    EXPECT_EQ(24, dib.dsBm.bmBitsPixel);
    const auto* rows = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    const int x = button->Width() / 2, y = button->Height() / 2;
    const std::uint8_t* p = rows + static_cast<std::size_t>(dib.dsBm.bmWidthBytes) * y + 3 * x;
    EXPECT_EQ(button->Pixel(x, y), static_cast<SkinColor>(p[2] | (p[1] << 8) | (p[0] << 16)));
    EXPECT_FALSE(CreateSkinHBitmap(SkinBitmap()));
}

TEST(EmbeddedSkinArchive, IsASkinArchiveOfTheProgram) {
    const EmbeddedSkinArchive archive = FindEmbeddedSkinArchive();
    ASSERT_NE(nullptr, archive.data);
    ASSERT_GT(archive.size, 22u);
    EXPECT_EQ(0, std::memcmp(archive.data, "SK\x03\x04", 4));
    // What an engine does with it: a temporary copy, loaded and then removed.
    PrivateTempFolder folder;
    TSkinReader reader;
    {
        TempSkinCopy copy(archive.data, archive.size);
        reader.LoadSkin(copy.Path(), "");
    }
    EXPECT_TRUE(reader.Ready());
    EXPECT_TRUE(folder.Files().empty());
}

TEST(TempSkinCopy, SavesUnderAFreshGuidNameAndRemovesItself) {
    PrivateTempFolder folder;
    const Bytes data = {'S', 'K', 1, 2, 3};
    std::string path;
    {
        TempSkinCopy copy(data.data(), data.size());
        ASSERT_TRUE(copy.Saved());
        path = copy.Path();
        ASSERT_EQ(0u, path.rfind(folder.Path(), 0));
        const std::string name = path.substr(folder.Path().size());
        EXPECT_TRUE(IsBracedGuid(name.substr(0, 38))) << name;
        EXPECT_EQ(".ssk", name.substr(38));
        EXPECT_TRUE(SkinFileExists(path));
        TempSkinCopy other(data.data(), data.size());
        EXPECT_NE(path, other.Path());
    }
    EXPECT_FALSE(SkinFileExists(path));
    EXPECT_TRUE(folder.Files().empty());
}

TEST(TempSkinCopy, TemporaryNamesNeverTakeAnExistingOne) {
    PrivateTempFolder folder;
    const std::string path = MakeTempFilePath("");
    EXPECT_EQ(folder.Path().size() + 38, path.size());
    EXPECT_FALSE(SkinFileExists(path));
    EXPECT_NE(path, MakeTempFilePath(""));
}

TEST(TempSkinCopy, LoadingFromMemoryPropagatesErrorsAndCleansUp) {
    PrivateTempFolder folder;
    TSkinReader reader;
    const Bytes junk = {'S', 'K', 0, 0};
    try {
        LoadSkinFromMemory(reader, junk.data(), junk.size());
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ("Failed to read skin file!", e.Message());
    }
    EXPECT_FALSE(reader.Ready());
    EXPECT_TRUE(folder.Files().empty());
}
