#pragma once
// How the finger moves on the glass, frame by frame: placed on one nail edge,
// rolled to the other, held, lifted, and after a pause placed again.

#include "FingerGeometry.h"
#include "../common/Settings.h"

namespace kv90sim {

// The part of the glass the finger touches in one frame: an upright ellipse.
struct Contact {
    bool present = false;
    double centreX = 0.0;
    double centreY = 0.0;
    double halfWidth = 0.0;
    double halfHeight = 0.0;
    double pressure = 0.0;  // 0..1: how dark the ridges print
};

class FingerMotion {
public:
    FingerMotion(FingerScript script, const RollTiming& timing, const FingerOutline& outline);

    // The contact of the next frame.
    Contact Next();

    // The frame within the current roll cycle (0 = first frame of the pause).
    int frameInCycle() const { return frame_; }

private:
    Contact RollContact(int frame) const;

    FingerScript script_;
    RollTiming timing_;
    FingerOutline outline_;
    int frame_ = 0;
};

}  // namespace kv90sim
