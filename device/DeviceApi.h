// The live-scan device interface of the scanner's two libraries: the capture
// library and the mosaic (rolled image) library. Every entry point is
// stdcall and deals in 32-bit integers, byte buffers and narrow paths; the
// channel argument is always 0.
#pragma once

#include <windows.h>

extern "C" {
typedef int(__stdcall* TLIVESCAN_Init)();
typedef int(__stdcall* TLIVESCAN_Close)();
typedef int(__stdcall* TLIVESCAN_SetVideoWindow)(HWND window);
typedef int(__stdcall* TLIVESCAN_SetCaptWindow)(int channel, int left, int top, int width, int height);
typedef int(__stdcall* TLIVESCAN_SaveToFile)(unsigned char* image, int width, int height, const char* path, int flag);
typedef int(__stdcall* TLIVESCAN_BeginCapture)(int channel);
typedef int(__stdcall* TLIVESCAN_GetFPRawData)(int channel, unsigned char* buffer);
typedef int(__stdcall* TLIVESCAN_EndCapture)(int channel);
typedef int(__stdcall* TLIVESCAN_GetErrorInfo)(int code, char* text);
typedef int(__stdcall* TLIVESCAN_GetBright)(int channel, int* value);
typedef int(__stdcall* TLIVESCAN_SetBright)(int channel, int value);
typedef int(__stdcall* TLIVESCAN_GetContrast)(int channel, int* value);
typedef int(__stdcall* TLIVESCAN_SetContrast)(int channel, int value);
typedef int(__stdcall* TMOSAIC_Init)();
typedef int(__stdcall* TMOSAIC_Close)();
typedef int(__stdcall* TMOSAIC_FingerQuality)(unsigned char* image, int width, int height);
typedef int(__stdcall* TMOSAIC_ImageQuality)(unsigned char* image, int width, int height);
typedef int(__stdcall* TMOSAIC_SetRollMode)(int mode);
typedef int(__stdcall* TMOSAIC_IsFinger)(unsigned char* image, int width, int height);
typedef int(__stdcall* TMOSAIC_Start)(unsigned char* image, int width, int height);
typedef int(__stdcall* TMOSAIC_DoMosaic)(unsigned char* image, int width, int height);
typedef int(__stdcall* TMOSAIC_Stop)();
}
