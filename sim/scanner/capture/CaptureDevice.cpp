#include "CaptureDevice.h"

#include <mmsystem.h>

#include <cstring>
#include <new>

#include "../common/FileIo.h"
#include "BmpWriter.h"
#include "CaptureCodes.h"

namespace kv90sim {
namespace {

constexpr int kLargestSavedSide = 4096;

bool SameTiming(const RollTiming& a, const RollTiming& b) {
    return a.gapFrames == b.gapFrames && a.placeFrames == b.placeFrames && a.rollFrames == b.rollFrames &&
           a.holdFrames == b.holdFrames && a.liftFrames == b.liftFrames;
}

bool IsLevel(int value) { return value >= 0 && value <= 255; }

}  // namespace

CaptureDevice& CaptureDevice::Instance() {
    static CaptureDevice device;
    return device;
}

int CaptureDevice::Init(const DeviceSettings& settings) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (open_) return kCaptureOk;
    try {
        if (!texture_ || textureSeed_ != settings.seed) {
            renderer_.reset();
            texture_.emplace(MakeFingerTexture(FingerOutline{}, settings.seed));
            textureSeed_ = settings.seed;
        }
        if (!renderer_) renderer_ = std::make_unique<FrameRenderer>(*texture_, settings.seed);
        frame_.resize(static_cast<size_t>(kFrameWidth) * kFrameHeight);
    } catch (const std::bad_alloc&) {
        return kCaptureNoMemory;
    }
    motion_.emplace(settings.finger, settings.timing, FingerOutline{});
    script_ = settings.finger;
    timing_ = settings.timing;
    generation_ = settings.generation;
    window_ = Window{};
    toneBright_ = -1;
    // Sleeping to the millisecond keeps the frame period even on Windows.
    timerRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    open_ = true;
    return kCaptureOk;
}

int CaptureDevice::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureOk;
    open_ = false;
    video_.Attach(nullptr);
    if (timerRaised_) timeEndPeriod(1);
    timerRaised_ = false;
    return kCaptureOk;
}

int CaptureDevice::SetVideoWindow(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    if (window != nullptr && !IsWindow(window)) return kCaptureBadParameter;
    video_.Attach(window);
    return kCaptureOk;
}

int CaptureDevice::SetCaptWindow(int channel, int left, int top, int width, int height) {
    if (channel != 0 || left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > kFrameWidth ||
        top + height > kFrameHeight) {
        return kCaptureBadParameter;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    window_ = Window{left, top, width, height};
    return kCaptureOk;
}

int CaptureDevice::BeginCapture(int channel) {
    if (channel != 0) return kCaptureBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ ? kCaptureOk : kCaptureNotOpen;
}

int CaptureDevice::EndCapture(int channel) { return BeginCapture(channel); }

void CaptureDevice::AwaitFrame(const DeviceSettings& settings) {
    const unsigned wait = pacer_.Wait(SteadyMilliseconds(), settings.paceMs);
    if (wait > 0) Sleep(wait);
}

void CaptureDevice::FollowSettings(const DeviceSettings& settings) {
    if (settings.generation != generation_) {
        generation_ = settings.generation;
        // Only a changed finger script starts the finger's cycle again, so a
        // test can change the pace or a fault without disturbing a roll.
        if (settings.finger != script_ || !SameTiming(settings.timing, timing_)) {
            motion_.emplace(settings.finger, settings.timing, FingerOutline{});
            script_ = settings.finger;
            timing_ = settings.timing;
        }
    }
    const int bright = bright_.load();
    const int contrast = contrast_.load();
    if (bright != toneBright_ || contrast != toneContrast_) {
        renderer_->SetTone(MakeToneCurve(bright, contrast));
        toneBright_ = bright;
        toneContrast_ = contrast;
    }
}

void CaptureDevice::Deliver(std::uint8_t* buffer) {
    if (window_.width == kFrameWidth && window_.height == kFrameHeight) {
        std::memcpy(buffer, frame_.data(), frame_.size());
        return;
    }
    for (int y = 0; y < window_.height; ++y) {
        std::memcpy(buffer + static_cast<size_t>(y) * window_.width,
                    frame_.data() + static_cast<size_t>(window_.top + y) * kFrameWidth + window_.left, window_.width);
    }
}

int CaptureDevice::GetFPRawData(int channel, std::uint8_t* buffer, const DeviceSettings& settings) {
    if (channel != 0 || buffer == nullptr) return kCaptureBadParameter;
    Window window;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) return kCaptureNotOpen;
        FollowSettings(settings);
        renderer_->Render(motion_->Next(), frame_.data());
        Deliver(buffer);
        window = window_;
    }
    video_.Show(buffer, window.width, window.height, SteadyMilliseconds());
    return kCaptureOk;
}

int CaptureDevice::GetBright(int channel, int* value) const {
    if (channel != 0 || value == nullptr) return kCaptureBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    *value = bright_.load();
    return kCaptureOk;
}

int CaptureDevice::SetBright(int channel, int value) {
    if (channel != 0 || !IsLevel(value)) return kCaptureBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    bright_.store(value);
    return kCaptureOk;
}

int CaptureDevice::GetContrast(int channel, int* value) const {
    if (channel != 0 || value == nullptr) return kCaptureBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    *value = contrast_.load();
    return kCaptureOk;
}

int CaptureDevice::SetContrast(int channel, int value) {
    if (channel != 0 || !IsLevel(value)) return kCaptureBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return kCaptureNotOpen;
    contrast_.store(value);
    return kCaptureOk;
}

int CaptureDevice::SaveToFile(const std::uint8_t* image, int width, int height, const char* path, int /*flag*/) {
    if (image == nullptr || path == nullptr || *path == '\0' || width <= 0 || height <= 0 ||
        width > kLargestSavedSide || height > kLargestSavedSide) {
        return kCaptureBadParameter;
    }
    std::lock_guard<std::mutex> lock(bmpMutex_);
    try {
        EncodeGreyBmp(image, width, height, bmp_);
    } catch (const std::bad_alloc&) {
        return kCaptureNoMemory;
    }
    return WriteWholeFile(path, bmp_.data(), bmp_.size()) ? kCaptureOk : kCaptureFileError;
}

}  // namespace kv90sim
