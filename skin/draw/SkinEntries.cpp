#include "skin/draw/SkinEntries.h"

#include "skin/archive/SkinReader.h"

TSkinImage SkinImage(const TSkinReader& reader, int index) {
    const SkinBitmap* bitmap = reader.GetSkinBitmap(index);
    return bitmap ? TSkinImage(*bitmap) : TSkinImage();
}

COLORREF SkinColorOr(const TSkinReader& reader, int index, COLORREF fallback) {
    const int value = reader.GetSkinColor(index);
    return value < 0 ? fallback : static_cast<COLORREF>(value) & 0xFFFFFFu;
}
