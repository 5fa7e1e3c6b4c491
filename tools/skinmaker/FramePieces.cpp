#include "FramePieces.h"

#include "SkinDesign.h"

#include <vector>

using namespace design;

namespace {

constexpr double kFar = 100000;  // far enough to put an edge outside every piece
constexpr int kAll = 1 << 20;    // a column bound that every column meets

// Paints a piece of the frame: pixels inside the window's outline get `fill`,
// those on its edge (a 4-neighbour lies outside) the outline colour, and the
// rest stays transparent. `window` is the window's shape in piece coordinates.
Canvas FramePiece(int w, int h, const Distance& window, const std::function<Rgb(int x, int y)>& fill) {
    Canvas c(w, h, kTrans);
    const auto inside = [&](int x, int y) { return window(x + 0.5, y + 0.5) <= 0; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y)) continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            c.Set(x, y, edge ? kOutline : fill(x, y));
        }
    }
    return c;
}

// The title's fill: a soft highlight under the top edge and a darker line where
// the client area begins, over the columns from `left` to `right`.
Rgb TitleFill(int x, int y, int left, int right) {
    if (y == 1) return Mix(TitleColorAt(y), Hex(0xFFFFFF), 0.16);
    if (y == kTitleHeight - 1 && x >= left && x <= right) return Mix(kFrame, kOutline, 0.45);
    return TitleColorAt(y);
}

// The frame colour of the side and bottom borders, with the inner edge line.
Rgb BorderFill(bool innerEdge) { return innerEdge ? Mix(kFrame, kOutline, 0.45) : kFrame; }

enum class Glyph { Blank, Help, Maximize, Restore, Minimize, Close };
enum class State { Normal, Hot, Pressed };

Distance GlyphShape(Glyph glyph) {
    const double cx = kTitleButtonWidth / 2.0, cy = kTitleButtonHeight / 2.0;
    const double s = 4.5;  // half the glyph's size
    switch (glyph) {
    case Glyph::Minimize:
        return Segment(cx - s, cy + 0.5, cx + s, cy + 0.5, 0.6);
    case Glyph::Maximize:
        return Subtract(RoundRect(cx - s - 0.5, cy - s - 0.5, cx + s + 0.5, cy + s + 0.5, 1.0),
                        RoundRect(cx - s + 0.5, cy - s + 0.5, cx + s - 0.5, cy + s - 0.5, 0.5));
    case Glyph::Restore: {
        // Two overlapping windows: the front one lower left, the back one showing above and right of it.
        const double t = s - 1;
        const auto outline = [t](double x, double y) {
            return Subtract(RoundRect(x - t - 0.5, y - t - 0.5, x + t + 0.5, y + t + 0.5, 1.0),
                            RoundRect(x - t + 0.5, y - t + 0.5, x + t - 0.5, y + t - 0.5, 0.5));
        };
        const double fx = cx - 1, fy = cy + 1, bx = cx + 1, by = cy - 1;
        const Distance frontArea = RoundRect(fx - t - 1.5, fy - t - 1.5, fx + t + 1.5, fy + t + 1.5, 1.0);
        return Union(outline(fx, fy), Subtract(outline(bx, by), frontArea));
    }
    case Glyph::Close:
        return Union(Segment(cx - s + 0.5, cy - s + 0.5, cx + s - 0.5, cy + s - 0.5, 0.7),
                     Segment(cx + s - 0.5, cy - s + 0.5, cx - s + 0.5, cy + s - 0.5, 0.7));
    case Glyph::Help: {
        const Distance arc = Subtract(Ring(cx, cy - 2.2, 3.0, 0.65), RoundRect(-kFar, cy - 2.2, cx + 0.2, kFar, 0));
        return Union(Union(arc, Segment(cx, cy + 0.6, cx, cy + 1.9, 0.65)), Circle(cx, cy + 4.3, 0.95));
    }
    case Glyph::Blank:
        break;
    }
    return [](double, double) { return kFar; };
}

