// The skinned frame's geometry and drawing: how big the non-client parts are,
// where the title buttons sit, what a point of the frame is, and the frame
// composed off-screen from the skin's pieces and copied to the window.
#pragma once

#include "skin/draw/SkinDraw.h"
#include "skin/draw/SkinMetrics.h"

#include <windows.h>

#include <string>
#include <vector>

// Hot kinds of the title: what a press on the frame is over.
enum TFrameHot { fhNone = -1, fhIcon = 0, fhClose = 1, fhMaxRestore = 2, fhMinimize = 3, fhHelp = 4 };

// What the window is, as far as its frame goes.
struct TFrameShape {
    bool hasTitle = true;
    bool hasBorder = true;
    bool sizeable = false;
    bool iconic = false;
    bool zoomed = false;
    bool hasIcon = false, hasClose = true, hasMaximize = false, hasMinimize = false, hasHelp = false;
    int unskinnedTop = 0;  // the system's top non-client height before skinning
    int unskinnedSide = 4;
    int unskinnedBottom = 4;
    int menuBarHeight = 0;
};

// The non-client sizes of a skinned window.
struct TFrameSizes {
    int top = 0, left = 0, right = 0, bottom = 0;
    int extraTopFill = 0;
};
TFrameSizes FrameSizes(const TSkinMetrics& m, const TFrameShape& s);

// The client rectangle inside a proposed window rectangle, clamped.
RECT FrameClientRect(const RECT& window, const TSkinMetrics& m, const TFrameShape& s);

// One title button: its kind, place in window coordinates and its three frames (normal, hot, pressed).
struct TTitleButton {
    TFrameHot kind;
    RECT rect;
    int frames[3];
};
// The buttons from right to left for a window of that width.
std::vector<TTitleButton> LayoutTitleButtons(int windowWidth, const TSkinMetrics& m, const TFrameShape& s);
// n × frame width + 2 × (n − 1) + 15 for the close, maximize and minimize buttons present.
int ButtonBlockWidth(const TSkinMetrics& m, const TFrameShape& s);
// The icon square in window coordinates (empty without an icon).
RECT IconSquare(const TSkinMetrics& m, const TFrameShape& s);
// The hot kind under a point of the window (window coordinates).
TFrameHot HotAt(POINT p, int windowWidth, const TSkinMetrics& m, const TFrameShape& s);

// The hit-test answer for a point in window coordinates: client, caption
// (title, buttons included: the buttons act on release), sizing edges and corners
// of a sizeable window that is not zoomed, else border.
int FrameHitTest(POINT p, SIZE window, const TSkinMetrics& m, const TFrameShape& s);

// What PaintFrame needs beyond the shape.
struct TFrameState {
    std::string caption;
    HICON icon = nullptr;
    HFONT font = nullptr;
    bool active = true;
    bool mouseDown = false;
    bool mouseInside = false;
    POINT mouse{};  // window coordinates
    int captionXOverride = -10000;
};

// What a paint found out.
struct TFramePaintResult {
    TFrameHot hot = fhNone;
    int buttonBlockLeft = 10000;
    bool showedClose = false, showedMaximize = false, showedMinimize = false;
    std::string drawnCaption;
};

// Composes frames off-screen; one per skinned window, keeping its bitmaps between paints.
class TFramePainter {
public:
    // Composes the whole frame for a window of that size; with dc, copies the
    // title, the side borders and the bottom strip to it (a window DC).
    TFramePaintResult Paint(HDC dc, SIZE window, const TSkinMetrics& m, const TFrameShape& s, const TFrameState& st);
    // The window's shape from the last composed title and bottom strip; empty
    // when the skin asks for no shape (the plain window rectangle).
    RegionHandle BuildRegion(SIZE window, const TSkinMetrics& m, const TFrameShape& s) const;
    // The window size of the last composition (0 x 0 before the first).
    SIZE ComposedSize() const { return composed_; }

private:
    void ComposeTitle(SIZE window, const TSkinMetrics& m, const TFrameShape& s, const TFrameState& st,
                      TFramePaintResult& out);
    void ComposeBottom(SIZE window, const TSkinMetrics& m, const TFrameShape& s);
    TOffscreen title_, shapedTitle_, bottom_, shapedBottom_, side_;
    int titleHeight_ = 0, bottomHeight_ = 0;
    SIZE composed_{0, 0};
};
