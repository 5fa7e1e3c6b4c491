#include "skin/draw/SkinRes.h"

#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinReader.h"

namespace {

TSkinImage Piece(const TSkinReader& reader, int index) {
    const SkinBitmap* bitmap = reader.GetSkinBitmap(index);
    return bitmap ? TSkinImage(*bitmap) : TSkinImage();
}

}  // namespace

void TSkinScrollBtnRes::Load(const TSkinReader& reader) {
    upButton = Piece(reader, SKIN_BMP_SCROLLBARUPBUTTON);
    track = Piece(reader, SKIN_BMP_SCROLLBAR);
    downButton = Piece(reader, SKIN_BMP_SCROLLBARDOWNBUTTON);
    thumb = Piece(reader, SKIN_BMP_SCROLLBUTTON);
}

void TSkinProgressBarRes::Load(const TSkinReader& reader) {
    for (int i = 0; i < 4; ++i) pieces[i] = Piece(reader, SKIN_BMP_PROGRESSBAR1 + i);
}

void TSkinTabRes::Load(const TSkinReader& reader) {
    tabs = Piece(reader, SKIN_BMP_TABCONTROL);
    line = Piece(reader, SKIN_BMP_TABCONTROLLINE);
}
