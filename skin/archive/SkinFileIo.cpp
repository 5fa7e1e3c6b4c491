#include "skin/archive/SkinFileIo.h"

#include <cstdio>
#include <fstream>

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0 || static_cast<unsigned long long>(length) > maxBytes) return false;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), length)) return false;
    out.swap(bytes);
    return true;
}

bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    if (size > 0) file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    file.close();
    return !file.fail();
}

void RemoveFile(const std::string& path) {
    if (!path.empty()) std::remove(path.c_str());
}

std::string UniquePath(const std::string& folder, const std::string& stem, const std::string& extension,
                       const std::function<bool(const std::string&)>& exists) {
    std::string candidate = folder + stem + extension;
    for (unsigned long n = 1; exists(candidate); ++n) candidate = folder + stem + std::to_string(n) + extension;
    return candidate;
}
