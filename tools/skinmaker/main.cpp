// kv90_skinmaker: draws the program's skin and writes it as a skin archive.
//
//   kv90_skinmaker --archive OUT.ssk [--resource OUT.sk2] [--preview OUT.bmp]
//
// --archive   the skin archive to embed in the program
// --resource  the bare skin resource file "SKINDATA.SK2" (for test fixtures)
// --preview   a picture of a skinned window, to look at the skin
#include "Preview.h"
#include "SkinArchiveWriter.h"
#include "SkinContents.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

namespace {

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s --archive OUT.ssk [--resource OUT.sk2] [--preview OUT.bmp]\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string archive, resource, preview;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--archive") == 0 && hasValue)
            archive = argv[++i];
        else if (std::strcmp(argv[i], "--resource") == 0 && hasValue)
            resource = argv[++i];
        else if (std::strcmp(argv[i], "--preview") == 0 && hasValue)
            preview = argv[++i];
        else
            return Usage(argv[0]);
    }
    if (archive.empty() && resource.empty() && preview.empty()) return Usage(argv[0]);
    try {
        const SkinContents skin = BuildSkin();
        const std::vector<std::uint8_t> sk2 = SkinResourceFile(skin);
        if (!resource.empty()) WriteFile(resource, sk2);
        if (!archive.empty()) {
            SkinArchiveWriter writer;
            writer.AddEntry("SKINDATA.SK2", sk2);
            WriteFile(archive, writer.Bytes());
        }
        if (!preview.empty()) WriteFile(preview, DrawPreview(skin).ToBmp());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kv90_skinmaker: %s\n", e.what());
        return 1;
    }
    return 0;
}
