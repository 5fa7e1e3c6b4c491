// Writes the WSQ seeds of the fuzzing corpus from NIST's reference fingers:
// small crops encoded at the lowest and highest rates, NIST's own smallest
// file, and damaged copies named by the outcome they promise.
//
//   make_wsq_seeds <folder of the reference files> fuzz/corpus/wsq
#include "records/wsq/WsqCodec.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A crop of a 640 x 640 reference PGM (15-byte header) around its centre.
kv90rec::GrayImage Crop(const std::vector<std::uint8_t>& pgm, int width, int height) {
    kv90rec::GrayImage image;
    image.width = width;
    image.height = height;
    const int left = (640 - width) / 2;
    const int top = (640 - height) / 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.pixels.push_back(pgm.at(15 + (top + y) * 640 + left + x));
    }
    return image;
}

std::size_t MarkerAt(const std::vector<std::uint8_t>& file, std::uint8_t second, int nth = 0) {
    for (std::size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == second && nth-- == 0) return i;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s VECTORS_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string vectors = argv[1];
    const std::string out = std::string(argv[2]) + "/";
    std::vector<std::uint8_t> small;
    int written = 0;
    const struct {
        const char* finger;
        int width, height;
        double rate;
    } crops[] = {{"finger1", 64, 64, 0.75}, {"finger2", 96, 72, 2.25}, {"finger3", 128, 100, 0.5}};
    for (const auto& crop : crops) {
        const std::vector<std::uint8_t> pgm = ReadBytes(vectors + "/" + crop.finger + ".pgm");
        if (pgm.size() != 15 + 640 * 640) {
            std::fprintf(stderr, "no %s.pgm in %s\n", crop.finger, vectors.c_str());
            return 1;
        }
        std::vector<std::uint8_t> file;
        std::string error;
        if (!kv90rec::wsq::Encode(Crop(pgm, crop.width, crop.height), crop.rate, file, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        char name[96];
        std::snprintf(name, sizeof name, "valid-%s-%dx%d-%.2f.wsq", crop.finger, crop.width, crop.height, crop.rate);
        written += Write(out + name, file);
        if (small.empty()) small = file;
    }
    written += Write(out + "valid-nist-finger3-0.75.wsq", ReadBytes(vectors + "/finger3-0.75.wsq"));

    std::vector<std::uint8_t> damaged(small.begin(), small.begin() + static_cast<long>(small.size() / 2));
    written += Write(out + "invalid-cut-in-half.wsq", damaged);
    damaged.assign(small.begin(), small.begin() + static_cast<long>(MarkerAt(small, 0xA3)));
    written += Write(out + "invalid-cut-before-first-block.wsq", damaged);
    damaged = small;
    damaged.at(MarkerAt(small, 0xA6) + 5) = 3;  // three 1-bit codes
    written += Write(out + "invalid-overfull-huffman-table.wsq", damaged);
    damaged = small;
    damaged.at(MarkerAt(small, 0xA3) + 4) = 6;  // a table never defined
    written += Write(out + "invalid-undefined-table.wsq", damaged);
    damaged = small;
    damaged.at(MarkerAt(small, 0xA2) + 6) = 0;  // height 0..255: too small for five levels
    damaged.at(MarkerAt(small, 0xA2) + 7) = 16;
    written += Write(out + "invalid-16-rows.wsq", damaged);
    damaged = small;
    damaged.at(MarkerAt(small, 0xA5) + 3) = 0xFF;  // a table running past the file
    written += Write(out + "invalid-table-length.wsq", damaged);
    damaged = small;
    damaged.at(MarkerAt(small, 0xA4) + 7) = 0;  // the lowpass centre tap at scale 0: planes overflow
    written += Write(out + "valid-filter-taps-overflowing.wsq", damaged);
    written += Write(out + "invalid-jpeg.wsq", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0});
    std::printf("%d seeds written\n", written);
    return 0;
}
