#include "records/EncodedFingers.h"

#include "records/FingerPositions.h"
#include "records/ImageEncoding.h"

namespace kv90rec {

bool EncodeFingers(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                   std::vector<EncodedFinger>& encoded, std::string& error) {
    encoded.clear();
    if (person.fingers.empty()) {
        error = "no finger was captured";
        return false;
    }
    const ImageOptions options{config.wsqBitRate};
    for (const CapturedFinger& finger : person.fingers) {
        EncodedFinger one;
        one.finger = &finger;
        one.position = FingerPositionOfSlot(finger.slot);
        if (one.position == 0) {
            error = "slot " + std::to_string(finger.slot) + " is no finger slot";
            return false;
        }
        if (!EncodeImage(finger.image, format, options, one.image, error)) return false;
        encoded.push_back(std::move(one));
    }
    return true;
}

}  // namespace kv90rec
