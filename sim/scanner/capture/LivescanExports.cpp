// The capture library's entry points: each one passes through the control file
// (forced results, faults, journal) to the simulated device.

#include "LivescanApi.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "../common/CallThrough.h"
#include "CaptureCodes.h"
#include "CaptureDevice.h"

using kv90sim::CallThrough;
using kv90sim::CaptureDevice;
using kv90sim::Entry;

namespace {

std::string Numbers(std::initializer_list<long long> values) {
    std::string text;
    for (long long v : values) {
        if (!text.empty()) text += ", ";
        text += std::to_string(v);
    }
    return text;
}

std::string Pointer(const void* p) {
    char text[16];
    std::snprintf(text, sizeof(text), "%p", p);
    return text;
}

}  // namespace

extern "C" {

int __stdcall LIVESCAN_Init() {
    return CallThrough(
        Entry::LivescanInit, [] { return CaptureDevice::Instance().Init(kv90sim::Control::Instance().Device()); },
        [] { return std::string(); });
}

int __stdcall LIVESCAN_Close() {
    return CallThrough(
        Entry::LivescanClose, [] { return CaptureDevice::Instance().Close(); }, [] { return std::string(); });
}

int __stdcall LIVESCAN_SetVideoWindow(HWND window) {
    return CallThrough(
        Entry::LivescanSetVideoWindow, [&] { return CaptureDevice::Instance().SetVideoWindow(window); },
        [&] { return Pointer(window); });
}

int __stdcall LIVESCAN_SetCaptWindow(int channel, int left, int top, int width, int height) {
    return CallThrough(
        Entry::LivescanSetCaptWindow,
        [&] { return CaptureDevice::Instance().SetCaptWindow(channel, left, top, width, height); },
        [&] {
            return Numbers({channel, left, top, width, height});
        });
}

int __stdcall LIVESCAN_SaveToFile(unsigned char* data, int width, int height, const char* path, int flag) {
    return CallThrough(
        Entry::LivescanSaveToFile,
        [&] { return CaptureDevice::Instance().SaveToFile(data, width, height, path, flag); },
        [&] {
            return Numbers({width, height}) + ", " + (path ? path : "(null)") + ", " + std::to_string(flag);
        });
}

int __stdcall LIVESCAN_BeginCapture(int channel) {
    return CallThrough(
        Entry::LivescanBeginCapture, [&] { return CaptureDevice::Instance().BeginCapture(channel); },
        [&] { return Numbers({channel}); });
}

int __stdcall LIVESCAN_GetFPRawData(int channel, unsigned char* buffer) {
    const kv90sim::CallPlan plan = kv90sim::Control::Instance().Begin(Entry::LivescanGetFPRawData);
    // The scanner's pace holds for failing fetches too, so that a program
    // that retries at once does not spin.
    CaptureDevice::Instance().AwaitFrame(plan.device);
    return kv90sim::Conclude(
        plan, Entry::LivescanGetFPRawData,
        [&] { return CaptureDevice::Instance().GetFPRawData(channel, buffer, plan.device); },
        [&] { return Numbers({channel}); });
}

int __stdcall LIVESCAN_EndCapture(int channel) {
    return CallThrough(
        Entry::LivescanEndCapture, [&] { return CaptureDevice::Instance().EndCapture(channel); },
        [&] { return Numbers({channel}); });
}

int __stdcall LIVESCAN_GetErrorInfo(int code, char* text) {
    return CallThrough(
        Entry::LivescanGetErrorInfo,
        [&] {
            if (text == nullptr) return kv90sim::kCaptureBadParameter;
            std::strcpy(text, kv90sim::CaptureCodeText(code));
            return kv90sim::kCaptureOk;
        },
        [&] { return Numbers({code}); });
}

int __stdcall LIVESCAN_GetBright(int channel, int* value) {
    return CallThrough(
        Entry::LivescanGetBright, [&] { return CaptureDevice::Instance().GetBright(channel, value); },
        [&] { return Numbers({channel}); });
}

int __stdcall LIVESCAN_SetBright(int channel, int value) {
    return CallThrough(
        Entry::LivescanSetBright, [&] { return CaptureDevice::Instance().SetBright(channel, value); },
        [&] {
            return Numbers({channel, value});
        });
}

int __stdcall LIVESCAN_GetContrast(int channel, int* value) {
    return CallThrough(
        Entry::LivescanGetContrast, [&] { return CaptureDevice::Instance().GetContrast(channel, value); },
        [&] { return Numbers({channel}); });
}

int __stdcall LIVESCAN_SetContrast(int channel, int value) {
    return CallThrough(
        Entry::LivescanSetContrast, [&] { return CaptureDevice::Instance().SetContrast(channel, value); },
        [&] {
            return Numbers({channel, value});
        });
}

}  // extern "C"
