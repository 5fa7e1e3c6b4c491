#include "skin/archive/Sk2SkinFileReader.h"

#include "framework/Exception.h"
#include "skin/archive/SkinArchive.h"
#include "skin/archive/SkinFileIo.h"
#include "skin/archive/SkinLimits.h"
#include "skin/archive/SkinResourceParser.h"
#include "skin/archive/SkinTempFile.h"

#include <vector>

const char* const kSkinReadFailedMessage = "Failed to read skin file!";
const char* const kSkinWrongPasswordMessage = "Wrong password!";

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& archivePath, const std::string& password) {
    // The resource file passes through a file of its own, removed however loading ends.
    const ScopedFileRemoval target(MakeTempFilePath(""));
    const int result = ExtractSkinEntry(archivePath, kSkinEntryName, target.Path(), password);
    if (result == kSkinExtractWrongPassword) throw Exception(kSkinWrongPasswordMessage);
    if (result != kSkinExtractOk) throw Exception(kSkinReadFailedMessage);

    std::vector<std::uint8_t> resource;
    if (!ReadFileBytes(target.Path(), skinlimits::kMaxResourceBytes, resource) ||
        !ParseSkinResource(resource.data(), resource.size(), tables_)) {
        throw Exception(kSkinReadFailedMessage);
    }
}

SkinBitmap* Tsk2SkinFileReader::GetBitmap(const std::string& name) const { return tables_.Bitmap(name); }

int Tsk2SkinFileReader::GetInt(const std::string& name) const { return tables_.Int(name); }

int Tsk2SkinFileReader::GetBool(const std::string& name) const { return tables_.Bool(name); }

std::string Tsk2SkinFileReader::GetText(const std::string& name) const { return tables_.Text(name); }

void Tsk2SkinFileReader::SetTransColor(SkinColor color) {
    tables_.ForEachBitmap([color](SkinBitmap& bitmap) { bitmap.SetTransparentColor(color); });
}
