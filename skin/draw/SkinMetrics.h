// What the skinned frames are drawn from, read from the skin once per skin
// change: the frame's pieces ready for GDI, its metrics, colours and flags.
#pragma once

#include "skin/draw/SkinDraw.h"

#include <windows.h>

class TSkinReader;

// The title-button strip: three frames (normal, hot, pressed) for each of six faces.
constexpr int kTitleButtonFrames = 18;

struct TSkinMetrics {
    // Pieces of the frame.
    TSkinImage title[5];  // "SKIN2_TITLEBAR1".."SKIN2_TITLEBAR5"
    TSkinImage leftBorder, rightBorder;
    TSkinImage bottom[3];  // "SKIN2_FORMBOTTOMBORDER1".."3"
    TSkinImage minimizedTitle;
    TSkinImage titleButtons;  // kTitleButtonFrames frames
    TSkinImage menuBar;

    int titleHeight = 0;
    int leftWidth = 0, rightWidth = 0, bottomHeight = 0;
    int iconX = 0, iconY = 0, captionTop = 0, buttonX = 0, buttonY = 0;
    int titleBandMin = -1, titleBandMax = -1, bottomBandMin = -1, bottomBandMax = -1;
    COLORREF transColor = 0;
    COLORREF formColor = 0;
    COLORREF titleTextColor = 0;
    COLORREF inactiveTitleTextColor = 0;
    COLORREF menuBarStart = 0, menuBarEnd = 0;
    COLORREF menuColors[13] = {};  // skin colours 3 to 15
    bool fiveSections = false, bottomThreeSections = false;
    bool titleNeedsRegion = false, bottomNeedsRegion = false;
    bool titleButtonsMasked = false;
    int minFrameWidth = 0;

    // The width of one title button frame; 0 without a strip.
    int ButtonFrameWidth() const { return titleButtons.Width() / kTitleButtonFrames; }
    int ButtonFrameHeight() const { return ButtonFrameWidth() > 0 ? titleButtons.Height() : 0; }
};

// Reads everything the frame needs from the current skin.
void LoadSkinMetrics(const TSkinReader& reader, TSkinMetrics& metrics);

// The narrowest frame the skin can draw whole: the left and right title pieces
// and one title button, with room for a little caption.
int MinimumFrameWidth(bool fiveSections, int title1Width, int title3Width, int buttonStripWidth);
