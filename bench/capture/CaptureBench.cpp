// Figures for the capture path, with the simulated scanner at pace 0:
//   - frames per second through the capture loop with no finger and while a
//     finger is being stitched, beside the scanner's own fetch rate, and the
//     loop's own cost per frame;
//   - CPU time per frame;
//   - one preview refresh: the scanner stand-in's save beside the program's
//     own load and repaint (wall and CPU time), on the GUI thread and through
//     the capture thread's hand-off to it;
//   - a full repaint of the main window with ten filled slots;
//   - the image viewer's zoom steps;
//   - the capture command from the press to the host's notification.
// A benchmark prints; it asserts nothing.
#include "tests/unit/Pump.h"
#include "device/CollectThread.h"
#include "forms/DataModule.h"
#include "forms/ImageEdit.h"
#include "forms/Main.h"
#include "framework/SysUtils.h"
#include "images/ImgOper.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
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
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

std::string g_folder;

void WriteControl(const std::string& text) { WriteFileBytes(g_folder + "KV90DLL\\scanner_sim.ini", text); }

// Frames the loop may still fetch before it ends; the wrapper ends it, and
// measures the worker's CPU time, without touching the loop itself.
std::atomic<int> g_framesLeft{0};
TLIVESCAN_BeginCapture g_realBegin = nullptr;
UniqueHandle g_workerThread;
double g_workerCpuStart = 0, g_workerCpuEnd = 0;
int g_framesDone = 0;

