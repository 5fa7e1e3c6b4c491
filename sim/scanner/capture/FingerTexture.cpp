#include "FingerTexture.h"

#include <algorithm>
#include <cmath>

#include "Random.h"

namespace kv90sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRidgePeriod = 9.5;  // pixels from ridge to ridge at 500 dpi
constexpr int kMinutiae = 44;
constexpr int kPores = 2600;
constexpr int kCreases = 5;
constexpr double kValleyGrey = 200.0;
constexpr double kRidgeGrey = 28.0;
constexpr int kLightestSkin = 250;  // stays below kNoSkin

// atan2 to about 0.005 radians, several times faster than the library's; the
// ridge phase needs one per ridge ending per pixel.
float FastAtan2(float y, float x) {
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (ax == 0.0f && ay == 0.0f) return 0.0f;
    const float a = std::min(ax, ay) / std::max(ax, ay);
    const float s = a * a;
    float r = ((-0.0464964749f * s + 0.15931422f) * s - 0.327622764f) * s * a + a;
    if (ay > ax) r = 1.57079637f - r;
    if (x < 0.0f) r = 3.14159274f - r;
    return y < 0.0f ? -r : r;
}

double SmoothStep(double low, double high, double x) {
    const double t = std::clamp((x - low) / (high - low), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

enum class Pattern { LeftLoop, RightLoop, Whorl };

// A ridge ending or bifurcation: a point around which the ridge phase turns
// once, which inserts or removes exactly one ridge on one side of it.
struct Minutia {
    float x;
    float y;
    float turn;  // +1 or -1
};

struct Wave {
    double amplitude;
    double frequency;
    double shift;
};

// The ridge pattern as a phase field: the ridges are where its cosine is 1.
// A distance-like function around the core gives the pattern's class (a
// hairpin for loops, nested ovals for a whorl), gentle waves bend it like real
// skin, and single phase turns add the ridge endings and bifurcations.
class RidgeField {
public:
    RidgeField(const FingerOutline& outline, Random& random) {
        const double kind = random.Unit();
        pattern_ = kind < 0.4 ? Pattern::LeftLoop : kind < 0.75 ? Pattern::RightLoop : Pattern::Whorl;
        coreX_ = outline.centreX + random.Between(-30.0, 30.0);
        coreY_ = outline.centreY - outline.halfHeight * random.Between(0.05, 0.22);
        const double lean = random.Between(0.35, 0.6) * (pattern_ == Pattern::RightLoop ? 1.0 : -1.0);
        const double length = std::hypot(lean, 1.0);
        loopX_ = lean / length;
        loopY_ = 1.0 / length;
        for (Wave& wave : waves_) {
            wave = Wave{random.Between(2.0, 6.0), random.Between(2 * kPi / 260.0, 2 * kPi / 140.0),
                        random.Between(0.0, 2 * kPi)};
        }
        for (int i = 0; i < kMinutiae; ++i) {
            Minutia m{};
            do {
                const double angle = random.Between(0.0, 2 * kPi);
                const double radius = std::sqrt(random.Unit()) * 0.95;
                m.x = static_cast<float>(outline.centreX + std::cos(angle) * radius * outline.halfWidth);
                m.y = static_cast<float>(outline.centreY + std::sin(angle) * radius * outline.halfHeight);
            } while (std::hypot(m.x - coreX_, m.y - coreY_) < 30.0);
            m.turn = random.Unit() < 0.5 ? -1.0f : 1.0f;
            minutiae_[i] = m;
        }
    }

    double Phase(double x, double y) const {
        const double wx = x + waves_[0].amplitude * std::sin(y * waves_[0].frequency + waves_[0].shift) +
                          waves_[1].amplitude * std::sin((x + y) * waves_[1].frequency + waves_[1].shift);
        const double wy = y + waves_[2].amplitude * std::sin(x * waves_[2].frequency + waves_[2].shift) +
                          waves_[3].amplitude * std::sin((x - y) * waves_[3].frequency + waves_[3].shift);
        const double u = wx - coreX_;
        const double v = wy - coreY_;
        double phase = 0.0;
        if (pattern_ == Pattern::Whorl) {
            phase = 2 * kPi * std::hypot(u, v * 0.8) / kRidgePeriod +
                    FastAtan2(static_cast<float>(v), static_cast<float>(u));
        } else {
            // Distance to a hairpin running from the core out of the finger:
            // ridges recurve over the core and leave on the loop's side.
            const double along = std::max(0.0, u * loopX_ + v * loopY_);
            phase = 2 * kPi * std::hypot(u - along * loopX_, v - along * loopY_) / kRidgePeriod;
        }
        const float fx = static_cast<float>(wx);
        const float fy = static_cast<float>(wy);
        float turns = 0.0f;
        for (const Minutia& m : minutiae_) turns += m.turn * FastAtan2(fy - m.y, fx - m.x);
        return phase + turns;
    }

private:
    Pattern pattern_;
    double coreX_;
    double coreY_;
    double loopX_;
    double loopY_;
    Wave waves_[4];
    Minutia minutiae_[kMinutiae];
};

// How strongly the skin prints at a point: full inside, fading towards the
// outline and the joint, zero outside.
double SkinWeight(const FingerOutline& outline, double x, double y) {
    if (y >= outline.creaseY) return 0.0;
    const double dx = (x - outline.centreX) / outline.halfWidth;
    const double dy = (y - outline.centreY) / outline.halfHeight;
    const double inside = 1.0 - (dx * dx + dy * dy);
    if (inside <= 0.0) return 0.0;
    return SmoothStep(0.0, 0.1, inside) * SmoothStep(0.0, 14.0, outline.creaseY - y);
}

void DrawRidges(const FingerOutline& outline, Random& random, FingerTexture& texture) {
    const RidgeField field(outline, random);
    const Wave ink[2] = {{0.18, random.Between(0.02, 0.04), random.Between(0.0, 6.0)},
                         {0.12, random.Between(0.03, 0.05), random.Between(0.0, 6.0)}};
    for (int y = 0; y < texture.height(); ++y) {
        std::uint8_t* row = texture.row(y);
        for (int x = 0; x < texture.width(); ++x) {
            const double weight = SkinWeight(outline, x, y);
            if (weight <= 0.0) continue;
            const double ridge = SmoothStep(0.3, 0.75, 0.5 + 0.5 * std::cos(field.Phase(x, y)));
            const double pressure = 0.7 + ink[0].amplitude * std::sin(x * ink[0].frequency + ink[0].shift) +
                                    ink[1].amplitude * std::sin(y * ink[1].frequency + ink[1].shift);
            const double grey =
                kValleyGrey - (kValleyGrey - kRidgeGrey) * ridge * pressure * weight + random.Between(-9.0, 9.0);
            row[x] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(grey), 0, kLightestSkin));
        }
    }
}

