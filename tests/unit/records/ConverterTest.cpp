// KV90Records.exe run as an office runs it: its exit codes, its messages and
// the files it leaves.
#include "An2kReader.h"
#include "ImageReaders.h"
#include "RecordsTestFiles.h"
#include "TempFolder.h"
#include "records/FileBytes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

namespace {

struct ConverterRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;  // standard output and error together
};

std::string ConverterPath() {
    std::string path = std::string("Z:") + KV90_CONVERTER;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

ConverterRun RunConverter(const std::string& arguments) {
    ConverterRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + ConverterPath() + "\" " + arguments;
    const BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

// A folder's trailing separator would escape the closing quote.
std::string Quoted(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return "\"" + path + "\"";
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    kv90rec::ReadFileBytes(path, bytes);
    return bytes;
}

}  // namespace

TEST(Converter, SlotFileToPngAndJp2IsEveryPixel) {
    TempFolder folder;
    folder.Write("A1$Li_2.bmp", GreyBitmapFile(MakeFingerImage(640, 640, 7)));
    for (const char* extension : {"png", "jp2"}) {
        const std::string output = folder.Path() + "finger." + extension;
        const ConverterRun run = RunConverter("image " + Quoted(folder.Path() + "A1$Li_2.bmp") + " " + Quoted(output));
        ASSERT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_NE(run.output.find("wrote"), std::string::npos) << run.output;
        std::string error;
        kv90rec::GrayImage decoded;
        if (std::string(extension) == "png") {
            PngRead read;
            ASSERT_TRUE(ReadPngForTest(FileBytes(output), read, error)) << error;
            decoded = read.image;
        } else {
            Jp2Read read;
            ASSERT_TRUE(ReadJp2ForTest(FileBytes(output), read, error)) << error;
            decoded = read.image;
        }
        EXPECT_EQ(decoded.pixels, MakeFingerImage(640, 640, 7).pixels) << extension;
    }
}

TEST(Converter, SlotFileToWsqAndBackToPng) {
    TempFolder folder;
    folder.Write("3.bmp", GreyBitmapFile(MakeFingerImage(640, 640, 8)));
    ConverterRun run = RunConverter("image " + Quoted(folder.Path() + "3.bmp") + " " + Quoted(folder.Path() + "3.wsq") +
                           " --bitrate 2.25");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    run = RunConverter("image " + Quoted(folder.Path() + "3.wsq") + " " + Quoted(folder.Path() + "3.png"));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    PngRead read;
    std::string error;
    ASSERT_TRUE(ReadPngForTest(FileBytes(folder.Path() + "3.png"), read, error)) << error;
    EXPECT_EQ(read.image.width, 640);
    EXPECT_EQ(read.image.height, 640);
    EXPECT_EQ(read.xPerUnit, 19685u);
    // WSQ is lossy; at its highest rate the finger comes back close.
    const kv90rec::GrayImage original = MakeFingerImage(640, 640, 8);
    ASSERT_EQ(read.image.pixels.size(), original.pixels.size());
    double squares = 0;
    for (size_t i = 0; i < original.pixels.size(); ++i) {
        const double difference = double(read.image.pixels[i]) - original.pixels[i];
        squares += difference * difference;
    }
    EXPECT_LT(std::sqrt(squares / original.pixels.size()), 10.0);
}

TEST(Converter, HelpIsUsageAndSuccess) {
    const ConverterRun run = RunConverter("--help");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find("KV90Records record <folder>"), std::string::npos) << run.output;
}

