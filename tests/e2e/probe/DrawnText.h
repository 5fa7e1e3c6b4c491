// Reads the text that a control without a window of its own (a label) draws
// into its parent: the candidate text is drawn here with the same font and
// compared, pixel by pixel, with what the parent window shows.
#pragma once
#include <windows.h>
#include <string>

struct DrawnTextFont {
    std::wstring face;
    int height;  // as the program sets it: negative for the character height in pixels
    int weight;  // FW_NORMAL, FW_BOLD...
    COLORREF colour;
};

struct DrawnTextComparison {
    int ink;         // pixels of the candidate text drawn here
    int mismatches;  // pixels where the window and the candidate disagree on ink
};

// area is in the window's client coordinates; format holds the DrawText
// alignment (DT_LEFT, DT_CENTER or DT_RIGHT). What the window shows is read
// off the screen, so nothing may lie over the area.
// Throws std::runtime_error when the screen cannot be read.
DrawnTextComparison compareDrawnText(HWND wnd, const RECT& area, const DrawnTextFont& font, UINT format,
                                     const std::wstring& text);