int __stdcall CountingBegin(int channel) {
    if (!g_workerThread) {
        HANDLE worker = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &worker, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        g_workerThread.Reset(worker);
        g_workerCpuStart = ThreadCpu(g_workerThread.Get());
    }
    if (g_framesLeft-- <= 0) {
        g_workerCpuEnd = ThreadCpu(g_workerThread.Get());
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
    g_workerThread.Reset();
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
    g_workerThread.Reset();
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

double ProcessCpu() {
    FILETIME create, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// Wall and process CPU time of one step, in ms, over many repetitions: the
// CPU clock ticks too coarsely to time a single step.
struct Cost {
    double wallMs;
    double cpuMs;
};

template <typename Step>
Cost Measure(int times, Step step) {
    step(0);  // the first run pays for caches and page faults
    const double cpu0 = ProcessCpu(), wall0 = Seconds();
    for (int i = 1; i <= times; ++i) step(i);
    return {(Seconds() - wall0) * 1000.0 / times, (ProcessCpu() - cpu0) * 1000.0 / times};
}

// A worker that hands one step to the GUI thread per request, as the capture
// thread hands it each preview picture.
class HandOffThread : public TThread {
public:
    HandOffThread(int times, std::function<void()> step) : times_(times), step_(std::move(step)) {
        FreeOnTerminate = false;
        CreateSuspended();
    }
    bool Done() const { return done_; }

protected:
    void Execute() override {
        for (int i = 0; i < times_; ++i) Synchronize(step_);
        done_ = true;
    }

private:
    int times_;
    std::function<void()> step_;
    std::atomic<bool> done_{false};
};

Cost MeasureHandOff(int times, const std::function<void()>& step) {
    HandOffThread thread(times, step);
    const double cpu0 = ProcessCpu(), wall0 = Seconds();
    thread.Start();
    while (!thread.Done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        Pump();
    }
    const Cost cost{(Seconds() - wall0) * 1000.0 / times, (ProcessCpu() - cpu0) * 1000.0 / times};
    while (TThread::LiveThreads() > 0) Pump();
    return cost;
}

void PrintCost(const char* what, const Cost& cost) {
    std::printf("  %-46s: wall %7.3f ms, CPU %7.3f ms\n", what, cost.wallMs, cost.cpuMs);
}

}  // namespace

int main() {
    TApplication application;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_folder = std::string(temp) + "kv90bench_" + std::to_string(GetCurrentProcessId()) + "\\";
    for (const char* sub : {"", "KV90DLL", "Temp", "Config", "LogFiles"})
        CreateDirectoryA((g_folder + sub).c_str(), nullptr);
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
    std::printf("  loop, finger rolling     : %8.1f frames/s (%.3f ms/frame), worker CPU %.3f ms/frame\n", rolling.fps,
                1000.0 / rolling.fps, rolling.cpuMsPerFrame);
    std::printf("  loop's own cost, no finger: %.3f ms/frame (target < 1 ms)\n", 1000.0 / idle.fps - 1000.0 / rawFps);

    // One preview refresh: the library saves the stitched image, the GUI thread loads and repaints it.
    const std::string preview = dm->PreviewPath();
    constexpr int kRefreshes = 400;
    const Cost save = Measure(
        kRefreshes, [&](int) { dm->LIVESCAN_SaveToFile(dm->MosaicBuffer.get(), 640, 640, preview.c_str(), 0); });
    const Cost load = Measure(kRefreshes, [&](int) { main->Img_View->Picture().LoadFromFile(preview); });
    const Cost repaint = Measure(kRefreshes, [&](int) {
        main->Img_View->Invalidate();
        main->Img_View->Repaint();
    });
    const auto refreshStep = [&] {
        main->Img_View->Picture().LoadFromFile(preview);
        main->Img_View->Repaint();
    };
    const Cost refreshGui = Measure(kRefreshes, [&](int) { refreshStep(); });
    const Cost refreshHandOff = MeasureHandOff(kRefreshes, refreshStep);
    std::printf("preview refresh, 640 x 640 grey, %d frames each (process CPU, all threads)\n", kRefreshes);
    PrintCost("scanner stand-in's save (not the program's)", save);
    PrintCost("program: load the preview file", load);
    PrintCost("program: repaint the preview", repaint);
    PrintCost("program: load + repaint, on the GUI thread", refreshGui);
    PrintCost("program: load + repaint, handed off (target < 1)", refreshHandOff);

    // The main window repainted whole by the system with every slot filled, as
    // when it is uncovered: every window of it painted, then the message loop
    // goes idle, which is when Wine hands the painted pixels to the display.
    const auto repaintAll = [&] {
        RedrawWindow(main->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    };
    const auto repaintClient = [&] {
        RedrawWindow(main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    };
    main->Img_View->Picture().Clear();
    const Cost emptyRepaint = Measure(200, [&](int) { repaintAll(); });
    for (int slot = 0; slot < 10; ++slot) main->SlotImage(slot)->Picture().LoadFromFile(preview);
    const double firstStart = Seconds();
    repaintAll();
    const double firstMs = (Seconds() - firstStart) * 1000.0;
    const Cost fullRepaint = Measure(200, [&](int) { repaintAll(); });
    std::printf("main window, ten filled slots\n");
    std::printf("  %-46s: wall %7.3f ms\n", "first full repaint (slots scaled)", firstMs);
    PrintCost("full repaint (target < 2)", fullRepaint);
    PrintCost("the same, frame not drawn", Measure(200, [&](int) { repaintClient(); }));
    PrintCost("the same, every kept face drawn anew", Measure(200, [&](int) {
                  main->Repaint();
                  Pump();
              }));
    PrintCost("full repaint, every slot empty", emptyRepaint);
    {
        // The slots' own share: ten thumbnails drawn into a screen-compatible bitmap.
        OffscreenBitmap canvas;
        canvas.MakeCompatible(TWindowDC(nullptr).Get(), 1024, 768);
        const auto drawSlots = [&](bool fresh) {
            for (int slot = 0; slot < 10; ++slot) {
                TImage* image = main->SlotImage(slot);
                auto bitmap = static_cast<TBitmap*>(image->Picture().Graphic());
                if (fresh) bitmap->Modified();
                const RECT r{0, 0, image->Width(), image->Height()};
                bitmap->Draw(canvas.Dc(), r);
            }
        };
        PrintCost("ten thumbnails from their kept copies", Measure(200, [&](int) { drawSlots(false); }));
        PrintCost("ten thumbnails shrunk afresh", Measure(50, [&](int) { drawSlots(true); }));
    }

    // The viewer's zoom steps on the view file of one slot.
    const std::string jpg = g_folder + "Temp\\EditImage.jpg";
    main->SlotImage(0)->Picture().SaveToFile(dm->PlainSlotPath(0));
    TImgOper::BmpToJpg(dm->PlainSlotPath(0), jpg);
    {
        TFrm_ImageEdit viewer(&application);
        viewer.LoadJpgFile(jpg);
        std::printf("image viewer zoom, 640 x 640 view file\n");
        for (const float factor : {1.1f, 0.9f, 0.5f, 2.0f}) {
            char what[64];
            std::snprintf(what, sizeof what, "zoom to %.1f", static_cast<double>(factor));
            PrintCost(what, Measure(20, [&](int) { viewer.ZoomImage(factor); }));
        }
    }

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
