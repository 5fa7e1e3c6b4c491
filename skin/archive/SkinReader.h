// TSkinReader: the engine's access to the current skin by index into the fixed
// name table, with the readiness flag and the notification after each load.
#pragma once

#include "skin/archive/Sk2SkinFileReader.h"

#include <functional>
#include <memory>
#include <string>

class TSkinReader {
public:
    // Replaces the current skin with the archive at `path`. A path where no file
    // exists leaves the reader without a skin (not ready) and is no error. When
    // reading raises, the reader is left without a skin and the error propagates
    // before OnSkinLoaded; otherwise OnSkinLoaded is called, loaded or not.
    void LoadSkin(const std::string& path, const std::string& password);

    // Lookups by index into the name table (masked to 7 bits). Without a skin:
    // null, -1, -1 and 0.
    SkinBitmap* GetSkinBitmap(int index) const;
    int GetSkinColor(int index) const;
    int GetSkinInt(int index) const;
    int GetSkinBool(int index) const;

    // A skin is loaded.
    bool Ready() const { return ready_; }
    // The current skin, or null.
    const Tsk2SkinFileReader* Reader() const { return reader_.get(); }

    // Called at the end of every LoadSkin that does not raise.
    std::function<void()> OnSkinLoaded;

private:
    void ApplyLoadTimeColors();

    std::unique_ptr<Tsk2SkinFileReader> reader_;
    bool ready_ = false;
};
