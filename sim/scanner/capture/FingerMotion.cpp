#include "FingerMotion.h"

#include <algorithm>

namespace kv90sim {
namespace {

// The contact patch of a pressed finger is about a third of a rolled print wide.
constexpr double kContactHalfWidth = 108.0;
constexpr double kFlatHalfWidth = 125.0;

double Ease(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

FingerMotion::FingerMotion(FingerScript script, const RollTiming& timing, const FingerOutline& outline)
    : script_(script), timing_(timing), outline_(outline) {}

Contact FingerMotion::Next() {
    Contact contact;
    switch (script_) {
    case FingerScript::None:
        break;
    case FingerScript::Hold:
        contact.present = true;
        contact.centreX = outline_.centreX;
        contact.centreY = outline_.centreY;
        contact.halfWidth = kFlatHalfWidth;
        contact.halfHeight = outline_.halfHeight * 0.93;
        contact.pressure = 1.0;
        break;
    case FingerScript::Roll: {
        const int cycle =
            timing_.gapFrames + timing_.placeFrames + timing_.rollFrames + timing_.holdFrames + timing_.liftFrames;
        contact = RollContact(frame_);
        frame_ = (frame_ + 1) % std::max(cycle, 1);
        break;
    }
    }
    return contact;
}

Contact FingerMotion::RollContact(int frame) const {
    Contact contact;
    const double leftX = outline_.centreX - outline_.halfWidth + kContactHalfWidth * 0.8;
    const double rightX = outline_.centreX + outline_.halfWidth - kContactHalfWidth * 0.8;
    contact.centreY = outline_.centreY;
    contact.halfHeight = outline_.halfHeight * 0.93;

    frame -= timing_.gapFrames;
    if (frame < 0) return contact;
    contact.present = true;
    if (frame < timing_.placeFrames) {
        const double t = (frame + 1.0) / timing_.placeFrames;
        contact.centreX = leftX;
        contact.halfWidth = kContactHalfWidth * (0.45 + 0.55 * t);
        contact.pressure = 0.5 + 0.5 * t;
        return contact;
    }
    frame -= timing_.placeFrames;
    contact.halfWidth = kContactHalfWidth;
    contact.pressure = 1.0;
    if (frame < timing_.rollFrames) {
        contact.centreX = leftX + (rightX - leftX) * Ease((frame + 1.0) / timing_.rollFrames);
        return contact;
    }
    frame -= timing_.rollFrames;
    contact.centreX = rightX;
    if (frame < timing_.holdFrames) return contact;
    frame -= timing_.holdFrames;
    // Lifting: the patch shrinks and the print pales, then nothing is left.
    const double t = 1.0 - (frame + 1.0) / (timing_.liftFrames + 1.0);
    contact.halfWidth = kContactHalfWidth * t;
    contact.halfHeight *= 0.5 + 0.5 * t;
    contact.pressure = t;
    return contact;
}

}  // namespace kv90sim
