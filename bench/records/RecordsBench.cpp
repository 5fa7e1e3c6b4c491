// Cost of each image form and of whole records for one 640 x 640 finger and a
// ten-finger person, and the sizes they come to. Prints figures, asserts nothing.
#include "records/FileBytes.h"
#include "records/ImageEncoding.h"
#include "records/PersonRecord.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 640;

kv90rec::GrayImage GeneratedFinger(int seed) {
    kv90rec::GrayImage image;
    image.width = image.height = kSide;
    image.pixels.resize(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double r = std::hypot(x - 320.0 - seed, y - 400.0);
            const double level = 128 + 100 * std::sin(r * 0.65 + 0.001 * x * y / (seed + 1)) + (x * 7 + y * 13) % 7;
            image.pixels[y * kSide + x] = static_cast<uint8_t>(std::clamp(level, 0.0, 255.0));
        }
    return image;
}

// A binary grey PGM ("P5"), as the reference fingers come.
bool ReadPgm(const char* path, kv90rec::GrayImage& image) {
    std::vector<uint8_t> bytes;
    if (!kv90rec::ReadFileBytes(std::string(path), bytes) || bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '5')
        return false;
    size_t at = 2;
    int numbers[3];
    for (int& number : numbers) {
        while (at < bytes.size() && (std::isspace(bytes[at]) || bytes[at] == '#')) {
            if (bytes[at] == '#')
                while (at < bytes.size() && bytes[at] != '\n') ++at;
            else
                ++at;
        }
        number = 0;
        while (at < bytes.size() && std::isdigit(bytes[at])) number = number * 10 + (bytes[at++] - '0');
    }
    ++at;
    image.width = numbers[0];
    image.height = numbers[1];
    if (numbers[2] != 255 || bytes.size() - at < static_cast<size_t>(image.width) * image.height) return false;
    image.pixels.assign(bytes.begin() + at, bytes.begin() + at + static_cast<size_t>(image.width) * image.height);
    return true;
}

struct Timing {
    double median;
    double fastest;  // the least disturbed by other work on a shared machine
    double processor;  // processor time of all threads a run, whatever else the machine does
};

double ProcessorMilliseconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

Timing Milliseconds(const std::function<void()>& work, int runs) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    work();  // warm-up
    std::vector<double> times;
    const double processorBefore = ProcessorMilliseconds();
    for (int i = 0; i < runs; ++i) {
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), (ProcessorMilliseconds() - processorBefore) / runs};
}

}  // namespace

int main(int argc, char** argv) {
    kv90rec::GrayImage finger;
    const bool real = argc > 1 && ReadPgm(argv[1], finger);
    if (!real) finger = GeneratedFinger(0);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::printf("finger: %s, %d x %d, median of %d runs\n", real ? argv[1] : "generated", finger.width, finger.height,
                runs);

    std::string error;
    std::vector<uint8_t> bytes;
    for (kv90rec::ImageFormat format : {kv90rec::ImageFormat::Png, kv90rec::ImageFormat::Jp2, kv90rec::ImageFormat::Wsq}) {
        bool ok = true;
        const Timing ms = Milliseconds([&] { ok = kv90rec::EncodeImage(finger, format, {}, bytes, error) && ok; }, runs);
        std::printf("%-4s encode                   median %8.2f ms  fastest %8.2f ms  processor %8.2f ms  %8zu bytes%s%s\n",
                    kv90rec::ImageFormatName(format), ms.median, ms.fastest, ms.processor, bytes.size(),
                    ok ? "" : "  FAILED: ", ok ? "" : error.c_str());
    }

    kv90rec::PersonFingers person;
    person.key = "BENCH";
    person.name = "Bench";
    for (int slot = 0; slot < 10; ++slot)
        person.fingers.push_back({slot, real ? finger : GeneratedFinger(slot), false, {}});
    for (kv90rec::RecordFormat format : {kv90rec::RecordFormat::An2k, kv90rec::RecordFormat::Iso19794_4}) {
        for (kv90rec::ImageFormat image : {kv90rec::ImageFormat::Wsq, kv90rec::ImageFormat::Png, kv90rec::ImageFormat::Jp2}) {
            bool ok = true;
            const Timing ms = Milliseconds(
                [&] { ok = kv90rec::PersonRecord(format, image, person, {}, bytes, error) && ok; }, std::max(1, runs / 4));
            std::printf("%-10s ten fingers, %-3s median %8.2f ms  fastest %8.2f ms  processor %8.2f ms  %8zu bytes%s%s\n",
                        kv90rec::RecordFormatName(format), kv90rec::ImageFormatName(image), ms.median, ms.fastest,
                        ms.processor,
                        bytes.size(), ok ? "" : "  FAILED: ",
                        ok ? "" : error.c_str());
        }
    }
    return 0;
}