TEST(Converter, FolderOfAPersonToATransactionWithTheOfficesAgencies) {
    TempFolder folder;
    // Chinese folder and person names, as an office's are (GBK literals, as the station's texts).
    folder.MakeDir("指纹");
    for (int slot : {0, 5})
        folder.Write("指纹\\K9$赵_" + std::to_string(slot) + ".bmp", GreyBitmapFile(MakeFingerImage(640, 640, slot)));
    folder.Write("Records.ini", "[Records]\r\nOriginatingAgency=OFFICE0001\r\nRecordImage=png\r\n");
    const std::string output = folder.Path() + "K9.an2";
    const ConverterRun run = RunConverter("record " + Quoted(folder.Path() + "指纹") + " " + Quoted(output) + " --config " +
                                 Quoted(folder.Path() + "Records.ini"));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("2 finger(s) of K9"), std::string::npos) << run.output;
    std::vector<An2kRecord> records;
    std::string error;
    ASSERT_TRUE(ReadAn2kForTest(FileBytes(output), records, error)) << error;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].Find(8)->Value(), "OFFICE0001");
    EXPECT_EQ(records[1].Find(18)->Value(), "\xE8\xB5\xB5");  // UTF-8
    EXPECT_EQ(records[2].Find(13)->Value(), "6");
    EXPECT_EQ(records[3].Find(13)->Value(), "1");
    EXPECT_EQ(records[3].Find(11)->Value(), "PNG");
}

TEST(Converter, FolderToAnIsoRecordByItsExtension) {
    TempFolder folder;
    folder.Write("7.bmp", GreyBitmapFile(MakeFingerImage(640, 640, 3)));
    const ConverterRun run = RunConverter("record " + Quoted(folder.Path()) + " " + Quoted(folder.Path() + "out.fir") +
                                 " --image jp2");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const std::vector<uint8_t> bytes = FileBytes(folder.Path() + "out.fir");
    ASSERT_GT(bytes.size(), 46u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "FIR");
    EXPECT_EQ(bytes[29], 4);  // JPEG 2000
    EXPECT_EQ(bytes[36], 3);  // slot 7: right middle finger
}

TEST(Converter, RefusalsSayWhyWithTheirExitCodes) {
    TempFolder folder;
    folder.Write("1.bmp", "BM not really");
    // A refusal of the command line is followed by the usage, which names every
    // option: each case looks for words only its own message has.
    struct Case {
        std::string arguments;
        DWORD exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"", 1, "Exit codes:"},
        {"convert a b", 1, "unknown command"},
        {"image only-one.bmp", 1, "needs an input file and an output file"},
        {"image a.bmp b.gif", 1, "cannot tell the output format"},
        {"image a.bmp b.wsq --bitrate 9", 1, "--bitrate must be a number"},
        {"image a.bmp b.png --colour red", 1, "unknown option"},
        {"image " + Quoted(folder.Path() + "none.bmp") + " b.png", 2, "cannot read"},
        {"image " + Quoted(folder.Path() + "1.bmp") + " b.png", 2, "1.bmp"},
        {"record " + Quoted(folder.Path()) + " x.txt", 1, "cannot tell the record format"},
        {"record " + Quoted(folder.Path() + "nowhere") + " x.an2", 2, "is not a folder"},
        {"record " + Quoted(folder.Path()) + " x.an2 --config " + Quoted(folder.Path() + "none.ini"), 2, "does not exist"},
    };
    for (const Case& c : cases) {
        const ConverterRun run = RunConverter(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.arguments << "\n" << run.output;
    }
    EXPECT_EQ(folder.Files(), (std::set<std::string>{"1.bmp"}));  // nothing half-written anywhere
}

TEST(Converter, UnwritableOutputIsExitCodeThreeAndLeavesNothing) {
    TempFolder folder;
    folder.Write("2.bmp", GreyBitmapFile(MakeFingerImage(64, 64, 1)));
    const ConverterRun run = RunConverter("image " + Quoted(folder.Path() + "2.bmp") + " " +
                                 Quoted(folder.Path() + "missing\\out.png"));
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_NE(run.output.find("cannot write"), std::string::npos) << run.output;
    EXPECT_EQ(folder.Files(), (std::set<std::string>{"2.bmp"}));
}
