#include "CaptureBlock.h"

#include "DecimalText.h"
#include "LinkNames.h"
#include "framework/HandleOwners.h"

#include <cstring>

namespace kv90host {

CaptureBlockContent readCaptureBlock() {
    CaptureBlockContent content;
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, kCaptureBlockName));
    if (!mapping) return content;
    MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return content;
    content.exists = true;
    // Never read past the mapped region, whatever the block holds.
    MEMORY_BASIC_INFORMATION region{};
    size_t room = kBlockMinimumSize;
    if (VirtualQuery(view.Get(), &region, sizeof region) == sizeof region) room = region.RegionSize;
    const char* bytes = static_cast<const char*>(view.Get());
    const void* zero = std::memchr(bytes, 0, room);
    const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : room;
    content.text.assign(bytes, length);
    return content;
}

bool parseWindowHandle(const std::string& text, HWND& window) {
    std::uint64_t value = 0;
    if (!parseUnsigned(text, 0xFFFFFFFFull, value) || value == 0) return false;
    window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    return true;
}

HWND liveStationWindow() {
    const CaptureBlockContent content = readCaptureBlock();
    HWND window = nullptr;
    if (content.exists && parseWindowHandle(content.text, window) && IsWindow(window)) return window;
    return nullptr;
}

}  // namespace kv90host
