#pragma once
// The simulated mosaic library behind its entry points: finger detection,
// one stitching run at a time into the caller's buffer, and quality scores.
// The program calls it from its capture thread and, for the scores, from its
// GUI thread; the lock keeps those apart.

#include <cstdint>
#include <mutex>

#include "RollStitcher.h"

namespace kv90sim {

inline constexpr int kMosaicOk = 1;
inline constexpr int kMosaicBadParameter = -1;
inline constexpr int kMosaicNotReady = -2;    // MOSAIC_Init has not been called
inline constexpr int kMosaicNotStarted = -3;  // no MOSAIC_Start since the last stop

class MosaicEngine {
public:
    static MosaicEngine& Instance();

    int Init();
    int Close();
    // 0 flat, 1 rolled; anything else is refused.
    int SetRollMode(int mode);
    // 1 when a finger lies on the scanner, 0 when not.
    int IsFinger(const std::uint8_t* image, int width, int height);
    int Start(std::uint8_t* target, int width, int height);
    // 1 new image in the buffer, 2 nothing new, 0 the finger has been lifted.
    int DoMosaic(const std::uint8_t* frame, int width, int height);
    int Stop();
    int FingerQuality(const std::uint8_t* image, int width, int height);
    int ImageQuality(const std::uint8_t* image, int width, int height);

private:
    std::mutex mutex_;
    bool ready_ = false;
    bool started_ = false;
    int width_ = 0;
    int height_ = 0;
    RollMode mode_ = RollMode::Roll;
    RollStitcher stitcher_;
};

}  // namespace kv90sim
