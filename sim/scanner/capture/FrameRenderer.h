#pragma once
// Composes the 640 x 640 frames: the glass, the finger's skin where it touches,
// sensor noise, and the brightness and contrast.  Everything costly is prepared
// once, so a frame is one masked copy and one table pass.

#include <cstdint>
#include <vector>

#include "FingerMotion.h"
#include "FingerTexture.h"
#include "ToneCurve.h"

namespace kv90sim {

class FrameRenderer {
public:
    FrameRenderer(const FingerTexture& texture, std::uint32_t seed);

    void SetTone(const ToneCurve& curve);

    // Writes one kFrameWidth x kFrameHeight frame to `out`.
    void Render(const Contact& contact, std::uint8_t* out);

private:
    void DrawContact(const Contact& contact);

    static constexpr int kNoiseSpan = 9;  // sensor noise of +-4 grey levels

    const FingerTexture& texture_;
    std::vector<std::uint8_t> glass_;  // the empty glass, lit unevenly, with dust
    std::vector<std::uint8_t> scene_;  // glass and skin before noise and tone
    std::vector<std::uint8_t> noise_;  // 0..kNoiseSpan-1, read from a moving offset
    std::uint8_t tone_[256 + kNoiseSpan] = {};
    std::uint32_t noiseState_;
};

}  // namespace kv90sim