Canvas TitleButton(Glyph glyph, State state) {
    // The title shows through the button, so its edges blend into the title's colours.
    Canvas c(kTitleButtonWidth, kTitleButtonHeight, kTrans);
    c.SetBackdrop([](int, int y) { return TitleColorAt(kTitleButtonY + y); });
    if (glyph != Glyph::Blank && state != State::Normal) {
        const Distance face = RoundRect(1, 0, kTitleButtonWidth - 1, kTitleButtonHeight, 3.0);
        if (glyph == Glyph::Close) {
            c.Paint(face, state == State::Hot ? kCloseHot : kClosePressed);
        } else {
            const double lift = state == State::Hot ? 0.20 : 0.0;
            c.PaintWith(face, [lift, state](int, int y) {
                const Rgb row = TitleColorAt(kTitleButtonY + y);
                return state == State::Hot ? Mix(row, Hex(0xFFFFFF), lift) : Mix(row, kOutline, 0.55);
            });
        }
    }
    if (glyph != Glyph::Blank) c.Paint(GlyphShape(glyph), kTitleText);
    c.FinishTransparent(kTrans);
    return c;
}

}  // namespace

Canvas DrawTitleLeft() {
    const Distance window = RoundRect(0, 0, kFar, kFar, kTitleRadius);
    return FramePiece(kTitleSideWidth, kTitleHeight, window,
                      [](int x, int y) { return TitleFill(x, y, kBorderWidth - 1, kAll); });
}

Canvas DrawTitleMiddle() {
    const Distance window = RoundRect(-kFar, 0, kFar, kFar, kTitleRadius);
    return FramePiece(kTitleMiddleWidth, kTitleHeight, window, [](int x, int y) { return TitleFill(x, y, 0, kAll); });
}

Canvas DrawTitleRight() {
    constexpr int w = kTitleSideWidth;
    const Distance window = RoundRect(w - kFar, 0, w, kFar, kTitleRadius);
    return FramePiece(w, kTitleHeight, window, [](int x, int y) { return TitleFill(x, y, 0, w - kBorderWidth); });
}

Canvas DrawLeftBorder() {
    const Distance window = RoundRect(0, -kFar, kFar, kFar, 0);
    return FramePiece(kBorderWidth, kBorderHeight, window,
                      [](int x, int) { return BorderFill(x == kBorderWidth - 1); });
}

Canvas DrawRightBorder() {
    const Distance window = RoundRect(kBorderWidth - kFar, -kFar, kBorderWidth, kFar, 0);
    return FramePiece(kBorderWidth, kBorderHeight, window, [](int x, int) { return BorderFill(x == 0); });
}

Canvas DrawBottomLeft() {
    const int h = kBottomHeight;
    const Distance window = RoundRect(0, h - kFar, kFar, h, kBottomRadius);
    return FramePiece(kBottomSideWidth, h, window,
                      [](int x, int y) { return BorderFill(y == 0 && x >= kBorderWidth - 1); });
}

Canvas DrawBottomMiddle() {
    const int h = kBottomHeight;
    const Distance window = RoundRect(-kFar, h - kFar, kFar, h, kBottomRadius);
    return FramePiece(kBottomMiddleWidth, h, window, [](int, int y) { return BorderFill(y == 0); });
}

Canvas DrawBottomRight() {
    constexpr int w = kBottomSideWidth, h = kBottomHeight;
    const Distance window = RoundRect(w - kFar, h - kFar, w, h, kBottomRadius);
    return FramePiece(w, h, window, [](int x, int y) { return BorderFill(y == 0 && x <= w - kBorderWidth); });
}

Canvas DrawMinimizedTitle() {
    // Stretched over a whole minimised window, so it has no corners of its own.
    const int w = 160;
    const Distance window = RoundRect(0, 0, w, kTitleHeight, 0);
    return FramePiece(w, kTitleHeight, window, [](int x, int y) { return TitleFill(x, y, kAll, kAll); });
}

Canvas DrawTitleButtons() {
    std::vector<Canvas> frames;
    for (Glyph glyph : {Glyph::Blank, Glyph::Help, Glyph::Maximize, Glyph::Restore, Glyph::Minimize, Glyph::Close}) {
        for (State state : {State::Normal, State::Hot, State::Pressed}) frames.push_back(TitleButton(glyph, state));
    }
    return JoinFrames(frames);
}
