// Files replaced whole or not at all, against a write that stops short as
// one does on a full disk.
#include "TempFolder.h"

#include "framework/Exception.h"
#include "framework/StagedFile.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// How the stand-in write behaves once it has written `g_budget` bytes in all.
enum class Stop { DiskFull, Silently };
DWORD g_budget = 0;
Stop g_stop = Stop::DiskFull;
DWORD g_piece = 0xFFFFFFFF;  // the most one call writes

BOOL WINAPI StoppingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    const DWORD now = std::min({size, g_budget, g_piece});
    if (now == 0 && size > 0) {
        *written = 0;
        if (g_stop == Stop::Silently) return TRUE;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    g_budget -= now;
    return WriteFile(file, data, now, written, overlapped);
}

std::string WriteFailure(const std::string& path, const std::string& bytes) {
    try {
        TStagedFile staged(path);
        staged.Write(bytes, StoppingWrite);
        staged.Commit();
    } catch (const EFileError& e) {
        return e.Message();
    }
    return "no failure";
}

class StagedFileTest : public testing::Test {
protected:
    void SetUp() override {
        g_budget = 0;
        g_stop = Stop::DiskFull;
        g_piece = 0xFFFFFFFF;
        folder.Write("1.bmp", "the finger the host has");
    }
    std::string Path(const char* name) const { return folder.Path() + name; }

    TempFolder folder;
    const std::string bytes = std::string(410678, 'f');
};

}  // namespace

TEST_F(StagedFileTest, AFullDiskLeavesTheOldFileAndNoTemporaryFileAndSaysWhy) {
    g_budget = 151552;
    const std::string message = WriteFailure(Path("1.bmp"), bytes);
    EXPECT_EQ(message, "Cannot write file \"" + Path("1.bmp") + "\". " + SysErrorMessage(ERROR_DISK_FULL));
    EXPECT_EQ(folder.Read("1.bmp"), "the finger the host has");
    EXPECT_EQ(folder.Files(), std::set<std::string>{"1.bmp"});
}

TEST_F(StagedFileTest, AWriteThatStopsWithoutAReasonSaysHowMuchWasWritten) {
    g_budget = 151552;
    g_stop = Stop::Silently;
    EXPECT_EQ(WriteFailure(Path("1.bmp"), bytes),
              "Cannot write file \"" + Path("1.bmp") + "\". Only 151552 of 410678 bytes were written.");
    EXPECT_EQ(folder.Read("1.bmp"), "the finger the host has");
    EXPECT_EQ(folder.Files(), std::set<std::string>{"1.bmp"});
    // A new file that cannot be written whole is not there at all.
    g_budget = 10;
    EXPECT_NE(WriteFailure(Path("2.bmp"), bytes), "no failure");
    EXPECT_EQ(folder.Files(), std::set<std::string>{"1.bmp"});
}

TEST_F(StagedFileTest, ShortWritesThatGoOnGiveTheWholeFile) {
    g_budget = 0xFFFFFFFF;
    g_piece = 4096;
    EXPECT_EQ(WriteFailure(Path("1.bmp"), bytes), "no failure");
    EXPECT_EQ(folder.Read("1.bmp"), bytes);
    EXPECT_EQ(folder.Files(), std::set<std::string>{"1.bmp"});
}

TEST_F(StagedFileTest, NoFailureReadsAsSuccess) {
    EXPECT_EQ(SysErrorReason(ERROR_SUCCESS, "no reason"), "no reason");
    EXPECT_EQ(SysErrorReason(ERROR_DISK_FULL, "no reason"), SysErrorMessage(ERROR_DISK_FULL));
    try {
        WriteFileBytes(Path("NoSuchFolder\\1.bmp"), bytes);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EFileError& e) {
        const std::string start = "Cannot create file \"" + Path("NoSuchFolder\\1.bmp") + "\". ";
        EXPECT_EQ(e.Message().find(start), 0u) << e.Message();
        EXPECT_NE(e.Message().substr(start.size()), SysErrorMessage(ERROR_SUCCESS));
    }
}

TEST_F(StagedFileTest, WhenTheSecondCannotTakeItsPlaceTheFirstIsPutBack) {
    // A folder where the second file would go: the system refuses to replace it.
    folder.MakeDir("1234$XYZ_1.bmp");
    for (const bool firstExisted : {true, false}) {
        if (!firstExisted) DeleteFile(Path("1.bmp"));
        try {
            TStagedFile plain(Path("1.bmp")), person(Path("1234$XYZ_1.bmp"));
            plain.Write("new finger");
            person.Write("new finger");
            CommitTogether({&plain, &person});
            ADD_FAILURE() << "replaced a folder";
        } catch (const EFileError& e) {
            EXPECT_EQ(e.Message().find("Cannot replace file \"" + Path("1234$XYZ_1.bmp") + "\". "), 0u) << e.Message();
        }
        if (firstExisted)
            EXPECT_EQ(folder.Read("1.bmp"), "the finger the host has");
        else
            EXPECT_FALSE(FileExists(Path("1.bmp")));
        EXPECT_EQ(folder.Files(), firstExisted ? std::set<std::string>{"1.bmp"} : std::set<std::string>{});
    }
}
