// Files replaced whole or not at all, against a write that stops short as
// one does on a full disk.
#include "ErrorOf.h"
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

// A write that stops leaves the old file (or none) and no temporary file, and says why; short
// writes that go on give the whole file.
TEST_F(StagedFileTest, EachWriteLeavesTheOldFileOrTheWholeNewOneAndSaysWhyItStopped) {
    const std::string old = "the finger the host has", cannot = "Cannot write file \"" + Path("1.bmp") + "\". ";
    const struct {
        const char *what, *name;
        DWORD budget, piece;
        Stop stop;
        std::string failure, first;
    } cases[] = {
        {"disk full", "1.bmp", 151552, 0xFFFFFFFF, Stop::DiskFull, cannot + SysErrorMessage(ERROR_DISK_FULL), old},
        {"stopped without a reason", "1.bmp", 151552, 0xFFFFFFFF, Stop::Silently,
         cannot + "Only 151552 of 410678 bytes were written.", old},
        {"a new file not written whole", "2.bmp", 10, 0xFFFFFFFF, Stop::Silently,
         "Cannot write file \"" + Path("2.bmp") + "\". Only 10 of 410678 bytes were written.", old},
        {"short writes that go on", "1.bmp", 0xFFFFFFFF, 4096, Stop::DiskFull, "nothing raised", bytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_budget = c.budget;
        g_stop = c.stop;
        g_piece = c.piece;
        EXPECT_EQ(ErrorOf<EFileError>([&] {
                      TStagedFile staged(Path(c.name));
                      staged.Write(bytes, StoppingWrite);
                      staged.Commit();
                  }),
                  c.failure);
        EXPECT_EQ(folder.Read("1.bmp"), c.first);
        EXPECT_EQ(folder.Files(), std::set<std::string>{"1.bmp"});
    }
}

TEST_F(StagedFileTest, NoFailureReadsAsSuccess) {
    EXPECT_EQ(SysErrorReason(ERROR_SUCCESS, "no reason"), "no reason");
    EXPECT_EQ(SysErrorReason(ERROR_DISK_FULL, "no reason"), SysErrorMessage(ERROR_DISK_FULL));
    const std::string start = "Cannot create file \"" + Path("NoSuchFolder\\1.bmp") + "\". ";
    // The system's own reason for a folder that is not there, not its text for success nor an empty one.
    EXPECT_EQ(ErrorOf<EFileError>([&] { WriteFileBytes(Path("NoSuchFolder\\1.bmp"), bytes); }),
              start + SysErrorMessage(ERROR_DIRECTORY));
}

TEST_F(StagedFileTest, WhenTheSecondCannotTakeItsPlaceTheFirstIsPutBack) {
    // A folder where the second file would go: the system refuses to replace it.
    folder.MakeDir("1234$XYZ_1.bmp");
    for (const bool firstExisted : {true, false}) {
        if (!firstExisted) DeleteFile(Path("1.bmp"));
        const std::string message = ErrorOf<EFileError>([&] {
            TStagedFile plain(Path("1.bmp")), person(Path("1234$XYZ_1.bmp"));
            plain.Write("new finger");
            person.Write("new finger");
            CommitTogether({&plain, &person});
        });
        EXPECT_EQ(message.find("Cannot replace file \"" + Path("1234$XYZ_1.bmp") + "\". "), 0u) << message;
        if (firstExisted)
            EXPECT_EQ(folder.Read("1.bmp"), "the finger the host has");
        else
            EXPECT_FALSE(FileExists(Path("1.bmp")));
        EXPECT_EQ(folder.Files(), firstExisted ? std::set<std::string>{"1.bmp"} : std::set<std::string>{});
    }
}
