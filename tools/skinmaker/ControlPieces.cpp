#include "ControlPieces.h"

#include "SkinDesign.h"

#include <vector>

using namespace design;

namespace {

// A canvas whose edges blend into `backdrop` and whose unpainted pixels become
// transparent once Done() is called.
Canvas Blank(int w, int h, Rgb backdrop) {
    Canvas c(w, h, kTrans);
    c.SetBackdrop([backdrop](int, int) { return backdrop; });
    return c;
}

Canvas Done(Canvas c) {
    c.FinishTransparent(kTrans);
    return c;
}

// A bordered rounded box: the border colour first, the fill inset by one pixel.
void Box(Canvas& c, double x0, double y0, double x1, double y1, double r, Rgb border, Rgb fill) {
    c.Paint(RoundRect(x0, y0, x1, y1, r), border);
    c.Paint(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r > 1 ? r - 1 : 0), fill);
}

Canvas ButtonFrame(Rgb border, Rgb top, Rgb bottom) {
    const int s = 24;
    Canvas c = Blank(s, s, kForm);
    c.Paint(RoundRect(0, 0, s, s, 3.5), border);
    // Two flat halves: nine-slicing stretches the middle rows, where they meet.
    c.PaintWith(RoundRect(1, 1, s - 1, s - 1, 2.5), [=](int, int y) { return y < s / 2 ? top : bottom; });
    return Done(c);
}

Distance CheckMark(double x, double y, double scale, double halfWidth) {
    return Union(Segment(x + 0.0 * scale, y + 3.2 * scale, x + 2.5 * scale, y + 5.7 * scale, halfWidth),
                 Segment(x + 2.5 * scale, y + 5.7 * scale, x + 7.0 * scale, y + 0.8 * scale, halfWidth));
}

enum class Mark { Checked, Grayed, None };

Canvas CheckFrame(Mark mark, bool enabled) {
    const int s = 13;
    Canvas c = Blank(s, s, kForm);
    const Rgb border = enabled ? (mark == Mark::Checked ? kAccentDark : Hex(0x7F8FA3)) : kDisabledBorder;
    const Rgb fill = enabled ? (mark == Mark::Checked ? kAccent : kControl)
                             : (mark == Mark::Checked ? kDisabledMark : kDisabledFill);
    Box(c, 0, 0, s, s, 2.5, border, fill);
    if (mark == Mark::Checked) c.Paint(CheckMark(3.0, 3.3, 1.0, 0.85), enabled ? Hex(0xFFFFFF) : kDisabledFill);
    if (mark == Mark::Grayed) c.Paint(RoundRect(3.5, 3.5, 9.5, 9.5, 1.0), enabled ? kAccent : kDisabledMark);
    return Done(c);
}

Canvas RadioFrame(bool checked, bool enabled) {
    const int s = 13;
    Canvas c = Blank(s, s, kForm);
    const Rgb border = enabled ? (checked ? kAccentDark : Hex(0x7F8FA3)) : kDisabledBorder;
    c.Paint(Circle(6.5, 6.5, 6.3), border);
    c.Paint(Circle(6.5, 6.5, 5.3), enabled ? kControl : kDisabledFill);
    if (checked) c.Paint(Circle(6.5, 6.5, 3.0), enabled ? kAccent : kDisabledMark);
    return Done(c);
}

Distance Chevron(double cx, double cy, bool up) {
    const double tip = up ? -1.75 : 1.75;
    return Union(Segment(cx - 3.5, cy - tip, cx, cy + tip, 0.75), Segment(cx, cy + tip, cx + 3.5, cy - tip, 0.75));
}

Canvas ScrollButtonFrame(bool up, int state) {  // 0 normal, 1 hot, 2 pressed, 3 disabled
    const int s = 17;
    Canvas c(s, s, kScrollTrack);
    c.CoverAll();
    if (state == 1 || state == 2)
        c.Paint(RoundRect(1, 1, s - 1, s - 1, 3.0), state == 1 ? Hex(0xDCE1E8) : Hex(0xC5CDD8));
    const Rgb arrow = state == 3 ? Hex(0xBCC3CC) : (state == 0 ? Hex(0x6B7785) : Hex(0x2F3A48));
    c.Paint(Chevron(8.5, 8.5, up), arrow);
    return c;
}

Canvas ProgressPiece(bool horizontal, bool fill) {
    const int w = horizontal ? 24 : 16, h = horizontal ? 16 : 24;
    Canvas c = Blank(w, h, kForm);
    if (fill) {
        c.PaintWith(RoundRect(1, 1, w - 1, h - 1, 3.0), [=](int x, int y) {
            const double t = horizontal ? static_cast<double>(y) / (h - 1) : static_cast<double>(x) / (w - 1);
            return Mix(Hex(0x4F82B8), kAccent, t);
        });
    } else {
        Box(c, 0, 0, w, h, 4.0, Hex(0xC3CBD5), Hex(0xE6EAEF));
    }
    return Done(c);
}

Canvas TabFrame(Rgb fill) {
    const int w = 24, h = 24;
    Canvas c = Blank(w, h, kForm);
    // Rounded at the top only: the shape runs on below the bottom edge.
    c.Paint(RoundRect(0, 0, w, h + 8, 4.0), kControlBorder);
    c.Paint(RoundRect(1, 1, w - 1, h + 8, 3.0), fill);
    return Done(c);
}

}  // namespace

