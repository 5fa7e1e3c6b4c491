#include "HostBlock.h"

#include "LinkNames.h"

#include <algorithm>
#include <cstring>

namespace kv90host {

bool HostBlock::create(const std::string& ansiText) {
    remove();
    const DWORD size = std::max<DWORD>(kBlockMinimumSize, static_cast<DWORD>(ansiText.size() + 1));
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, kHostBlockName));
    const DWORD createError = GetLastError();
    if (!mapping) {
        lastError_ = createError;
        return false;
    }
    const bool shared = createError == ERROR_ALREADY_EXISTS;
    MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) {
        lastError_ = GetLastError();
        return false;
    }
    // A block made earlier by someone else may be smaller than this text.
    MEMORY_BASIC_INFORMATION region{};
    size_t room = size;
    if (VirtualQuery(view.Get(), &region, sizeof region) == sizeof region) room = region.RegionSize;
    const size_t count = std::min(ansiText.size(), room - 1);
    char* bytes = static_cast<char*>(view.Get());
    std::memcpy(bytes, ansiText.data(), count);
    std::memset(bytes + count, 0, std::min<size_t>(room - count, size - count));

    mapping_ = std::move(mapping);
    view_ = std::move(view);
    text_.assign(ansiText, 0, count);
    shared_ = shared;
    lastError_ = 0;
    return true;
}

void HostBlock::remove() {
    view_.Reset();
    mapping_.Reset();
    text_.clear();
    shared_ = false;
}

bool hostBlockExists() {
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, kHostBlockName));
    return mapping.Valid();
}

std::string windowHandleText(HWND window) {
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

}  // namespace kv90host
