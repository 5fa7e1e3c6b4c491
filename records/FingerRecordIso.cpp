#include "records/FingerRecordIso.h"

#include "records/EncodedFingers.h"

namespace kv90rec {

namespace {

constexpr size_t kGeneralHeaderSize = 32;
constexpr size_t kViewHeaderSize = 14;
constexpr int kScaleUnitsPerInch = 1;
constexpr int kImpressionLiveScanRolled = 1;
// The station keeps no quality with a slot file: "no quality reported".
constexpr int kQualityNotReported = 254;

void PutBig(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

int IsoCompressionCode(ImageFormat format) {
    switch (format) {
        case ImageFormat::Wsq: return 2;
        case ImageFormat::Jp2: return 4;
        case ImageFormat::Png: return 5;
        case ImageFormat::Bmp: break;
    }
    return -1;
}

bool WriteIsoFingerRecord(const PersonFingers& person, ImageFormat format, const RecordsConfig& config,
                          std::vector<uint8_t>& bytes, std::string& error) {
    bytes.clear();
    const int compression = IsoCompressionCode(format);
    if (compression < 0) {
        error = "a finger image record carries WSQ, PNG or JPEG 2000 images";
        return false;
    }
    std::vector<EncodedFinger> encoded;
    if (!EncodeFingers(person, format, config, encoded, error)) return false;
    std::vector<uint8_t> views;
    for (const EncodedFinger& view : encoded) {
        const CapturedFinger& finger = *view.finger;
        const std::vector<uint8_t>& image = view.image;
        PutBig(views, kViewHeaderSize + image.size(), 4);
        PutBig(views, static_cast<uint64_t>(view.position), 1);
        PutBig(views, 1, 1);  // count of views of this finger
        PutBig(views, 1, 1);  // this view's number
        PutBig(views, kQualityNotReported, 1);
        PutBig(views, kImpressionLiveScanRolled, 1);
        PutBig(views, static_cast<uint64_t>(finger.image.width), 2);
        PutBig(views, static_cast<uint64_t>(finger.image.height), 2);
        PutBig(views, 0, 1);  // reserved
        views.insert(views.end(), image.begin(), image.end());
    }
    const int ppi = person.fingers.front().image.ppi;
    bytes = {'F', 'I', 'R', 0, '0', '1', '0', 0};
    PutBig(bytes, kGeneralHeaderSize + views.size(), 6);
    PutBig(bytes, static_cast<uint64_t>(config.captureDeviceId), 2);
    PutBig(bytes, static_cast<uint64_t>(config.acquisitionLevel), 2);
    PutBig(bytes, person.fingers.size(), 1);
    PutBig(bytes, kScaleUnitsPerInch, 1);
    PutBig(bytes, static_cast<uint64_t>(ppi), 2);  // scan resolution, horizontal and vertical
    PutBig(bytes, static_cast<uint64_t>(ppi), 2);
    PutBig(bytes, static_cast<uint64_t>(ppi), 2);  // image resolution, the same: the image is not scaled
    PutBig(bytes, static_cast<uint64_t>(ppi), 2);
    PutBig(bytes, 8, 1);  // bits a pixel
    PutBig(bytes, static_cast<uint64_t>(compression), 1);
    PutBig(bytes, 0, 2);  // reserved
    bytes.insert(bytes.end(), views.begin(), views.end());
    return true;
}

}  // namespace kv90rec
