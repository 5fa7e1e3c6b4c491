#include "SimFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kv90sim_test {
namespace {

// The build's staging folder, given as a Unix path when built on Linux for
// Wine, where drive Z: is the Unix root.
std::wstring BuiltLibraryFolder() {
    std::string dir = KV90_SIM_DLL_DIR;
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
    std::wstring wide(dir.begin(), dir.end());
    for (wchar_t& c : wide) {
        if (c == L'/') c = L'\\';
    }
    return wide + L"\\";
}

const wchar_t* const kLibraries[] = {L"GALS7302.dll", L"GAMC7302.dll"};
const wchar_t* const kLeftovers[] = {L"scanner_sim.ini", L"scanner_sim_calls.log", L"saved.bmp"};

}  // namespace

SimFolder::SimFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"kv90sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
    for (const wchar_t* library : kLibraries) {
        EXPECT_TRUE(CopyFileW((BuiltLibraryFolder() + library).c_str(), File(library).c_str(), FALSE))
            << "cannot copy the built library";
    }
}

SimFolder::~SimFolder() {
    for (const wchar_t* library : kLibraries) DeleteFileW(File(library).c_str());
    for (const wchar_t* leftover : kLeftovers) DeleteFileW(File(leftover).c_str());
    RemoveDirectoryW(path_.c_str());
}

std::string SimFolder::AnsiFile(const char* name) const {
    std::string ansi(path_.begin(), path_.end());
    return ansi + name;
}

void SimFolder::WriteControl(const std::string& text) {
    const std::wstring file = File(L"scanner_sim.ini");
    {
        std::ofstream out(file.c_str(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    // A distinct time stamp per write, whatever the clock's resolution.
    HANDLE handle = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ULARGE_INTEGER time{};
    time.QuadPart = 132000000000000000ULL + static_cast<ULONGLONG>(++writes_) * 10000000ULL;
    FILETIME stamp{time.LowPart, time.HighPart};
    SetFileTime(handle, nullptr, nullptr, &stamp);
    CloseHandle(handle);
}

void SimFolder::RemoveControl() { DeleteFileW(File(L"scanner_sim.ini").c_str()); }

std::string SimFolder::ReadJournal() const { return ReadWholeFile(File(L"scanner_sim_calls.log")); }

bool SimFolder::JournalExists() const {
    return GetFileAttributesW(File(L"scanner_sim_calls.log").c_str()) != INVALID_FILE_ATTRIBUTES;
}

SimLibrary::SimLibrary(const SimFolder& folder, const wchar_t* file)
    : module_(LoadLibraryW(folder.File(file).c_str())) {}

SimLibrary::~SimLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kv90sim_test