void Lighten(FingerTexture& texture, int x, int y, int amount) {
    if (x < 0 || y < 0 || x >= texture.width() || y >= texture.height()) return;
    std::uint8_t& pixel = texture.row(y)[x];
    if (pixel == FingerTexture::kNoSkin) return;
    pixel = static_cast<std::uint8_t>(std::min(pixel + amount, kLightestSkin));
}

// Sweat pores: light dots that sit on the ridges.
void DrawPores(Random& random, FingerTexture& texture) {
    for (int i = 0; i < kPores; ++i) {
        const int x = static_cast<int>(random.Unit() * texture.width());
        const int y = static_cast<int>(random.Unit() * texture.height());
        if (texture.row(y)[x] > 90) continue;
        Lighten(texture, x, y, 110);
        Lighten(texture, x - 1, y, 55);
        Lighten(texture, x + 1, y, 55);
        Lighten(texture, x, y - 1, 55);
        Lighten(texture, x, y + 1, 55);
    }
}

// Skin folds: thin light lines across the ridges.
void DrawCreases(const FingerOutline& outline, Random& random, FingerTexture& texture) {
    for (int i = 0; i < kCreases; ++i) {
        const double startX = outline.centreX + random.Between(-0.8, 0.4) * outline.halfWidth;
        const double length = random.Between(40.0, 160.0);
        const double baseY = outline.centreY + random.Between(-0.3, 0.85) * outline.halfHeight;
        const double slope = random.Between(-0.3, 0.3);
        const double bend = random.Between(2.0, 8.0);
        for (double x = startX; x < startX + length; x += 0.5) {
            const double y = baseY + (x - startX) * slope + bend * std::sin((x - startX) / length * kPi);
            Lighten(texture, static_cast<int>(x), static_cast<int>(y), 65);
            Lighten(texture, static_cast<int>(x), static_cast<int>(y) + 1, 35);
        }
    }
}

}  // namespace

FingerTexture MakeFingerTexture(const FingerOutline& outline, std::uint32_t seed) {
    Random random(seed);
    FingerTexture texture(kFrameWidth, kFrameHeight);
    DrawRidges(outline, random, texture);
    DrawPores(random, texture);
    DrawCreases(outline, random, texture);
    return texture;
}

}  // namespace kv90sim
