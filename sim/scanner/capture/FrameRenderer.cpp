#include "FrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Random.h"

namespace kv90sim {
namespace {

constexpr int kPixels = kFrameWidth * kFrameHeight;
constexpr int kNoiseSlack = 16384;
constexpr double kEdgeFade = 14.0;  // pixels over which the skin's contact fades out

std::vector<std::uint8_t> MakeGlass(Random& random) {
    std::vector<std::uint8_t> glass(kPixels);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const double dx = (x - kFrameWidth / 2.0) / kFrameWidth;
            const double dy = (y - kFrameHeight / 2.0) / kFrameHeight;
            const double lit = 244.0 - 40.0 * (dx * dx + dy * dy) + random.Between(-1.5, 1.5);
            glass[y * kFrameWidth + x] = static_cast<std::uint8_t>(lit);
        }
    }
    for (int i = 0; i < 40; ++i) {
        const int x = static_cast<int>(random.Unit() * (kFrameWidth - 2));
        const int y = static_cast<int>(random.Unit() * (kFrameHeight - 2));
        const int dark = static_cast<int>(random.Between(20.0, 70.0));
        for (int j = 0; j < 4; ++j) {
            std::uint8_t& p = glass[(y + j / 2) * kFrameWidth + x + j % 2];
            p = static_cast<std::uint8_t>(std::max(0, p - dark));
        }
    }
    return glass;
}

}  // namespace

FrameRenderer::FrameRenderer(const FingerTexture& texture, std::uint32_t seed)
    : texture_(texture), scene_(kPixels), noise_(kPixels + kNoiseSlack), noiseState_(seed | 1u) {
    Random random(seed ^ 0x5CA77E5u);
    glass_ = MakeGlass(random);
    for (std::uint8_t& n : noise_) n = static_cast<std::uint8_t>(random.Next() % kNoiseSpan);
    SetTone(MakeToneCurve(kDefaultBright, kDefaultContrast));
}

void FrameRenderer::SetTone(const ToneCurve& curve) {
    // Index v + n stands for grey v with noise n - kNoiseSpan/2, clamped.
    for (int i = 0; i < 256 + kNoiseSpan; ++i) tone_[i] = curve[std::clamp(i - kNoiseSpan / 2, 0, 255)];
}

void FrameRenderer::DrawContact(const Contact& contact) {
    const int pressure = static_cast<int>(contact.pressure * 256.0);
    const int top = std::max(0, static_cast<int>(std::ceil(contact.centreY - contact.halfHeight)));
    const int bottom = std::min(kFrameHeight - 1, static_cast<int>(contact.centreY + contact.halfHeight));
    for (int y = top; y <= bottom; ++y) {
        const double dy = (y - contact.centreY) / contact.halfHeight;
        const double reach = contact.halfWidth * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        if (reach < 1.0) continue;
        // Towards the top and bottom of the patch the skin barely touches.
        const double rowWeight = std::min(1.0, (1.0 - std::fabs(dy)) * contact.halfHeight / kEdgeFade);
        const int left = std::max(0, static_cast<int>(std::ceil(contact.centreX - reach)));
        const int right = std::min(kFrameWidth - 1, static_cast<int>(contact.centreX + reach));
        const std::uint8_t* skin = texture_.row(y);
        std::uint8_t* scene = scene_.data() + y * kFrameWidth;
        for (int x = left; x <= right; ++x) {
            const int s = skin[x];
            if (s == FingerTexture::kNoSkin) continue;
            const double edge = std::min(1.0, (reach - std::fabs(x - contact.centreX)) / kEdgeFade) * rowWeight;
            const int weight = static_cast<int>(edge * pressure);
            scene[x] = static_cast<std::uint8_t>(scene[x] + (((s - scene[x]) * weight) >> 8));
        }
    }
}

void FrameRenderer::Render(const Contact& contact, std::uint8_t* out) {
    std::memcpy(scene_.data(), glass_.data(), kPixels);
    if (contact.present && contact.halfWidth > 0.0 && contact.halfHeight > 0.0) DrawContact(contact);
    noiseState_ = noiseState_ * 1664525u + 1013904223u;
    const std::uint8_t* noise = noise_.data() + (noiseState_ >> 8) % kNoiseSlack;
    const std::uint8_t* scene = scene_.data();
    for (int i = 0; i < kPixels; ++i) out[i] = tone_[scene[i] + noise[i]];
}

}  // namespace kv90sim
