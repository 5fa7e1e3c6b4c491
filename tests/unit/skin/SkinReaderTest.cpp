#include "skin/archive/SkinReader.h"

#include "SkinTestBuilders.h"
#include "SkinTestFiles.h"
#include "framework/Exception.h"
#include "skin/archive/SkinNames.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kTrans = 0xFF00FF;
constexpr std::uint32_t kForm = 0xF0E0D0;

// A small skin: a track bar and a button with transparent corners, colours, metrics and flags.
Bytes SmallSkin() {
    const auto corners = [](int x, int y) { return (x == 0 && y == 0) ? kTrans : 0x808080u; };
    return ResourceBuilder()
        .Bitmap("SKIN2_TRACKBAR", Bmp24(6, 3, corners))
        .Bitmap("SKIN2_BUTTON", Bmp24(6, 2, corners))
        .Int("SKIN2_TRANSCOLOR", kTrans)
        .Int("SKIN2_FORMCOLOR", kForm)
        .Int("SKIN2_TITLEBARBUTTONPOSX", 6)
        .Bool("SKIN2_TITLEBARNEEDREGION", 1)
        .Raw("SKIN2_BUTTONTRANS", 2, Bytes{0x03})
        .Text("SKIN2_NOTE", "n")
        .Build();
}

class SkinReaderTest : public ::testing::Test {
protected:
    std::string Archive(const Bytes& bytes, const std::string& name = "skin.ssk") { return folder_.Write(name, bytes); }
    // Only the archives the test wrote are left: every temporary file is gone.
    void ExpectOnlyArchivesLeft(std::size_t archives = 1) { EXPECT_EQ(archives, folder_.Files().size()); }

    PrivateTempFolder folder_;
    TSkinReader reader_;
};

