#include "skin/archive/SkinArchive.h"

#include "skin/archive/PkwareCipher.h"
#include "skin/archive/RawInflate.h"
#include "skin/archive/SkinFileIo.h"
#include "skin/archive/SkinLimits.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralRecordSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint32_t kEndSignature = 0x06054B50u;
constexpr std::uint32_t kCentralSignature = 0x02014B50u;
constexpr std::uint16_t kSkinSignature = 0x4B53u;  // "SK"
constexpr std::uint16_t kFlagEncrypted = 0x0001u;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008u;
// The cipher runs over the data in blocks of this size, as the engine always read it.
constexpr std::size_t kDecryptBlock = 1024;

std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string UpperAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct EntryRecord {
    std::uint16_t flags = 0;
    std::uint16_t time = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t localHeaderOffset = 0;
};

// Walks the central directory from its recorded offset up to the end record.
// Records are taken as 46 bytes plus the name, back to back: extra fields and
// comments are not skipped, so archives for the engine carry none.
int FindEntry(const std::uint8_t* archive, std::size_t size, const std::string& wanted, EntryRecord& entry) {
    const std::size_t endRecord = size - kEndRecordSize;
    std::size_t pos = Read32(archive + endRecord + 16);
    while (pos < endRecord) {
        if (size - pos < kCentralRecordSize) return kSkinExtractFailed;
        const std::uint8_t* record = archive + pos;
        if (Read32(record) != kCentralSignature) return kSkinExtractFailed;
        const std::size_t nameLength = Read16(record + 28);
        if (size - pos - kCentralRecordSize < nameLength) return kSkinExtractFailed;
        const std::string name(reinterpret_cast<const char*>(record + kCentralRecordSize), nameLength);
        if (UpperAscii(name) == wanted) {
            entry.flags = Read16(record + 8);
            entry.time = Read16(record + 12);
            entry.crc = Read32(record + 16);
            entry.compressedSize = Read32(record + 20);
            entry.uncompressedSize = Read32(record + 24);
            entry.localHeaderOffset = Read32(record + 42);
            return kSkinExtractOk;
        }
        pos += kCentralRecordSize + nameLength;
    }
    return kSkinExtractFailed;
}

}  // namespace

int ExtractArchiveEntry(const std::uint8_t* archive, std::size_t size, const std::string& entryName,
                        const std::string& password, std::vector<std::uint8_t>& out) {
    out.clear();
    if (archive == nullptr || size < 2 || Read16(archive) != kSkinSignature) return kSkinExtractFailed;
    // The end record is looked for only in the last 22 bytes: an archive comment hides it.
    if (size < kEndRecordSize) return kSkinExtractFailed;
    const std::uint8_t* end = archive + size - kEndRecordSize;
    if (Read32(end) != kEndSignature || Read16(end + 20) != 0) return kSkinExtractFailed;

    EntryRecord entry;
    if (FindEntry(archive, size, UpperAscii(entryName), entry) != kSkinExtractOk) return kSkinExtractFailed;
    if (entry.uncompressedSize > skinlimits::kMaxResourceBytes) return kSkinExtractFailed;

    const std::size_t local = entry.localHeaderOffset;
    if (local > size || size - local < kLocalHeaderSize) return kSkinExtractFailed;
    const std::size_t skip = static_cast<std::size_t>(Read16(archive + local + 26)) + Read16(archive + local + 28);
    const std::size_t dataStart = local + kLocalHeaderSize + skip;
    if (dataStart > size || size - dataStart < entry.compressedSize) return kSkinExtractFailed;
    const std::uint8_t* data = archive + dataStart;
    std::size_t dataSize = entry.compressedSize;

    // One byte more than recorded is enough to tell that the output is too long.
    const std::size_t limit = static_cast<std::size_t>(entry.uncompressedSize) + 1;
    if (entry.flags & kFlagEncrypted) {
        if (password.empty()) return kSkinExtractWrongPassword;
        if (dataSize < PkwareCipher::kHeaderSize) return kSkinExtractFailed;
        PkwareCipher cipher(password);
        std::uint8_t header[PkwareCipher::kHeaderSize];
        std::copy(data, data + PkwareCipher::kHeaderSize, header);
        cipher.Decrypt(header, sizeof header);
        const std::uint8_t check =
            static_cast<std::uint8_t>((entry.flags & kFlagDataDescriptor) ? (entry.time >> 8) : (entry.crc >> 24));
        if (header[PkwareCipher::kHeaderSize - 1] != check) return kSkinExtractWrongPassword;

        std::vector<std::uint8_t> plain(data + PkwareCipher::kHeaderSize, data + dataSize);
        for (std::size_t at = 0; at < plain.size(); at += kDecryptBlock) {
            cipher.Decrypt(plain.data() + at, std::min(kDecryptBlock, plain.size() - at));
        }
        out = RawInflate(plain.data(), plain.size(), limit);
    } else {
        out = RawInflate(data, dataSize, limit);
    }

    if (out.empty()) return kSkinExtractFailed;
    // A wrong password inflates to garbage of another length.
    if (out.size() != entry.uncompressedSize) {
        out.clear();
        return kSkinExtractWrongPassword;
    }
    return kSkinExtractOk;
}

int ExtractSkinEntry(const std::string& archivePath, const std::string& entryName, const std::string& targetPath,
                     const std::string& password) {
    std::vector<std::uint8_t> archive;
    int result = kSkinExtractFailed;
    if (ReadFileBytes(archivePath, skinlimits::kMaxArchiveBytes, archive)) {
        std::vector<std::uint8_t> entry;
        result = ExtractArchiveEntry(archive.data(), archive.size(), entryName, password, entry);
        if (result == kSkinExtractOk && !WriteFileBytes(targetPath, entry.data(), entry.size())) {
            result = kSkinExtractFailed;
        }
    }
    if (result != kSkinExtractOk) RemoveFile(targetPath);
    return result;
}
