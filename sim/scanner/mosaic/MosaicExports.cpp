// The mosaic library's entry points: each one passes through the control file
// (forced results, faults, journal) to the simulated mosaic engine.

#include "MosaicApi.h"

#include <string>

#include "../common/CallThrough.h"
#include "MosaicEngine.h"

using kv90sim::CallThrough;
using kv90sim::Entry;
using kv90sim::MosaicEngine;

namespace {

std::string Size(int width, int height) { return std::to_string(width) + ", " + std::to_string(height); }

std::string Nothing() { return std::string(); }

}  // namespace

extern "C" {

int __stdcall MOSAIC_Init() {
    return CallThrough(
        Entry::MosaicInit, [] { return MosaicEngine::Instance().Init(); }, Nothing);
}

int __stdcall MOSAIC_Close() {
    return CallThrough(
        Entry::MosaicClose, [] { return MosaicEngine::Instance().Close(); }, Nothing);
}

int __stdcall MOSAIC_FingerQuality(unsigned char* image, int width, int height) {
    return CallThrough(
        Entry::MosaicFingerQuality, [&] { return MosaicEngine::Instance().FingerQuality(image, width, height); },
        [&] { return Size(width, height); });
}

int __stdcall MOSAIC_ImageQuality(unsigned char* image, int width, int height) {
    return CallThrough(
        Entry::MosaicImageQuality, [&] { return MosaicEngine::Instance().ImageQuality(image, width, height); },
        [&] { return Size(width, height); });
}

int __stdcall MOSAIC_SetRollMode(int mode) {
    return CallThrough(
        Entry::MosaicSetRollMode, [&] { return MosaicEngine::Instance().SetRollMode(mode); },
        [&] { return std::to_string(mode); });
}

int __stdcall MOSAIC_IsFinger(unsigned char* image, int width, int height) {
    return CallThrough(
        Entry::MosaicIsFinger, [&] { return MosaicEngine::Instance().IsFinger(image, width, height); },
        [&] { return Size(width, height); });
}

int __stdcall MOSAIC_Start(unsigned char* target, int width, int height) {
    return CallThrough(
        Entry::MosaicStart, [&] { return MosaicEngine::Instance().Start(target, width, height); },
        [&] { return Size(width, height); });
}

int __stdcall MOSAIC_DoMosaic(unsigned char* frame, int width, int height) {
    return CallThrough(
        Entry::MosaicDoMosaic, [&] { return MosaicEngine::Instance().DoMosaic(frame, width, height); },
        [&] { return Size(width, height); });
}

int __stdcall MOSAIC_Stop() {
    return CallThrough(
        Entry::MosaicStop, [] { return MosaicEngine::Instance().Stop(); }, Nothing);
}

}  // extern "C"
