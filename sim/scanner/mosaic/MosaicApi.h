#pragma once
// The mosaic library's entry points, standard calling convention, exported
// under their plain names (see GAMC7302.def).

extern "C" {
int __stdcall MOSAIC_Init();
int __stdcall MOSAIC_Close();
int __stdcall MOSAIC_FingerQuality(unsigned char* image, int width, int height);
int __stdcall MOSAIC_ImageQuality(unsigned char* image, int width, int height);
int __stdcall MOSAIC_SetRollMode(int mode);
int __stdcall MOSAIC_IsFinger(unsigned char* image, int width, int height);
int __stdcall MOSAIC_Start(unsigned char* target, int width, int height);
int __stdcall MOSAIC_DoMosaic(unsigned char* frame, int width, int height);
int __stdcall MOSAIC_Stop();
}
