// Replays the fuzzing seed corpus through the targets without libFuzzer, so
// that the corpus runs as an ordinary regression test. Every file goes through
// the target of its folder (archive, resource, bmp, picture, wsq) and, to widen the
// net, through the others as well. A file whose name starts with an expected
// outcome ("expect0-", "expect1-", "expect2-" for archives; "valid-" or
// "invalid-" for resources, bitmaps and WSQ files) must produce it.
#include "fuzz/FuzzTargets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Target = int (*)(const std::uint8_t*, std::size_t);

struct Folder {
    const char* name;
    Target target;
};

const Folder kFolders[] = {
    {"archive", FuzzSkinArchive},
    {"resource", FuzzSkinResource},
    {"bmp", FuzzSkinBmp},
    {"picture", FuzzBitmapFile},
    {"wsq", FuzzWsqDecode},
};

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The outcome that the file name promises, or -1 when it promises none.
int ExpectedOutcome(const std::string& folder, const std::string& file) {
    if (folder == "archive") {
        for (int result = 0; result <= 2; ++result) {
            if (StartsWith(file, ("expect" + std::to_string(result) + "-").c_str())) return result;
        }
        return -1;
    }
    if (StartsWith(file, "valid-")) return 1;
    if (StartsWith(file, "invalid-")) return 0;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    int files = 0;
    int failures = 0;
    for (const Folder& folder : kFolders) {
        const fs::path dir = root / folder.name;
        if (!fs::is_directory(dir)) {
            std::fprintf(stderr, "missing corpus folder %s\n", dir.string().c_str());
            return 2;
        }
        std::vector<fs::path> paths;
        for (const auto& item : fs::directory_iterator(dir)) {
            if (item.is_regular_file()) paths.push_back(item.path());
        }
        // A folder that lost its seeds would replay nothing and pass.
        if (paths.empty()) {
            std::fprintf(stderr, "corpus folder %s holds no files\n", dir.string().c_str());
            return 2;
        }
        for (const fs::path& path : paths) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                                  std::istreambuf_iterator<char>());
            const std::uint8_t* data = bytes.empty() ? nullptr : bytes.data();
            int outcome = -1;
            for (const Folder& other : kFolders) {
                const int result = other.target(data, bytes.size());
                if (other.target == folder.target) outcome = result;
            }
            const int expected = ExpectedOutcome(folder.name, path.filename().string());
            ++files;
            if (expected >= 0 && outcome != expected) {
                ++failures;
                std::printf("FAILED %s/%s: got %d, expected %d\n", folder.name, path.filename().string().c_str(),
                            outcome, expected);
            }
        }
    }
    std::printf("%d passed, %d failed\n", files - failures, failures);
    return failures == 0 ? 0 : 1;
}
