#include "fuzz/FuzzTargets.h"

#include "framework/AreaScale.h"
#include "framework/BmpFile.h"
#include "skin/archive/BmpDecoder.h"
#include "skin/archive/SkinArchive.h"
#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinResourceParser.h"

#include <cstdlib>
#include <vector>

namespace {

// Touches every pixel so that a bitmap whose size disagrees with its pixel
// store shows up under the address sanitizer.
std::uint32_t Checksum(const SkinBitmap& bitmap) {
    std::uint32_t sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) sum += bitmap.Pixel(x, y);
    }
    return sum;
}

// What the skin reader does with a freshly parsed skin.
void ExerciseTables(const SkinTables& tables) {
    const std::int32_t trans = tables.Int(skinnames::ColorName(SKIN_COLOR_TRANSCOLOR));
    const std::int32_t form = tables.Int(skinnames::ColorName(SKIN_COLOR_FORMCOLOR));
    tables.ForEachBitmap([&](SkinBitmap& bitmap) { bitmap.SetTransparentColor(static_cast<SkinColor>(trans)); });
    if (SkinBitmap* track = tables.Bitmap(skinnames::BitmapName(SKIN_BMP_TRACKBAR))) {
        track->ConvertTo24Bit();
        track->ReplaceColor(static_cast<SkinColor>(trans), static_cast<SkinColor>(form));
        // The channel keeps the transparency colour only when the form colour is that same colour.
        const bool sameColor = (static_cast<SkinColor>(form) & 0xFFFFFFu) == static_cast<SkinColor>(trans);
        if (trans >= 0 && !sameColor && track->Contains(static_cast<SkinColor>(trans))) std::abort();
    }
    for (int i = 0; i < 128; ++i) {
        if (const char* name = skinnames::BitmapName(i)) {
            if (const SkinBitmap* bitmap = tables.Bitmap(name)) (void)Checksum(*bitmap);
        }
        if (const char* name = skinnames::IntName(i)) (void)tables.Int(name);
        if (const char* name = skinnames::BoolName(i)) (void)tables.Bool(name);
        if (const char* name = skinnames::ColorName(i)) (void)tables.Int(name);
    }
}

}  // namespace

int FuzzSkinArchive(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> entry;
    const int withoutPassword = ExtractArchiveEntry(data, size, kSkinEntryName, "", entry);
    if (withoutPassword == kSkinExtractOk) FuzzSkinResource(entry.data(), entry.size());
    const int result = ExtractArchiveEntry(data, size, kSkinEntryName, "skin", entry);
    if (result == kSkinExtractOk) FuzzSkinResource(entry.data(), entry.size());
    if (result < kSkinExtractOk || result > kSkinExtractWrongPassword) std::abort();
    return result;
}

int FuzzSkinResource(const std::uint8_t* data, std::size_t size) {
    SkinTables tables;
    if (!ParseSkinResource(data, size, tables)) return 0;
    ExerciseTables(tables);
    return 1;
}

int FuzzSkinBmp(const std::uint8_t* data, std::size_t size) {
    SkinBitmap bitmap;
    if (!DecodeBmp(data, size, bitmap)) return 0;
    if (bitmap.Pixels().size() != static_cast<std::size_t>(bitmap.Width()) * bitmap.Height()) std::abort();
    (void)Checksum(bitmap);
    return 1;
}

int FuzzBitmapFile(const std::uint8_t* data, std::size_t size) {
    bmpfile::Header header;
    if (bmpfile::ReadHeader(data, size, bmpfile::kPictureLimits, header) != bmpfile::Fault::None) return 0;
    const std::size_t stride = header.format.Stride(header.width);
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(header.height));
    if (bmpfile::ReadPixels(data, size, header, rows.data()) != bmpfile::Fault::None) return 0;
    const bool grey = header.format.Grey();
    // A small target keeps each run short while every source row is still read.
    AreaScaler scaler(header.width, header.height, grey ? 1 : 3, 7, 5);
    std::vector<std::uint32_t> out(7);
    std::uint32_t sum = 0;
    for (int y = 0; y < 5; ++y) {
        scaler.NextRow(
            [&](int row, std::uint8_t* scratch) {
                if (row < 0 || row >= header.height) std::abort();
                const std::uint8_t* pixels = rows.data() + stride * static_cast<std::size_t>(header.height - 1 - row);
                if (grey)
                    bmpfile::ExpandRowGrey(header.format, pixels, header.width, scratch);
                else
                    bmpfile::ExpandRowBgr(header.format, pixels, header.width, scratch);
                return static_cast<const std::uint8_t*>(scratch);
            },
            out.data());
        for (std::uint32_t v : out) sum += v;
    }
    static volatile std::uint32_t sink;
    sink = sum;
    return 1;
}
