// What the simulated scanner costs per frame, measured through its two
// libraries at pace 0 (no waiting), so that its own work can be told apart
// from the program's.  Prints one line per figure; not a test.

#include "framework/HandleOwners.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 640;

using Fn0 = int(__stdcall*)();
using FnImage = int(__stdcall*)(unsigned char*, int, int);
using FnChannel = int(__stdcall*)(int);
using FnFetch = int(__stdcall*)(int, unsigned char*);
using FnSave = int(__stdcall*)(unsigned char*, int, int, const char*, int);
using FnWindow = int(__stdcall*)(HWND);

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring BuiltFolder() {
    std::string dir = KV90_SIM_DLL_DIR;
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
    for (char& c : dir) {
        if (c == '/') c = '\\';
    }
    return Widen(dir) + L"\\";
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency.QuadPart * 1000.0;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

template <typename T>
T Entry(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Times `count` calls of `call`, wall clock and thread CPU.
template <typename Call>
void Measure(const char* what, int count, Call call) {
    const double wall = Now();
    const double cpu = ThreadCpuMs();
    for (int i = 0; i < count; ++i) call();
    std::printf("%-44s %8.3f ms wall  %8.3f ms cpu  per call (%d calls)\n", what, (Now() - wall) / count,
                (ThreadCpuMs() - cpu) / count, count);
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kv90sim-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"GALS7302.dll", L"GAMC7302.dll"}) {
        if (!CopyFileW((BuiltFolder() + name).c_str(), (folder + name).c_str(), FALSE)) {
            std::printf("cannot copy the libraries\n");
            return 1;
        }
    }
    {
        UniqueHandle control(CreateFileW((folder + L"scanner_sim.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const char text[] = "Pace=0\nGapFrames=0\n";
        DWORD written = 0;
        WriteFile(control.Get(), text, sizeof(text) - 1, &written, nullptr);
    }
    HMODULE capture = LoadLibraryW((folder + L"GALS7302.dll").c_str());
    HMODULE mosaic = LoadLibraryW((folder + L"GAMC7302.dll").c_str());
    if (capture == nullptr || mosaic == nullptr) {
        std::printf("cannot load the libraries\n");
        return 1;
    }
    const auto init = Entry<Fn0>(capture, "LIVESCAN_Init");
    const auto close = Entry<Fn0>(capture, "LIVESCAN_Close");
    const auto begin = Entry<FnChannel>(capture, "LIVESCAN_BeginCapture");
    const auto fetch = Entry<FnFetch>(capture, "LIVESCAN_GetFPRawData");
    const auto end = Entry<FnChannel>(capture, "LIVESCAN_EndCapture");
    const auto save = Entry<FnSave>(capture, "LIVESCAN_SaveToFile");
    const auto video = Entry<FnWindow>(capture, "LIVESCAN_SetVideoWindow");
    const auto mosaicInit = Entry<Fn0>(mosaic, "MOSAIC_Init");
    const auto isFinger = Entry<FnImage>(mosaic, "MOSAIC_IsFinger");
    const auto start = Entry<FnImage>(mosaic, "MOSAIC_Start");
    const auto doMosaic = Entry<FnImage>(mosaic, "MOSAIC_DoMosaic");
    const auto fingerQuality = Entry<FnImage>(mosaic, "MOSAIC_FingerQuality");
    const auto imageQuality = Entry<FnImage>(mosaic, "MOSAIC_ImageQuality");

    std::vector<unsigned char> frame(kSide * kSide);
    std::vector<unsigned char> image(kSide * kSide);
    Measure("LIVESCAN_Init (draws the finger)", 1, [&] { init(); });
    mosaicInit();
    Measure("frame: Begin + GetFPRawData + End", 400, [&] {
        begin(0);
        fetch(0, frame.data());
        end(0);
    });
    Measure("MOSAIC_IsFinger", 400, [&] { isFinger(frame.data(), kSide, kSide); });
    start(image.data(), kSide, kSide);
    int images = 0;
    Measure("frame + MOSAIC_DoMosaic while rolling", 60, [&] {
        begin(0);
        fetch(0, frame.data());
        end(0);
        images += doMosaic(frame.data(), kSide, kSide) == 1;
    });
    std::printf("new images while rolling: %d of 60 frames\n", images);
    Measure("MOSAIC_DoMosaic alone", 200, [&] { doMosaic(frame.data(), kSide, kSide); });
    std::printf("finger quality %d, image quality %d after a full roll\n", fingerQuality(image.data(), kSide, kSide),
                imageQuality(image.data(), kSide, kSide));
    Measure("MOSAIC_FingerQuality", 20, [&] { fingerQuality(image.data(), kSide, kSide); });
    const std::string path = std::string(folder.begin(), folder.end()) + "bench.bmp";
    Measure("LIVESCAN_SaveToFile 640 x 640", 200, [&] { save(image.data(), kSide, kSide, path.c_str(), 0); });

    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 360, 360, nullptr, nullptr, nullptr, nullptr);
    if (window != nullptr && video(window) == 1) {
        // Frames at pace 0 are drawn at most every 40 ms, so pace the loop to draw each one.
        double drawing = 0.0;
        for (int i = 0; i < 20; ++i) {
            Sleep(45);
            const double t = Now();
            begin(0);
            fetch(0, frame.data());
            end(0);
            drawing += Now() - t;
        }
        std::printf("%-44s %8.3f ms wall  per call (20 calls)\n", "frame drawn into a 360 x 360 window", drawing / 20);
        video(nullptr);
        DestroyWindow(window);
    } else {
        std::printf("no display: video drawing not measured\n");
    }
    close();
    FreeLibrary(mosaic);
    FreeLibrary(capture);
    for (const wchar_t* name : {L"GALS7302.dll", L"GAMC7302.dll", L"scanner_sim.ini", L"bench.bmp"}) {
        DeleteFileW((folder + name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
    return 0;
}
