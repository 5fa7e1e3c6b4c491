// The program's entry: the single-instance guard, then the data module and
// the capture window, then the message loop.
#include "app/CheckOutInfo.h"
#include "app/FaultReport.h"
#include "forms/DataModule.h"
#include "forms/Main.h"

#include <windows.h>

#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallFaultReport();
    TApplication application;
    bool running = true;
    {
        auto guard = std::make_unique<TCheckOutInfo>();
        running = guard->CheckRunning();
    }
    if (running) {
        application.Terminate();
        ExitProcess(0);
    }
    try {
        application.Initialize();
        application.SetTitle("KV90指纹采集");
        TDM* dm = nullptr;
        application.CreateForm(dm);
        TFrm_Main* main = nullptr;
        application.CreateForm(main);
        application.Run();
    } catch (const std::exception& e) {
        application.HandleException(e);
    }
    ExitProcess(0);
}