std::string LoadError(TSkinReader& reader, const std::string& path, const std::string& password) {
    try {
        reader.LoadSkin(path, password);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST_F(SkinReaderTest, WithoutASkinEveryLookupAnswersNothing) {
    EXPECT_FALSE(reader_.Ready());
    EXPECT_EQ(nullptr, reader_.Reader());
    EXPECT_EQ(nullptr, reader_.GetSkinBitmap(SKIN_BMP_BUTTON));
    EXPECT_EQ(-1, reader_.GetSkinColor(SKIN_COLOR_FORMCOLOR));
    EXPECT_EQ(-1, reader_.GetSkinInt(SKIN_INT_TITLEBARBUTTONPOSX));
    EXPECT_EQ(0, reader_.GetSkinBool(SKIN_BOOL_TITLEBARNEEDREGION));
}

TEST_F(SkinReaderTest, LoadsASkinByIndex) {
    int loaded = 0;
    reader_.OnSkinLoaded = [&] { ++loaded; };
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    EXPECT_TRUE(reader_.Ready());
    EXPECT_EQ(1, loaded);
    ASSERT_NE(nullptr, reader_.GetSkinBitmap(SKIN_BMP_BUTTON));
    EXPECT_EQ(6, reader_.GetSkinBitmap(SKIN_BMP_BUTTON)->Width());
    EXPECT_EQ(static_cast<int>(kForm), reader_.GetSkinColor(SKIN_COLOR_FORMCOLOR));
    EXPECT_EQ(static_cast<int>(kForm), reader_.GetSkinColor(128 + SKIN_COLOR_FORMCOLOR));
    EXPECT_EQ(6, reader_.GetSkinInt(SKIN_INT_TITLEBARBUTTONPOSX));
    EXPECT_EQ(1, reader_.GetSkinBool(SKIN_BOOL_TITLEBARNEEDREGION));
    EXPECT_EQ(3, reader_.GetSkinBool(SKIN_BOOL_BUTTONTRANS));
    EXPECT_EQ("n", reader_.Reader()->GetText("skin2_note"));
    ExpectOnlyArchivesLeft();
}

TEST_F(SkinReaderTest, MissingEntriesReadAsNothing) {
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    EXPECT_EQ(nullptr, reader_.GetSkinBitmap(SKIN_BMP_TITLEBAR4));
    EXPECT_EQ(-1, reader_.GetSkinColor(SKIN_COLOR_MENUITEMCOLOR));
    EXPECT_EQ(-1, reader_.GetSkinInt(SKIN_INT_BOTTOMREGIONMAXY));
    EXPECT_EQ(0, reader_.GetSkinBool(SKIN_BOOL_TITLEFIVESECT));
    EXPECT_EQ(nullptr, reader_.GetSkinBitmap(60));  // masked past the table's end
}

TEST_F(SkinReaderTest, EveryBitmapIsTransparentInTheTransparencyColour) {
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    for (int index : {SKIN_BMP_BUTTON, SKIN_BMP_TRACKBAR}) {
        const SkinBitmap* b = reader_.GetSkinBitmap(index);
        ASSERT_NE(nullptr, b);
        EXPECT_TRUE(b->Transparent());
        EXPECT_EQ(kTrans, b->TransparentColor());
    }
    const_cast<Tsk2SkinFileReader*>(reader_.Reader())->SetTransColor(0x00FF00);
    EXPECT_EQ(0x00FF00u, reader_.GetSkinBitmap(SKIN_BMP_BUTTON)->TransparentColor());
}

TEST_F(SkinReaderTest, TheTrackBarLosesItsTransparentPixelsToTheFormColour) {
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    const SkinBitmap* track = reader_.GetSkinBitmap(SKIN_BMP_TRACKBAR);
    ASSERT_NE(nullptr, track);
    EXPECT_FALSE(track->Contains(kTrans));
    EXPECT_EQ(kForm, track->Pixel(0, 0));
    EXPECT_EQ(24, track->BitsPerPixel());
    // Other bitmaps keep theirs: they are drawn transparent instead.
    EXPECT_EQ(kTrans, reader_.GetSkinBitmap(SKIN_BMP_BUTTON)->Pixel(0, 0));
}

TEST_F(SkinReaderTest, AMissingFileLeavesTheReaderWithoutASkin) {
    int loaded = 0;
    reader_.OnSkinLoaded = [&] { ++loaded; };
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    reader_.LoadSkin(folder_.Path() + "nothing-here.ssk", "");
    EXPECT_FALSE(reader_.Ready());
    EXPECT_EQ(nullptr, reader_.Reader());
    EXPECT_EQ(-1, reader_.GetSkinColor(SKIN_COLOR_FORMCOLOR));
    EXPECT_EQ(2, loaded);
    reader_.LoadSkin(folder_.Path(), "");  // a folder is no skin file either
    EXPECT_FALSE(reader_.Ready());
}

TEST_F(SkinReaderTest, AFailedLoadDropsTheSkinAndSkipsTheNotification) {
    int loaded = 0;
    reader_.OnSkinLoaded = [&] { ++loaded; };
    reader_.LoadSkin(Archive(SkinArchive(SmallSkin())), "");
    Bytes pk = SkinArchive(SmallSkin());
    pk[0] = 'P';
    EXPECT_EQ("Failed to read skin file!", LoadError(reader_, Archive(pk, "pk.zip"), ""));
    EXPECT_FALSE(reader_.Ready());
    EXPECT_EQ(nullptr, reader_.Reader());
    EXPECT_EQ(1, loaded);
    ExpectOnlyArchivesLeft(2);
}

TEST_F(SkinReaderTest, ReportsAWrongPassword) {
    const std::string path = Archive(SkinArchive(SmallSkin(), "right"));
    EXPECT_EQ("Wrong password!", LoadError(reader_, path, "wrong"));
    EXPECT_EQ("Wrong password!", LoadError(reader_, path, ""));
    EXPECT_FALSE(reader_.Ready());
    EXPECT_EQ("no error", LoadError(reader_, path, "right"));
    EXPECT_TRUE(reader_.Ready());
    ExpectOnlyArchivesLeft();
}

TEST_F(SkinReaderTest, ASizeMismatchReadsAsAWrongPassword) {
    ArchiveLayout layout;
    ArchiveEntry e;
    e.data = SmallSkin();
    e.recordedSize = 100;
    layout.entries.push_back(e);
    EXPECT_EQ("Wrong password!", LoadError(reader_, Archive(BuildArchive(layout)), ""));
}

TEST_F(SkinReaderTest, AMalformedResourceFileFailsToRead) {
    Bytes loop = SmallSkin();
    loop[24 + 73] = 24;  // the first header points at itself
    loop[24 + 74] = loop[24 + 75] = loop[24 + 76] = 0;
    EXPECT_EQ("Failed to read skin file!", LoadError(reader_, Archive(SkinArchive(loop)), ""));
    EXPECT_FALSE(reader_.Ready());
    ExpectOnlyArchivesLeft();
}

TEST_F(SkinReaderTest, AnEmptyChainGivesAReadySkinWithNothingInIt) {
    reader_.LoadSkin(Archive(SkinArchive(ResourceBuilder().Build())), "");
    EXPECT_TRUE(reader_.Ready());
    for (int i = 0; i < 34; ++i) EXPECT_EQ(nullptr, reader_.GetSkinBitmap(i));
    for (int i = 0; i < 32; ++i) EXPECT_EQ(-1, reader_.GetSkinColor(i));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(-1, reader_.GetSkinInt(i));
        EXPECT_EQ(0, reader_.GetSkinBool(i));
    }
}

TEST_F(SkinReaderTest, TheFileReaderRaisesOnConstruction) {
    try {
        Tsk2SkinFileReader bad(folder_.Path() + "missing.ssk", "");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ("Failed to read skin file!", e.Message());
    }
    Tsk2SkinFileReader good(Archive(SkinArchive(SmallSkin())), "");
    EXPECT_EQ(static_cast<int>(kForm), good.GetInt("SKIN2_FORMCOLOR"));
    EXPECT_EQ(-1, good.GetInt("SKIN2_MISSING"));
    EXPECT_EQ(3, good.GetBool("skin2_buttontrans"));
    EXPECT_EQ(0, good.GetBool("SKIN2_MISSING"));
    EXPECT_NE(nullptr, good.GetBitmap("Skin2_Button"));
    ExpectOnlyArchivesLeft();
}