Canvas DrawButton() {
    return JoinFrames({ButtonFrame(kControlBorder, Hex(0xFDFDFE), Hex(0xF7F9FB)),
                       ButtonFrame(kHoverBorder, kHover, kHover), ButtonFrame(kAccent, kDown, kDown)});
}

Canvas DrawCheckBox() {
    return JoinFrames({CheckFrame(Mark::Checked, true), CheckFrame(Mark::Grayed, true), CheckFrame(Mark::None, true),
                       CheckFrame(Mark::Checked, false), CheckFrame(Mark::Grayed, false),
                       CheckFrame(Mark::None, false)});
}

Canvas DrawRadioButton() {
    return JoinFrames(
        {RadioFrame(true, true), RadioFrame(false, true), RadioFrame(true, false), RadioFrame(false, false)});
}

Canvas DrawTrackBar() {
    // A slim groove; its transparent corners become the form colour when loaded.
    Canvas c = Blank(18, 6, kForm);
    Box(c, 0, 0, 18, 6, 3.0, Hex(0xB3BDC9), Hex(0xDDE3EA));
    return Done(c);
}

Canvas DrawTrackBarSlider() {
    const int w = 11, h = 21;
    Canvas c = Blank(w, h, kForm);
    Box(c, 0, 0, w, h, 3.0, kAccentDark, kAccent);
    c.Paint(Segment(3.0, 2.0, 8.0, 2.0, 0.5), Mix(kAccent, Hex(0xFFFFFF), 0.35));
    return Done(c);
}

Canvas DrawTrackBarVSlider() {
    const int w = 21, h = 11;
    Canvas c = Blank(w, h, kForm);
    Box(c, 0, 0, w, h, 3.0, kAccentDark, kAccent);
    c.Paint(Segment(2.0, 3.0, 2.0, 8.0, 0.5), Mix(kAccent, Hex(0xFFFFFF), 0.35));
    return Done(c);
}

Canvas DrawScrollBarUpButton() {
    return JoinFrames({ScrollButtonFrame(true, 0), ScrollButtonFrame(true, 1), ScrollButtonFrame(true, 2),
                       ScrollButtonFrame(true, 3)});
}

Canvas DrawScrollBarDownButton() {
    return JoinFrames({ScrollButtonFrame(false, 0), ScrollButtonFrame(false, 1), ScrollButtonFrame(false, 2),
                       ScrollButtonFrame(false, 3)});
}

Canvas DrawScrollBarTrack() {
    Canvas normal(17, 17, kScrollTrack), pressed(17, 17, Hex(0xE0E4EA));
    normal.CoverAll();
    pressed.CoverAll();
    return JoinFrames({normal, pressed});
}

Canvas DrawScrollThumb() {
    std::vector<Canvas> frames;
    for (Rgb face : {Hex(0xC2C9D3), Hex(0xA9B2BE), Hex(0x8F99A6)}) {
        Canvas c(17, 17, kScrollTrack);
        c.CoverAll();
        c.Paint(RoundRect(4, 1, 13, 16, 4.0), face);
        frames.push_back(c);
    }
    return JoinFrames(frames);
}

Canvas DrawProgressBar(int which) {
    switch (which) {
    case 1:
        return ProgressPiece(true, false);
    case 2:
        return ProgressPiece(true, true);
    case 3:
        return ProgressPiece(false, false);
    default:
        return ProgressPiece(false, true);
    }
}

Canvas DrawTabControl() { return JoinFrames({TabFrame(kControl), TabFrame(Hex(0xE6EAF0)), TabFrame(Hex(0xF1F5FA))}); }

Canvas DrawTabControlLine() {
    Canvas c(6, 2, kControlBorder);
    c.CoverAll();
    c.FillRect(0, 1, 6, 1, kControl);
    return c;
}

Canvas DrawSideChannelBar() {
    Canvas c(24, 24, kForm);
    c.HorizontalGradient(0, 0, 24, 24, Hex(0xEEF2F6), Hex(0xE2E7EE));
    c.FillRect(23, 0, 1, 24, kControlBorder);
    return c;
}

Canvas DrawSideChannelTitle() {
    Canvas c(24, 24, kForm);
    c.VerticalGradient(0, 0, 24, 24, Hex(0x4A7BAE), kAccentDark);
    return c;
}

Canvas DrawMenuBar() {
    Canvas c(8, 22, kForm);
    c.VerticalGradient(0, 0, 8, 22, Hex(0xF8FAFC), Hex(0xEDF0F4));
    return c;
}

Canvas DrawToolBar() {
    Canvas c(8, 32, kForm);
    c.VerticalGradient(0, 0, 8, 31, Hex(0xF8FAFC), Hex(0xEBEFF3));
    c.FillRect(0, 31, 8, 1, Hex(0xD3DAE3));
    return c;
}

Canvas DrawCheckedMenuIcon() {
    Canvas c = Blank(16, 16, kControl);
    c.Paint(CheckMark(4.0, 4.0, 1.1, 0.85), kText);
    return Done(c);
}
