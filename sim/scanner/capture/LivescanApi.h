#pragma once
// The capture library's entry points, standard calling convention, exported
// under their plain names (see GALS7302.def).

#include <windows.h>

extern "C" {
int __stdcall LIVESCAN_Init();
int __stdcall LIVESCAN_Close();
int __stdcall LIVESCAN_SetVideoWindow(HWND window);
int __stdcall LIVESCAN_SetCaptWindow(int channel, int left, int top, int width, int height);
int __stdcall LIVESCAN_SaveToFile(unsigned char* data, int width, int height, const char* path, int flag);
int __stdcall LIVESCAN_BeginCapture(int channel);
int __stdcall LIVESCAN_GetFPRawData(int channel, unsigned char* buffer);
int __stdcall LIVESCAN_EndCapture(int channel);
int __stdcall LIVESCAN_GetErrorInfo(int code, char* text);
int __stdcall LIVESCAN_GetBright(int channel, int* value);
int __stdcall LIVESCAN_SetBright(int channel, int value);
int __stdcall LIVESCAN_GetContrast(int channel, int* value);
int __stdcall LIVESCAN_SetContrast(int channel, int value);
}
