#include "skin/archive/SkinArchive.h"

#include "SkinTestBuilders.h"
#include "SkinTestFiles.h"
#include "skin/archive/SkinFileIo.h"

#include <gtest/gtest.h>

namespace {

Bytes SampleResource() {
    return ResourceBuilder().Int("SKIN2_TRANSCOLOR", 0xFF00FF).Text("NOTE", std::string(3000, 'x')).Build();
}

int Extract(const Bytes& archive, Bytes& out, const std::string& password = "") {
    return ExtractArchiveEntry(archive.data(), archive.size(), kSkinEntryName, password, out);
}

int Extract(const Bytes& archive, const std::string& password = "") {
    Bytes out;
    return Extract(archive, out, password);
}

ArchiveLayout OneEntry(const ArchiveEntry& entry) {
    ArchiveLayout layout;
    layout.entries.push_back(entry);
    return layout;
}

ArchiveEntry SkinEntry() {
    ArchiveEntry e;
    e.data = SampleResource();
    return e;
}

}  // namespace

TEST(SkinArchive, ExtractsTheDeflatedEntry) {
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract(SkinArchive(SampleResource()), out));
    EXPECT_EQ(SampleResource(), out);
}

TEST(SkinArchive, MatchesTheEntryNameInAnyLetterCase) {
    for (const char* name : {"skindata.sk2", "SkinData.Sk2", "SKINDATA.SK2"}) {
        ArchiveEntry e = SkinEntry();
        e.name = name;
        EXPECT_EQ(kSkinExtractOk, Extract(BuildArchive(OneEntry(e)))) << name;
    }
}

TEST(SkinArchive, FindsTheEntryBehindOtherEntries) {
    ArchiveLayout layout;
    ArchiveEntry other;
    other.name = "README.TXT";
    other.data = Bytes(100, 'r');
    layout.entries = {other, SkinEntry()};
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract(BuildArchive(layout), out));
    EXPECT_EQ(SampleResource(), out);
}

TEST(SkinArchive, InflatesStoredDeflateBlocks) {
    ArchiveEntry e = SkinEntry();
    e.compressed = RawDeflate(e.data, 0);
    EXPECT_EQ(kSkinExtractOk, Extract(BuildArchive(OneEntry(e))));
}

TEST(SkinArchive, RejectsAnOrdinaryZipArchive) {
    ArchiveLayout layout = OneEntry(SkinEntry());
    layout.signature = "PK";
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(layout)));
}

TEST(SkinArchive, RejectsAnArchiveWithAComment) {
    ArchiveLayout layout = OneEntry(SkinEntry());
    layout.comment = "made by hand";
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(layout)));
}

TEST(SkinArchive, RejectsAnArchiveWithoutEndRecord) {
    Bytes archive = SkinArchive(SampleResource());
    archive.resize(archive.size() - 22);
    EXPECT_EQ(kSkinExtractFailed, Extract(archive));
    EXPECT_EQ(kSkinExtractFailed, Extract(Bytes{}));
    EXPECT_EQ(kSkinExtractFailed, Extract(Bytes{'S'}));
    EXPECT_EQ(kSkinExtractFailed, Extract(Bytes{'S', 'K'}));
    EXPECT_EQ(kSkinExtractFailed, Extract(Bytes(21, 'S')));
}

TEST(SkinArchive, RejectsAnArchiveWithoutTheEntry) {
    ArchiveEntry e = SkinEntry();
    e.name = "SKINDATA.SK3";
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
}

TEST(SkinArchive, DoesNotSkipExtraFieldsOfCentralRecords) {
    // The extra field of the first record is read as the start of the next one.
    ArchiveLayout layout;
    ArchiveEntry other;
    other.name = "OTHER";
    other.data = Bytes(10, 'o');
    other.centralExtra = Bytes{0x55, 0x54, 0x05, 0x00, 0x03, 1, 2, 3, 4};
    layout.entries = {other, SkinEntry()};
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(layout)));
}

TEST(SkinArchive, RejectsOffsetsAndSizesOutsideTheFile) {
    ArchiveLayout layout = OneEntry(SkinEntry());
    layout.centralOffset = 0x7FFFFFF0u;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(layout)));
    layout.centralOffset = 7;  // inside the local data: no central record there
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(layout)));

    ArchiveEntry e = SkinEntry();
    e.localOffset = 0xFFFFFF00u;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
    e = SkinEntry();
    e.recordedCompressedSize = 0x7FFFFFFFu;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
}

