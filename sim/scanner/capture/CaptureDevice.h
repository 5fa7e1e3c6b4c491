#pragma once
// The simulated scanner behind the capture library's entry points.
//
// The program opens and closes it and sets its brightness, contrast and video
// window on the GUI thread while a worker thread fetches frames; the lock keeps
// open, close and fetch apart, and brightness and contrast are atomics so that
// the settings dialog never waits for a frame.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "../common/Control.h"
#include "FingerMotion.h"
#include "FingerTexture.h"
#include "FramePacer.h"
#include "FrameRenderer.h"
#include "VideoWindow.h"

namespace kv90sim {

class CaptureDevice {
public:
    static CaptureDevice& Instance();

    int Init(const DeviceSettings& settings);
    int Close();
    int SetVideoWindow(HWND window);
    int SetCaptWindow(int channel, int left, int top, int width, int height);
    int BeginCapture(int channel);
    int EndCapture(int channel);

    // Blocks until the next frame is due; called before the frame is taken,
    // also when the control file makes the fetch fail or raise.
    void AwaitFrame(const DeviceSettings& settings);
    int GetFPRawData(int channel, std::uint8_t* buffer, const DeviceSettings& settings);

    int GetBright(int channel, int* value) const;
    int SetBright(int channel, int value);
    int GetContrast(int channel, int* value) const;
    int SetContrast(int channel, int value);
    int SaveToFile(const std::uint8_t* image, int width, int height, const char* path, int flag);

private:
    struct Window {
        int left = 0;
        int top = 0;
        int width = kFrameWidth;
        int height = kFrameHeight;
    };

    void FollowSettings(const DeviceSettings& settings);
    void Deliver(std::uint8_t* buffer);

    mutable std::mutex mutex_;
    bool open_ = false;
    bool timerRaised_ = false;
    Window window_;
    std::optional<FingerTexture> texture_;
    std::uint32_t textureSeed_ = 0;
    std::unique_ptr<FrameRenderer> renderer_;
    std::optional<FingerMotion> motion_;
    unsigned generation_ = 0;
    FingerScript script_ = FingerScript::Roll;
    RollTiming timing_;
    std::vector<std::uint8_t> frame_;
    std::vector<std::uint8_t> bmp_;
    std::mutex bmpMutex_;
    FramePacer pacer_;
    std::atomic<int> bright_{128};
    std::atomic<int> contrast_{128};
    int toneBright_ = -1;
    int toneContrast_ = -1;
    VideoWindow video_;
};

}  // namespace kv90sim
