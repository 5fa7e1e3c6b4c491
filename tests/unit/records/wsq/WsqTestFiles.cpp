#include "WsqTestFiles.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

namespace wsqtest {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string VectorsFolder() { return KV90_WSQ_VECTORS; }

kv90rec::GrayImage ReadPgm(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    kv90rec::GrayImage image;
    std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64)));
    std::string magic;
    int maxValue = 0;
    if (!(header >> magic >> image.width >> image.height >> maxValue) || magic != "P5" || maxValue != 255) {
        return kv90rec::GrayImage{};
    }
    const size_t start = static_cast<size_t>(header.tellg()) + 1;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    if (bytes.size() != start + count) return kv90rec::GrayImage{};
    image.pixels.assign(bytes.begin() + static_cast<long>(start), bytes.end());
    return image;
}

kv90rec::GrayImage FingerLike(int width, int height) {
    kv90rec::GrayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x - width * 0.47;
            const double dy = (y - height * 0.53) * 1.2;
            const double r = std::sqrt(dx * dx + dy * dy) + 6.0 * std::sin(x / 37.0);
            const double noise = static_cast<double>((x * 7919 + y * 104729) % 13) - 6.0;
            const double level = 128.0 + 90.0 * std::sin(r * 0.7) + noise;
            image.pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(std::clamp(level, 0.0, 255.0));
        }
    }
    return image;
}

double Rmse(const kv90rec::GrayImage& a, const kv90rec::GrayImage& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size() || a.pixels.empty()) return -1;
    double squares = 0.0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const double d = static_cast<double>(a.pixels[i]) - b.pixels[i];
        squares += d * d;
    }
    return std::sqrt(squares / static_cast<double>(a.pixels.size()));
}

unsigned U16At(const std::vector<uint8_t>& body, size_t at) { return static_cast<unsigned>(body.at(at) << 8 | body.at(at + 1)); }

uint32_t U32At(const std::vector<uint8_t>& body, size_t at) {
    return static_cast<uint32_t>(U16At(body, at)) << 16 | U16At(body, at + 2);
}

bool WalkSegments(const std::vector<uint8_t>& file, std::vector<Segment>& segments) {
    segments.clear();
    size_t at = 0;
    while (at + 2 <= file.size()) {
        Segment segment;
        segment.offset = at;
        segment.marker = static_cast<uint16_t>(file[at] << 8 | file[at + 1]);
        at += 2;
        if (segment.marker == 0xFFA0 || segment.marker == 0xFFA1) {
            segments.push_back(segment);
            if (segment.marker == 0xFFA1) return at == file.size();
            continue;
        }
        if ((segment.marker & 0xFF00) != 0xFF00 || at + 2 > file.size()) return false;
        const size_t length = static_cast<size_t>(file[at] << 8 | file[at + 1]);
        if (length < 2 || at + length > file.size()) return false;
        segment.body.assign(file.begin() + static_cast<long>(at + 2), file.begin() + static_cast<long>(at + length));
        at += length;
        if (segment.marker == 0xFFA3) {
            // Coded data runs to the next byte 0xFF that is not followed by a stuffed 0x00.
            const size_t start = at;
            while (at + 1 < file.size() && !(file[at] == 0xFF && file[at + 1] != 0x00)) ++at;
            segment.codedBytes = at - start;
        }
        segments.push_back(std::move(segment));
    }
    return false;
}

}  // namespace wsqtest
