#include "ExportHiding.h"

#include <algorithm>
#include <cstring>

namespace kv90sim {
namespace {

// Opens a range of the image for writing and restores its protection after.
class WritableRange {
public:
    WritableRange(void* start, size_t size) : start_(start), size_(size) {
        ok_ = VirtualProtect(start_, size_, PAGE_READWRITE, &previous_) != 0;
    }
    WritableRange(const WritableRange&) = delete;
    WritableRange& operator=(const WritableRange&) = delete;
    ~WritableRange() {
        DWORD ignored = 0;
        if (ok_) VirtualProtect(start_, size_, previous_, &ignored);
    }
    bool ok() const { return ok_; }

private:
    void* start_;
    size_t size_;
    DWORD previous_ = 0;
    bool ok_ = false;
};

IMAGE_EXPORT_DIRECTORY* ExportDirectory(BYTE* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (entry.VirtualAddress == 0 || entry.Size == 0) return nullptr;
    return reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
}

}  // namespace

int HideExports(HMODULE module, const std::vector<std::string>& names) {
    if (module == nullptr || names.empty()) return 0;
    auto* base = reinterpret_cast<BYTE*>(module);
    IMAGE_EXPORT_DIRECTORY* exports = ExportDirectory(base);
    if (exports == nullptr) return 0;

    auto* nameRvas = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
    auto* ordinals = reinterpret_cast<WORD*>(base + exports->AddressOfNameOrdinals);
    const DWORD count = exports->NumberOfNames;

    WritableRange directory(exports, sizeof(*exports));
    WritableRange nameTable(nameRvas, count * sizeof(DWORD));
    WritableRange ordinalTable(ordinals, count * sizeof(WORD));
    if (!directory.ok() || !nameTable.ok() || !ordinalTable.ok()) return 0;

    // Compacting both parallel tables keeps the names sorted, which the
    // loader's binary search relies on.
    DWORD kept = 0;
    for (DWORD i = 0; i < count; ++i) {
        const char* name = reinterpret_cast<const char*>(base + nameRvas[i]);
        const bool hidden = std::any_of(names.begin(), names.end(),
                                        [name](const std::string& n) { return std::strcmp(n.c_str(), name) == 0; });
        if (hidden) continue;
        nameRvas[kept] = nameRvas[i];
        ordinals[kept] = ordinals[i];
        ++kept;
    }
    exports->NumberOfNames = kept;
    return static_cast<int>(count - kept);
}

}  // namespace kv90sim
