#include "MosaicEngine.h"

#include <new>

#include "Quality.h"

namespace kv90sim {
namespace {

constexpr int kLargestSide = 4096;

bool ValidImage(const void* image, int width, int height) {
    return image != nullptr && width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide;
}

}  // namespace

MosaicEngine& MosaicEngine::Instance() {
    static MosaicEngine engine;
    return engine;
}

int MosaicEngine::Init() {
    std::lock_guard<std::mutex> lock(mutex_);
    ready_ = true;
    return kMosaicOk;
}

int MosaicEngine::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    ready_ = false;
    started_ = false;
    return kMosaicOk;
}

int MosaicEngine::SetRollMode(int mode) {
    if (mode != static_cast<int>(RollMode::Flat) && mode != static_cast<int>(RollMode::Roll)) {
        return kMosaicBadParameter;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ready_) return kMosaicNotReady;
    mode_ = static_cast<RollMode>(mode);
    return kMosaicOk;
}

int MosaicEngine::IsFinger(const std::uint8_t* image, int width, int height) {
    if (!ValidImage(image, width, height)) return kMosaicBadParameter;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!ready_) return kMosaicNotReady;
    }
    const GreyLevels levels = MeasureLevels(image, width, height);
    return CountRidgePixels(image, width, height, levels) >= kPlacedRidgePixels ? 1 : 0;
}

int MosaicEngine::Start(std::uint8_t* target, int width, int height) {
    if (!ValidImage(target, width, height)) return kMosaicBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ready_) return kMosaicNotReady;
    try {
        stitcher_.Start(target, width, height, mode_);
    } catch (const std::bad_alloc&) {
        return kMosaicBadParameter;
    }
    width_ = width;
    height_ = height;
    started_ = true;
    return kMosaicOk;
}

int MosaicEngine::DoMosaic(const std::uint8_t* frame, int width, int height) {
    if (!ValidImage(frame, width, height)) return kMosaicBadParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ready_) return kMosaicNotReady;
    if (!started_) return kMosaicNotStarted;
    if (width != width_ || height != height_) return kMosaicBadParameter;
    try {
        return static_cast<int>(stitcher_.Step(frame));
    } catch (const std::bad_alloc&) {
        return kMosaicBadParameter;
    }
}

int MosaicEngine::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    started_ = false;
    return kMosaicOk;
}

int MosaicEngine::FingerQuality(const std::uint8_t* image, int width, int height) {
    if (!ValidImage(image, width, height)) return kMosaicBadParameter;
    return AssessQuality(image, width, height).finger;
}

int MosaicEngine::ImageQuality(const std::uint8_t* image, int width, int height) {
    if (!ValidImage(image, width, height)) return kMosaicBadParameter;
    return AssessQuality(image, width, height).image;
}

}  // namespace kv90sim
