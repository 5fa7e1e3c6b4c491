#pragma once
// Where the finger lies on the 640 x 640 glass.  The rolled print covers the
// whole outline; each frame shows only the part in contact.

namespace kv90sim {

inline constexpr int kFrameWidth = 640;
inline constexpr int kFrameHeight = 640;

struct FingerOutline {
    double centreX = 320.0;
    double centreY = 350.0;
    double halfWidth = 262.0;  // nail edge to nail edge, unrolled
    double halfHeight = 305.0;
    double creaseY = 628.0;  // the first joint: no ridges below it
};

}  // namespace kv90sim
