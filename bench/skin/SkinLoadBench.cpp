// Times the start-up load of the program's embedded skin: the resource is
// copied to a temporary archive, the skin resource file is extracted to a
// second temporary file, parsed, and both files are deleted. Prints figures
// only; the goal is a load well under 20 ms.
#include "skin/archive/EmbeddedSkin.h"
#include "skin/archive/SkinArchive.h"
#include "skin/archive/SkinResourceParser.h"

#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    TSkinReader reader;
    const double start = ClockMs();
    if (!LoadEmbeddedSkin(reader)) {
        std::printf("the embedded skin did not load\n");
        return 1;
    }
    std::printf("%-40s %7.3f ms\n", "first load of the embedded skin", ClockMs() - start);

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
