#pragma once
// The entry points of the two libraries, looked up by plain name as the
// program does.

#include <windows.h>

#include "SimFolder.h"

namespace kv90sim_test {

struct Livescan {
    explicit Livescan(const SimLibrary& library)
        : Init(library.Get<decltype(Init)>("LIVESCAN_Init")),
          Close(library.Get<decltype(Close)>("LIVESCAN_Close")),
          SetVideoWindow(library.Get<decltype(SetVideoWindow)>("LIVESCAN_SetVideoWindow")),
          SetCaptWindow(library.Get<decltype(SetCaptWindow)>("LIVESCAN_SetCaptWindow")),
          SaveToFile(library.Get<decltype(SaveToFile)>("LIVESCAN_SaveToFile")),
          BeginCapture(library.Get<decltype(BeginCapture)>("LIVESCAN_BeginCapture")),
          GetFPRawData(library.Get<decltype(GetFPRawData)>("LIVESCAN_GetFPRawData")),
          EndCapture(library.Get<decltype(EndCapture)>("LIVESCAN_EndCapture")),
          GetErrorInfo(library.Get<decltype(GetErrorInfo)>("LIVESCAN_GetErrorInfo")),
          GetBright(library.Get<decltype(GetBright)>("LIVESCAN_GetBright")),
          SetBright(library.Get<decltype(SetBright)>("LIVESCAN_SetBright")),
          GetContrast(library.Get<decltype(GetContrast)>("LIVESCAN_GetContrast")),
          SetContrast(library.Get<decltype(SetContrast)>("LIVESCAN_SetContrast")) {}

    int(__stdcall* Init)();
    int(__stdcall* Close)();
    int(__stdcall* SetVideoWindow)(HWND);
    int(__stdcall* SetCaptWindow)(int, int, int, int, int);
    int(__stdcall* SaveToFile)(unsigned char*, int, int, const char*, int);
    int(__stdcall* BeginCapture)(int);
    int(__stdcall* GetFPRawData)(int, unsigned char*);
    int(__stdcall* EndCapture)(int);
    int(__stdcall* GetErrorInfo)(int, char*);
    int(__stdcall* GetBright)(int, int*);
    int(__stdcall* SetBright)(int, int);
    int(__stdcall* GetContrast)(int, int*);
    int(__stdcall* SetContrast)(int, int);

    // One frame as the program's capture loop takes it.
    int Fetch(unsigned char* buffer) const {
        if (BeginCapture(0) != 1) return -100;
        const int result = GetFPRawData(0, buffer);
        EndCapture(0);
        return result;
    }
};

struct Mosaic {
    explicit Mosaic(const SimLibrary& library)
        : Init(library.Get<decltype(Init)>("MOSAIC_Init")),
          Close(library.Get<decltype(Close)>("MOSAIC_Close")),
          FingerQuality(library.Get<decltype(FingerQuality)>("MOSAIC_FingerQuality")),
          ImageQuality(library.Get<decltype(ImageQuality)>("MOSAIC_ImageQuality")),
          SetRollMode(library.Get<decltype(SetRollMode)>("MOSAIC_SetRollMode")),
          IsFinger(library.Get<decltype(IsFinger)>("MOSAIC_IsFinger")),
          Start(library.Get<decltype(Start)>("MOSAIC_Start")),
          DoMosaic(library.Get<decltype(DoMosaic)>("MOSAIC_DoMosaic")),
          Stop(library.Get<decltype(Stop)>("MOSAIC_Stop")) {}

    int(__stdcall* Init)();
    int(__stdcall* Close)();
    int(__stdcall* FingerQuality)(unsigned char*, int, int);
    int(__stdcall* ImageQuality)(unsigned char*, int, int);
    int(__stdcall* SetRollMode)(int);
    int(__stdcall* IsFinger)(unsigned char*, int, int);
    int(__stdcall* Start)(unsigned char*, int, int);
    int(__stdcall* DoMosaic)(unsigned char*, int, int);
    int(__stdcall* Stop)();
};

}  // namespace kv90sim_test
