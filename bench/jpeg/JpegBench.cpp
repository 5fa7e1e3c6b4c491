// Cost of the view command's conversion of a 640 x 640 grey slot bitmap into
// the viewer's JPEG file at quality 100: the whole TImgOper::BmpToJpg, then
// its steps one by one. Prints figures, asserts nothing.
//
//   kv90_jpeg_bench [source.bmp [target.jpg [runs]]]
//   kv90_jpeg_bench --write-bitmap path.bmp
//
// Without a source it times a generated finger-like bitmap in the temporary folder.
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "images/ImgOper.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Side = 640;
constexpr int WarmUpRuns = 5;

// An 8-bit grey-palette bitmap of curved ridges, like the capture library's preview file.
std::string FingerLikeBitmap() {
    const int stride = (Side + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = Side;
    info.biHeight = Side;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * Side);
    info.biClrUsed = 256;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info + 256 * sizeof(RGBQUAD);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD grey{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
        bytes.append(reinterpret_cast<const char*>(&grey), sizeof grey);
    }
    for (int line = 0; line < Side; ++line) {
        const int y = Side - 1 - line;
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < Side; ++x) {
            const double dx = x - 300.0;
            const double dy = (y - 340.0) * 1.2;
            const double r = std::sqrt(dx * dx + dy * dy) + 6.0 * std::sin(x / 37.0);
            // A little noise, as a real sensor gives.
            const double noise = static_cast<double>((x * 7919 + y * 104729) % 13) - 6.0;
            const double level = 128.0 + 100.0 * std::sin(r * 0.7) + noise;
            row[static_cast<size_t>(x)] = static_cast<char>(std::clamp(level, 0.0, 255.0));
        }
        bytes += row;
    }
    return bytes;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

struct Figures {
    double median;
    double min;
    double max;
};

Figures Time(int runs, const std::function<void()>& step) {
    for (int i = 0; i < WarmUpRuns; ++i) step();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        step();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times.front(), times.back()};
}

void Print(const char* what, const Figures& f) {
    std::printf("  %-34s median %7.3f ms   min %7.3f   max %7.3f\n", what, f.median, f.min, f.max);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-bitmap") {
        WriteFileBytes(argv[2], FingerLikeBitmap());
        return 0;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string source = argc > 1 ? argv[1] : std::string(temp) + "kv90_jpeg_bench.bmp";
    const std::string target = argc > 2 ? argv[2] : std::string(temp) + "kv90_jpeg_bench.jpg";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 50;
    if (argc <= 1) WriteFileBytes(source, FingerLikeBitmap());

    if (!TImgOper::BmpToJpg(source, target)) {
        std::fprintf(stderr, "BmpToJpg failed on %s (see the log)\n", source.c_str());
        return 1;
    }
    const Figures whole = Time(runs, [&] { TImgOper::BmpToJpg(source, target); });
    std::printf("BmpToJpg %s -> %s, %d runs after %d warm-up runs (%zu bytes out)\n", source.c_str(), target.c_str(),
                runs, WarmUpRuns, ReadFileBytes(target).size());
    Print("whole conversion", whole);

    TBitmap bitmap;
    bitmap.LoadFromFile(source);
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    jpeg.SetCompressionQuality(100);
    jpeg.Compress();
    Print("load bitmap (LoadImage)", Time(runs, [&] {
              TBitmap b;
              b.LoadFromFile(source);
          }));
    Print("expand to 24 bits (Assign)", Time(runs, [&] { jpeg.Assign(bitmap); }));
    jpeg.SetCompressionQuality(100);
    Print("compress (libjpeg-turbo)", Time(runs, [&] { jpeg.Compress(); }));
    Print("write file", Time(runs, [&] { jpeg.SaveToFile(target); }));
    TJPEGImage decoded;
    Print("decode for the viewer", Time(runs, [&] { decoded.LoadFromMemory(jpeg.Data()); }));
    std::printf("median_ms=%.3f min_ms=%.3f\n", whole.median, whole.min);
    return 0;
}
