#include "skin/archive/SkinReader.h"

#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinTempFile.h"

void TSkinReader::LoadSkin(const std::string& path, const std::string& password) {
    reader_.reset();
    ready_ = false;
    if (SkinFileExists(path)) {
        try {
            reader_ = std::make_unique<Tsk2SkinFileReader>(path, password);
            ApplyLoadTimeColors();
            ready_ = true;
        } catch (...) {
            reader_.reset();
            ready_ = false;
            throw;
        }
    }
    if (OnSkinLoaded) OnSkinLoaded();
}

// Every bitmap is drawn transparent in the skin's transparency colour. The
// track bar channel is drawn masked over the form, so its transparent pixels
// become the form colour once here.
void TSkinReader::ApplyLoadTimeColors() {
    const SkinColor trans = static_cast<SkinColor>(GetSkinColor(SKIN_COLOR_TRANSCOLOR));
    reader_->SetTransColor(trans);
    if (SkinBitmap* track = GetSkinBitmap(SKIN_BMP_TRACKBAR)) {
        track->ConvertTo24Bit();
        track->ReplaceColor(trans, static_cast<SkinColor>(GetSkinColor(SKIN_COLOR_FORMCOLOR)));
    }
}

SkinBitmap* TSkinReader::GetSkinBitmap(int index) const {
    const char* name = skinnames::BitmapName(index);
    return (reader_ && name) ? reader_->GetBitmap(name) : nullptr;
}

int TSkinReader::GetSkinColor(int index) const {
    const char* name = skinnames::ColorName(index);
    return (reader_ && name) ? reader_->GetInt(name) : -1;
}

int TSkinReader::GetSkinInt(int index) const {
    const char* name = skinnames::IntName(index);
    return (reader_ && name) ? reader_->GetInt(name) : -1;
}

int TSkinReader::GetSkinBool(int index) const {
    const char* name = skinnames::BoolName(index);
    return (reader_ && name) ? reader_->GetBool(name) : 0;
}
