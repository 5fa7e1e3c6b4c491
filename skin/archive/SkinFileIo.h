// Whole-file reads and writes for skin archives and their temporary copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Reads a whole file; false when it cannot be opened or read, or is larger than maxBytes.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out);

// Creates or truncates the file and writes the bytes; false on any failure.
bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// The first of folder + stem + extension, folder + stem + "1" + extension,
// folder + stem + "2" + extension, ... for which `exists` answers false.
std::string UniquePath(const std::string& folder, const std::string& stem, const std::string& extension,
                       const std::function<bool(const std::string&)>& exists);

// Deletes a file; a file that is not there is no failure.
void RemoveFile(const std::string& path);

// Deletes the named file when it goes out of scope, so that a temporary copy
// is removed on every path out of the code that made it.
class ScopedFileRemoval {
public:
    explicit ScopedFileRemoval(std::string path) : path_(std::move(path)) {}
    ~ScopedFileRemoval() { RemoveFile(path_); }
    ScopedFileRemoval(const ScopedFileRemoval&) = delete;
    ScopedFileRemoval& operator=(const ScopedFileRemoval&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
