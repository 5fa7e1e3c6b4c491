// Skin archives written by Info-ZIP's zip -X (with and without -e), their first
// two bytes turned into "SK": the reader must take them like its own.
#include "skin/archive/SkinArchive.h"

#include "SkinTestFiles.h"
#include "framework/Exception.h"
#include "skin/archive/SkinReader.h"
#include "skin/archive/SkinResourceParser.h"

#include <gtest/gtest.h>

namespace {

int Extract(const char* fixture, const std::string& password, Bytes& out) {
    const Bytes archive = FixtureBytes(fixture);
    return ExtractArchiveEntry(archive.data(), archive.size(), kSkinEntryName, password, out);
}

// The fixtures hold the program's skin resource file.
void ExpectTheProgramsSkin(const Bytes& resource) {
    SkinTables tables;
    ASSERT_TRUE(ParseSkinResource(resource.data(), resource.size(), tables));
    EXPECT_EQ(32u, tables.BitmapCount());
    EXPECT_EQ(0xFF00FF, tables.Int("SKIN2_TRANSCOLOR"));
    EXPECT_EQ(1, tables.Bool("SKIN2_TITLEBARNEEDREGION"));
}

}  // namespace

TEST(InfoZipInterop, ReadsAPlainArchive) {
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract("INFOZIP_PLAIN", "", out));
    ExpectTheProgramsSkin(out);
}

TEST(InfoZipInterop, ReadsAnEncryptedArchiveWithItsPassword) {
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract("INFOZIP_ENCRYPTED", "secret", out));
    ExpectTheProgramsSkin(out);
}

TEST(InfoZipInterop, AWrongOrEmptyPasswordIsReported) {
    Bytes out;
    EXPECT_EQ(kSkinExtractWrongPassword, Extract("INFOZIP_ENCRYPTED", "Secret", out));
    EXPECT_EQ(kSkinExtractWrongPassword, Extract("INFOZIP_ENCRYPTED", "", out));
}

TEST(InfoZipInterop, FindsALowerCaseEntryName) {
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract("INFOZIP_LOWER", "", out));
    ExpectTheProgramsSkin(out);
}

TEST(InfoZipInterop, RejectsAnArchiveWithACommentAndAnUnchangedOne) {
    Bytes out;
    EXPECT_EQ(kSkinExtractFailed, Extract("INFOZIP_COMMENTED", "", out));
    EXPECT_EQ(kSkinExtractFailed, Extract("INFOZIP_PLAIN_PK", "", out));
}

TEST(InfoZipInterop, TheSkinReaderGivesTheMessages) {
    PrivateTempFolder folder;
    TSkinReader reader;
    const std::string encrypted = folder.Write("encrypted.ssk", FixtureBytes("INFOZIP_ENCRYPTED"));
    try {
        reader.LoadSkin(encrypted, "wrong");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ("Wrong password!", e.Message());
    }
    reader.LoadSkin(encrypted, "secret");
    EXPECT_TRUE(reader.Ready());
    try {
        reader.LoadSkin(folder.Write("plain.zip", FixtureBytes("INFOZIP_PLAIN_PK")), "");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ("Failed to read skin file!", e.Message());
    }
    EXPECT_EQ(2u, folder.Files().size());
}