TEST(SkinArchive, AnEmptyExtractionFails) {
    ArchiveEntry e;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
    e = SkinEntry();
    e.compressed = Bytes(16, 0xFF);  // no valid block at all
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
}

TEST(SkinArchive, ASizeOtherThanRecordedCountsAsWrongPassword) {
    for (std::uint32_t recorded : {10u, static_cast<std::uint32_t>(SampleResource().size() + 1)}) {
        ArchiveEntry e = SkinEntry();
        e.recordedSize = recorded;
        Bytes out;
        EXPECT_EQ(kSkinExtractWrongPassword, Extract(BuildArchive(OneEntry(e)), out)) << recorded;
        EXPECT_TRUE(out.empty());
    }
}

TEST(SkinArchive, RefusesARecordedSizeBeyondTheSkinLimit) {
    ArchiveEntry e = SkinEntry();
    e.recordedSize = 0xFFFFFFF0u;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e))));
}

TEST(SkinArchive, DecryptsWithTheCrcCheckByte) {
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract(SkinArchive(SampleResource(), "p@ss"), out, "p@ss"));
    EXPECT_EQ(SampleResource(), out);
}

TEST(SkinArchive, DecryptsWithTheTimeCheckByte) {
    ArchiveEntry e = SkinEntry();
    e.password = "p@ss";
    e.flags = 8;
    e.time = 0xA1B2;
    Bytes out;
    ASSERT_EQ(kSkinExtractOk, Extract(BuildArchive(OneEntry(e)), out, "p@ss"));
    EXPECT_EQ(SampleResource(), out);
}

TEST(SkinArchive, AnEncryptedEntryNeedsTheRightPassword) {
    const Bytes archive = SkinArchive(SampleResource(), "p@ss");
    EXPECT_EQ(kSkinExtractWrongPassword, Extract(archive, ""));
    // Almost any wrong password fails the check byte; try several so that one
    // that passes it by chance still fails on the size.
    for (const char* wrong : {"P@SS", "pass", "p@ss ", "x", "another password"}) {
        EXPECT_EQ(kSkinExtractWrongPassword, Extract(archive, wrong)) << wrong;
    }
}

TEST(SkinArchive, AnEncryptedEntryShorterThanItsHeaderFails) {
    ArchiveEntry e = SkinEntry();
    e.password = "p@ss";
    e.compressed = Bytes{};
    e.recordedCompressedSize = 5;
    EXPECT_EQ(kSkinExtractFailed, Extract(BuildArchive(OneEntry(e)), "p@ss"));
}

TEST(SkinArchive, AnUnencryptedEntryIgnoresThePassword) {
    EXPECT_EQ(kSkinExtractOk, Extract(SkinArchive(SampleResource()), "whatever"));
}

TEST(SkinArchiveFile, WritesTheEntryToTheTarget) {
    PrivateTempFolder folder;
    const std::string archive = folder.Write("skin.ssk", SkinArchive(SampleResource()));
    const std::string target = folder.Path() + "out.sk2";
    ASSERT_EQ(kSkinExtractOk, ExtractSkinEntry(archive, kSkinEntryName, target, ""));
    Bytes written;
    ASSERT_TRUE(ReadFileBytes(target, 1 << 20, written));
    EXPECT_EQ(SampleResource(), written);
}

TEST(SkinArchiveFile, DeletesTheTargetWhenNotExtracted) {
    PrivateTempFolder folder;
    const std::string target = folder.Write("out.sk2", Bytes{1, 2, 3});
    EXPECT_EQ(kSkinExtractFailed, ExtractSkinEntry(folder.Path() + "missing.ssk", kSkinEntryName, target, ""));
    EXPECT_EQ(std::vector<std::string>{}, folder.Files());

    const std::string archive = folder.Write("skin.ssk", SkinArchive(SampleResource(), "p@ss"));
    folder.Write("out.sk2", Bytes{1, 2, 3});
    EXPECT_EQ(kSkinExtractWrongPassword, ExtractSkinEntry(archive, kSkinEntryName, target, "wrong"));
    EXPECT_EQ(std::vector<std::string>{"skin.ssk"}, folder.Files());
}
