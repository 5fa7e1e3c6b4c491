// Figures for the capture path, with the simulated scanner at pace 0:
//   - frames per second through the capture loop with no finger and while a
//     finger is being stitched, beside the scanner's own fetch rate, and the
//     loop's own cost per frame;
//   - CPU time per frame;
//   - one preview refresh (save, load, repaint);
//   - the capture command from the press to the host's notification.
// A benchmark prints; it asserts nothing.
#include "device/CollectThread.h"
#include "forms/DataModule.h"
#include "forms/Main.h"
#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double ThreadCpu(HANDLE thread) {
    FILETIME create, exit, kernel, user;
    GetThreadTimes(thread, &create, &exit, &kernel, &user);
    auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::string g_folder;

void WriteControl(const std::string& text) {
    WriteFileBytes(g_folder + "KV90DLL\\scanner_sim.ini", text);
}

// Frames the loop may still fetch before it ends; the wrapper ends it, and
// measures the worker's CPU time, without touching the loop itself.
std::atomic<int> g_framesLeft{0};
TLIVESCAN_BeginCapture g_realBegin = nullptr;
HANDLE g_workerThread = nullptr;
double g_workerCpuStart = 0, g_workerCpuEnd = 0;
int g_framesDone = 0;

int __stdcall CountingBegin(int channel) {
    if (!g_workerThread) {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_workerThread, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        g_workerCpuStart = ThreadCpu(g_workerThread);
    }
    if (g_framesLeft-- <= 0) {
        g_workerCpuEnd = ThreadCpu(g_workerThread);
        return 0;
    }
    ++g_framesDone;
    return g_realBegin(channel);
}

struct LoopFigures {
    double fps;
    double cpuMsPerFrame;
};

LoopFigures RunLoop(TFrm_Main* main, int frames) {
    g_framesLeft = frames;
    g_framesDone = 0;
    g_workerThread = nullptr;
    auto thread = new TCollectThread(main->Img_View);
    bool ended = false;
    thread->OnTerminate = [&](TObject*) { ended = true; };
    const double start = Seconds();
    thread->Start();
    while (!ended || TThread::LiveThreads() > 0) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const double seconds = Seconds() - start;
    CloseHandle(g_workerThread);
    return {g_framesDone / seconds, (g_workerCpuEnd - g_workerCpuStart) * 1000.0 / g_framesDone};
}

double RawFetchFps(int frames) {
    const double start = Seconds();
    for (int i = 0; i < frames; ++i) {
        DM->LIVESCAN_BeginCapture(0);
        DM->LIVESCAN_GetFPRawData(0, DM->RawBuffer.get());
        DM->LIVESCAN_EndCapture(0);
    }
    return frames / (Seconds() - start);
}

double g_notified = 0;

LRESULT CALLBACK BenchHostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == RegisterWindowMessageA("FINGERMSG") && wp == 3224) g_notified = Seconds();
    return DefWindowProcA(w, m, wp, lp);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    TApplication application;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_folder = std::string(temp) + "kv90bench_" + std::to_string(GetCurrentProcessId()) + "\\";
    for (const char* sub : {"", "KV90DLL", "Temp", "Config", "LogFiles"}) CreateDirectoryA((g_folder + sub).c_str(), nullptr);
    const std::string dlls = std::string(KV90_SIM_DLL_DIR) + "/";
    for (const char* dll : {"GALS7302.dll", "GAMC7302.dll"})
        CopyFileA((dlls + dll).c_str(), (g_folder + "KV90DLL\\" + dll).c_str(), FALSE);
    WriteControl("Pace=0\nFinger=none\n");

    TDM* dm = nullptr;
    application.CreateForm(dm);
    dm->AppPath = g_folder;
    TFrm_Main* main = new TFrm_Main(&application);
    main->DoCreate();
    main->Show();
    if (!dm->DeviceStarted) {
        // The start-up made its own worker; stop it and measure with ours.
        std::printf("device did not start: %s\n", main->Lb_Info->Caption().c_str());
        return 1;
    }
    main->CaptureThread->Terminate();
    while (TThread::LiveThreads() > 0) Pump();
    // Its termination handler closed the device: open it again for the measurements.
    dm->LIVESCAN_Init();
    dm->MOSAIC_Init();
    dm->RawBuffer.reset(new unsigned char[640 * 640]);
    dm->MosaicBuffer.reset(new unsigned char[640 * 640]);
    dm->CollectEnabled = true;
    g_realBegin = dm->LIVESCAN_BeginCapture.Get();
    dm->LIVESCAN_BeginCapture = CountingBegin;

    constexpr int kFrames = 600;
    const double rawFps = [] {
        const auto counting = DM->LIVESCAN_BeginCapture.Get();
        DM->LIVESCAN_BeginCapture = g_realBegin;
        const double fps = RawFetchFps(kFrames);
        DM->LIVESCAN_BeginCapture = counting;
        return fps;
    }();
    const LoopFigures idle = RunLoop(main, kFrames);
    WriteControl("Pace=0\nFinger=roll\nGapFrames=2\nPlaceFrames=2\nRollFrames=60\nHoldFrames=20\nLiftFrames=2\n");
    const LoopFigures rolling = RunLoop(main, kFrames);

    std::printf("capture loop, simulated scanner at pace 0, %d frames each\n", kFrames);
    std::printf("  scanner fetch alone      : %8.1f frames/s (%.3f ms/frame)\n", rawFps, 1000.0 / rawFps);
    std::printf("  loop, no finger          : %8.1f frames/s (%.3f ms/frame), worker CPU %.3f ms/frame\n", idle.fps,
                1000.0 / idle.fps, idle.cpuMsPerFrame);
    std::printf("  loop, finger rolling     : %8.1f frames/s (%.3f ms/frame), worker CPU %.3f ms/frame\n",
                rolling.fps, 1000.0 / rolling.fps, rolling.cpuMsPerFrame);
    std::printf("  loop's own cost, no finger: %.3f ms/frame (target < 1 ms)\n", 1000.0 / idle.fps - 1000.0 / rawFps);

    // One preview refresh: the library saves the stitched image, the GUI thread loads and repaints it.
    std::vector<double> refresh;
    const std::string preview = dm->PreviewPath();
    for (int i = 0; i < 50; ++i) {
        const double t0 = Seconds();
        dm->LIVESCAN_SaveToFile(dm->MosaicBuffer.get(), 640, 640, preview.c_str(), 0);
        main->Img_View->Picture().LoadFromFile(preview);
        main->Img_View->Repaint();
        refresh.push_back((Seconds() - t0) * 1000.0);
    }
    std::printf("preview refresh (save, load, repaint): median %.3f ms (target < 5 ms)\n", Median(refresh));

    // The capture command, from the press to the host's notification; the host answers at once.
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchHostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchHost";
    RegisterClassA(&wc);
    dm->HostWnd = CreateWindowExA(0, "BenchHost", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    dm->DeviceStarted = true;
    dm->IsQuality = 1;
    dm->FQuality = 0;
    dm->PQuality = 0;
    dm->PersonKey = "0001";
    dm->PersonName = "bench";
    std::vector<double> capture;
    for (int i = 0; i < 30; ++i) {
        main->Img_View->Picture().LoadFromFile(preview);
        main->SelectSlot(main->SlotImage(i % 10));
        const double t0 = Seconds();
        main->Btn_CollectClick(main->Btn_Collect);
        capture.push_back((g_notified - t0) * 1000.0);
    }
    std::printf("capture command, press to host notification (quality gates on): median %.3f ms (target < 30 ms)\n",
                Median(capture));
    dm->DeviceStarted = false;
    return 0;
}
