#include "skin/SkinEngine.h"

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "skin/EmbeddedSkin.h"

TSkinEngine::TSkinEngine(TComponent* owner) : TComponent(owner) {
    if (!owner || !owner->InheritsFrom("TCustomForm")) throw Exception("Must be placed on a Form");
}

void TSkinEngine::ReadSkinData() {
    const EmbeddedSkinArchive archive = FindEmbeddedSkinArchive();
    if (archive.size == 0) return;
    TempSkinCopy copy(archive.data, archive.size);
    if (copy.Saved()) reader_.LoadSkin(copy.Path(), Password);
}
