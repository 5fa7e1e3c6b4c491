// Resource sets: pieces that several control skinners of one kind draw from,
// cut once from the skin and reloaded whenever the skin changes.
#pragma once

#include "skin/draw/SkinDraw.h"

class TSkinReader;

class TSkinRes {
public:
    virtual ~TSkinRes() = default;
    // Takes the set's pieces from the current skin (none without a skin).
    virtual void Load(const TSkinReader& reader) = 0;
};

// Scroll bars: the arrow buttons, the track and the thumb.
class TSkinScrollBtnRes : public TSkinRes {
public:
    void Load(const TSkinReader& reader) override;
    TSkinImage upButton, track, downButton, thumb;
};

// Progress bars: the four pieces of the bar.
class TSkinProgressBarRes : public TSkinRes {
public:
    void Load(const TSkinReader& reader) override;
    TSkinImage pieces[4];
};

// Tab controls: the tab strip and its line.
class TSkinTabRes : public TSkinRes {
public:
    void Load(const TSkinReader& reader) override;
    TSkinImage tabs, line;
};
