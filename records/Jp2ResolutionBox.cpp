#include "records/Jp2ResolutionBox.h"

namespace kv90rec {

namespace {

uint32_t ReadBig32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void PutBig32(uint8_t* p, uint32_t value) {
    p[0] = uint8_t(value >> 24);
    p[1] = uint8_t(value >> 16);
    p[2] = uint8_t(value >> 8);
    p[3] = uint8_t(value);
}

void AppendBig16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void AppendBoxHeader(std::vector<uint8_t>& out, uint32_t length, const char* type) {
    const size_t at = out.size();
    out.resize(at + 4);
    PutBig32(out.data() + at, length);
    out.insert(out.end(), type, type + 4);
}

}  // namespace

Jp2Resolution Jp2ResolutionOfPpi(int ppi) {
    // 1 inch is 0.0254 m: ppi / 0.0254 = (ppi * 100 / 254) * 10^2 per metre.
    if (ppi > 0 && ppi <= 655) return {static_cast<uint16_t>(ppi * 100), 254, 2};
    if (ppi > 655 && ppi <= 6553) return {static_cast<uint16_t>(ppi * 10), 254, 3};
    return {};
}

bool AddCaptureResolution(std::vector<uint8_t>& jp2, int ppi, std::string& error) {
    const Jp2Resolution resolution = Jp2ResolutionOfPpi(ppi);
    if (resolution.numerator == 0) {
        error = "JPEG 2000: no capture resolution box for " + std::to_string(ppi) + " ppi";
        return false;
    }
    size_t at = 0;
    while (at + 8 <= jp2.size()) {
        const uint32_t length = ReadBig32(jp2.data() + at);
        const bool header = jp2[at + 4] == 'j' && jp2[at + 5] == 'p' && jp2[at + 6] == '2' && jp2[at + 7] == 'h';
        // A length of 0 (to the end) or 1 (a 64-bit length follows) is never
        // written for the header box; a file with one is not grown.
        if (length < 8 || length > jp2.size() - at) break;
        if (!header) {
            at += length;
            continue;
        }
        std::vector<uint8_t> box;
        const uint32_t captureLength = 8 + 10;
        AppendBoxHeader(box, 8 + captureLength, "res ");
        AppendBoxHeader(box, captureLength, "resc");
        AppendBig16(box, resolution.numerator);  // vertical
        AppendBig16(box, resolution.denominator);
        AppendBig16(box, resolution.numerator);  // horizontal
        AppendBig16(box, resolution.denominator);
        box.push_back(static_cast<uint8_t>(resolution.exponent));
        box.push_back(static_cast<uint8_t>(resolution.exponent));
        jp2.insert(jp2.begin() + static_cast<std::ptrdiff_t>(at + length), box.begin(), box.end());
        PutBig32(jp2.data() + at, length + static_cast<uint32_t>(box.size()));
        return true;
    }
    error = "JPEG 2000: the file has no JP2 header box";
    return false;
}

}  // namespace kv90rec
