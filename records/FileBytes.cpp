#include "records/FileBytes.h"

#include <cstdio>
#include <memory>

namespace kv90rec {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool ReadAll(std::FILE* opened, std::vector<uint8_t>& bytes) {
    FileHandle file(opened);
    bytes.clear();
    if (!file) return false;
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    return !std::ferror(file.get());
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    return ReadAll(std::fopen(path.c_str(), "rb"), bytes);
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
    return ReadAll(_wfopen(path.c_str(), L"rb"), bytes);
}

}  // namespace kv90rec
