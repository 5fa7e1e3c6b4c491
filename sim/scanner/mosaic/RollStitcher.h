#pragma once
// Builds the finished finger image from successive frames into the caller's
// buffer.
//
// Rolling: a rolled finger does not slip, so each point of skin stays at one
// place on the glass while it is in contact.  The image is therefore the
// darkest value each pixel has shown while inside the contact patch; the pale
// edges of the patch are left out because the centre of a later frame covers
// them better.
// Flat: the image is the latest frame.

#include <cstdint>

#include "ContactAnalysis.h"

namespace kv90sim {

enum class StitchResult {
    NewImage = 1,    // the image changed
    NothingNew = 2,  // the finger is there but added nothing
    Lifted = 0,      // the finger has gone
};

enum class RollMode { Flat = 0, Roll = 1 };

class RollStitcher {
public:
    // Clears `target` to white and starts a new image there.
    void Start(std::uint8_t* target, int width, int height, RollMode mode);
    StitchResult Step(const std::uint8_t* frame);

private:
    StitchResult Roll(const std::uint8_t* frame, const GreyLevels& levels);
    StitchResult Flat(const std::uint8_t* frame, int ridgePixels);

    std::uint8_t* target_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    RollMode mode_ = RollMode::Roll;
    ColumnProfile profile_;
    int shownRidgePixels_ = 0;
};

}  // namespace kv90sim
