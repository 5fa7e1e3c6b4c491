#include "skin/archive/EmbeddedSkin.h"

#include "skin/archive/SkinFileIo.h"
#include "skin/archive/SkinTempFile.h"

#include <windows.h>

#include <cstdint>

namespace {
// A temporary folder that refuses one name mostly refuses them all; a few tries are enough.
constexpr int kSaveAttempts = 4;
}  // namespace

TempSkinCopy::TempSkinCopy(const void* data, std::size_t size) {
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const std::string path = MakeTempFilePath(".ssk");
        if (WriteFileBytes(path, static_cast<const std::uint8_t*>(data), size)) {
            path_ = path;
            return;
        }
        RemoveFile(path);
    }
}

TempSkinCopy::~TempSkinCopy() { RemoveFile(path_); }

bool LoadSkinFromMemory(TSkinReader& reader, const void* data, std::size_t size, const std::string& password) {
    const TempSkinCopy copy(data, size);
    if (!copy.Saved()) return false;
    reader.LoadSkin(copy.Path(), password);
    return reader.Ready();
}

EmbeddedSkinArchive FindEmbeddedSkinArchive() {
    EmbeddedSkinArchive archive;
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC info = FindResourceA(module, KV90_SKIN_RESOURCE_NAME, MAKEINTRESOURCEA(10));  // RT_RCDATA
    const HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data != nullptr) {
        archive.data = data;
        archive.size = SizeofResource(module, info);
    }
    return archive;
}

bool LoadEmbeddedSkin(TSkinReader& reader, const std::string& password) {
    const EmbeddedSkinArchive archive = FindEmbeddedSkinArchive();
    if (archive.size == 0) return false;
    return LoadSkinFromMemory(reader, archive.data, archive.size, password);
}
