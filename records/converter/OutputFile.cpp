#include "OutputFile.h"

#include "records/GbkText.h"

#include <windows.h>

#include <cstdio>

bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes, std::string& error) {
    const std::wstring partial = path + L".partial";
    std::FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file) {
        error = "cannot write " + kv90rec::WideToUtf8(path);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partial.c_str());
        error = "cannot write " + kv90rec::WideToUtf8(path) + " (is the disk full or the file open elsewhere?)";
        return false;
    }
    return true;
}
