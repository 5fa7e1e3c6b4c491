// Times the start-up load of the program's embedded skin: the resource is
// copied to a temporary archive, the skin resource file is extracted to a
// second temporary file, parsed, and both files are deleted. Prints figures
// only; the goal is a load well under 20 ms.
#include "skin/EmbeddedSkin.h"
#include "skin/SkinArchive.h"
#include "skin/SkinResourceParser.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F>
std::vector<double> Repeat(int times, F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const double start = Now();
        f();
        ms.push_back(Now() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

void Report(const char* what, const std::vector<double>& ms) {
    std::printf("%-40s min %7.3f ms   median %7.3f ms   max %7.3f ms   (%zu runs)\n", what, ms.front(),
                ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main() {
    TSkinReader reader;
    const double start = Now();
    if (!LoadEmbeddedSkin(reader)) {
        std::printf("the embedded skin did not load\n");
        return 1;
    }
    std::printf("%-40s %7.3f ms\n", "first load of the embedded skin", Now() - start);

    Report("load of the embedded skin", Repeat(50, [&] { LoadEmbeddedSkin(reader); }));

    // The same work without the temporary files, to show what the disk costs.
    const EmbeddedSkinArchive embedded = FindEmbeddedSkinArchive();
    const auto* archive = static_cast<const std::uint8_t*>(embedded.data);
    const std::size_t size = embedded.size;
    Report("extract and parse in memory", Repeat(50, [&] {
               std::vector<std::uint8_t> resource;
               SkinTables tables;
               ExtractArchiveEntry(archive, size, kSkinEntryName, "", resource);
               ParseSkinResource(resource.data(), resource.size(), tables);
           }));
    std::printf("embedded archive: %zu bytes\n", size);
    return 0;
}
