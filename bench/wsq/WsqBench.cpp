// Cost and quality of the WSQ codec on one finger: encode and decode times
// (the fastest and the median of the runs), the compressed size and the
// reconstruction's RMSE against the original, at each bit rate. Prints
// figures, asserts nothing.
//
//   kv90_wsq_bench [finger.pgm [runs]]
#include "records/wsq/WsqCodec.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A binary 8-bit PGM ("P5 width height 255" and the rows), as the reference fingers are.
bool ReadPgm(const std::string& path, kv90rec::GrayImage& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> image.width >> image.height >> maxValue) || magic != "P5" || maxValue != 255) return false;
    in.get();
    image.pixels.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return image.pixels.size() == static_cast<size_t>(image.width) * image.height;
}

// Curved ridges with a little noise, when no real finger is at hand.
kv90rec::GrayImage FingerLike() {
    kv90rec::GrayImage image;
    image.width = image.height = 640;
    image.pixels.resize(640 * 640);
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 640; ++x) {
            const double dx = x - 300.0;
            const double dy = (y - 340.0) * 1.2;
            const double r = std::sqrt(dx * dx + dy * dy) + 6.0 * std::sin(x / 37.0);
            const double noise = static_cast<double>((x * 7919 + y * 104729) % 13) - 6.0;
            image.pixels[static_cast<size_t>(y) * 640 + x] =
                static_cast<uint8_t>(std::clamp(128.0 + 100.0 * std::sin(r * 0.7) + noise, 0.0, 255.0));
        }
    }
    return image;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Summarize(const char* what, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    std::printf("  %s: fastest %.2f ms, median %.2f ms\n", what, times.front(), times[times.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : KV90_WSQ_BENCH_FINGER;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    kv90rec::GrayImage original;
    if (!ReadPgm(path, original)) {
        std::printf("no finger at %s: a generated finger-like image instead\n", path.c_str());
        original = FingerLike();
    } else {
        std::printf("finger %s\n", path.c_str());
    }
    std::printf("%d x %d pixels, %d runs\n", original.width, original.height, runs);
    for (double rate : {kv90rec::wsq::kDefaultBitRate, kv90rec::wsq::kMaxBitRate}) {
        std::vector<double> encodeTimes;
        std::vector<double> decodeTimes;
        std::vector<uint8_t> file;
        kv90rec::GrayImage decoded;
        std::string error;
        for (int run = 0; run < runs; ++run) {
            const Clock::time_point start = Clock::now();
            if (!kv90rec::wsq::Encode(original, rate, file, error)) {
                std::printf("encode failed: %s\n", error.c_str());
                return 1;
            }
            const Clock::time_point encoded = Clock::now();
            if (!kv90rec::wsq::Decode(file.data(), file.size(), decoded, error)) {
                std::printf("decode failed: %s\n", error.c_str());
                return 1;
            }
            const Clock::time_point end = Clock::now();
            encodeTimes.push_back(Milliseconds(encoded - start));
            decodeTimes.push_back(Milliseconds(end - encoded));
        }
        double squares = 0.0;
        for (size_t i = 0; i < original.pixels.size(); ++i) {
            const double d = static_cast<double>(decoded.pixels[i]) - original.pixels[i];
            squares += d * d;
        }
        std::printf("%.2f bits per pixel: %zu bytes (%.1f:1), RMSE %.3f\n", rate, file.size(),
                    static_cast<double>(original.pixels.size()) / static_cast<double>(file.size()),
                    std::sqrt(squares / static_cast<double>(original.pixels.size())));
        Summarize("encode", encodeTimes);
        Summarize("decode", decodeTimes);
    }
    return 0;
}
