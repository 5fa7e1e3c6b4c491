// The skin engine component of the main window. It holds the skin that every
// window of the program is drawn from; the skin travels inside the program
// and is read at start-up through a temporary copy on disk.
#pragma once

#include "framework/Classes.h"
#include "skin/SkinReader.h"

#include <string>
#include <vector>

class TSkinEngine : public TComponent {
    KV90_CLASS(TSkinEngine, TComponent)
public:
    // The owner must be a form; anything else raises "Must be placed on a Form".
    explicit TSkinEngine(TComponent* owner);

    // Loads the skin archive carried in the program's resources through a
    // temporary copy that is deleted again. Errors of reading propagate.
    void ReadSkinData();

    bool Active = true;
    std::string Password;
    // Windows and controls with this tag keep their own drawing (0: none opt out).
    int DisabledTag = 9999;
    bool DrawScrollBar = true;
    bool BuiltIn = true;
    bool SkinDialogs = true;
    bool SkinAllForms = true;
    bool NoChangeButtonsFontColor = false;
    std::vector<std::string> AutoSkinWndClassNames;

    bool Ready() const { return reader_.Ready(); }
    const TSkinReader& Reader() const { return reader_; }
    // Skinning happens while the engine is active and has a skin.
    bool IsSkinning() const { return Active && Ready(); }

private:
    TSkinReader reader_;
};
