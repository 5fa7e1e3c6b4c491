// What the control skinners draw with, read from the skin once per skin
// change: the control pieces ready for GDI, their colours and transparency flags.
#pragma once

#include "skin/draw/SkinDraw.h"

#include <windows.h>

class TSkinReader;

struct TSkinControlLook {
    // Changes with every load, so that what was drawn from an earlier skin is never reused.
    unsigned generation = 0;
    TSkinImage button;            // 3 frames: normal, hot, pressed
    TSkinImage checkBox;          // 6 frames: checked, grayed, unchecked, then the same disabled
    TSkinImage trackBar;          // the channel, three-sliced
    TSkinImage trackBarVertical;  // the channel turned for a vertical bar
    TSkinImage trackSlider, trackVSlider;
    TSkinImage toolBar;
    // Scroll bars: arrow buttons (4 frames: normal, hot, pressed, disabled), track
    // (2 frames) and thumb (3 frames) side by side for a vertical bar; the
    // horizontal ones are the same turned a quarter clockwise, frames stacked.
    TSkinImage scrollUp, scrollDown, scrollTrack, scrollThumb;
    TSkinImage scrollLeft, scrollRight, scrollHTrack, scrollHThumb;

    COLORREF formColor = 0;
    COLORREF buttonFont = 0;
    COLORREF controlColor = 0, controlBorder = 0, controlFont = 0;
    COLORREF scrollBarColor = 0;
    COLORREF toolBarStart = 0, toolBarEnd = 0, toolBarOn = 0, toolBarBorder = 0, toolBarDown = 0;
    bool buttonTrans = false, checkBoxTrans = false;
};

// Reads everything the control skinners need from the current skin.
void LoadControlLook(const TSkinReader& reader, TSkinControlLook& look);
