#include "Preview.h"

#include "SkinDesign.h"
#include "skin/archive/SkinNames.h"

using namespace design;

namespace {

const Canvas& Bmp(const SkinContents& skin, int index) { return skin.Bitmap(skinnames::BitmapName(index)); }

// Frame k (from 1) of a strip of n frames, as a canvas of its own.
Canvas Frame(const Canvas& strip, int n, int k) {
    const int w = strip.Width() / n;
    Canvas c(w, strip.Height(), kTrans);
    c.Blit(strip, (k - 1) * w, 0, w, strip.Height(), 0, 0);
    return c;
}

// Draws src into the target with its transparent pixels left out.
void Put(Canvas& dst, const Canvas& src, int x, int y) {
    dst.BlitTransparent(src, 0, 0, src.Width(), src.Height(), x, y, kTrans);
}

void ThreeSliceH(Canvas& dst, const Canvas& src, int x, int y, int w) {
    Canvas row(w, src.Height(), kTrans);
    const int p = src.Width() / 3;
    row.Blit(src, 0, 0, p, src.Height(), 0, 0);
    row.StretchBlit(src, p, 0, p, src.Height(), p, 0, w - 2 * p, src.Height());
    row.Blit(src, 2 * p, 0, p, src.Height(), w - p, 0);
    Put(dst, row, x, y);
}

void ThreeSliceV(Canvas& dst, const Canvas& src, int x, int y, int h) {
    Canvas col(src.Width(), h, kTrans);
    const int p = src.Height() / 3;
    col.Blit(src, 0, 0, src.Width(), p, 0, 0);
    col.StretchBlit(src, 0, p, src.Width(), p, 0, p, src.Width(), h - 2 * p);
    col.Blit(src, 0, 2 * p, src.Width(), p, 0, h - p);
    Put(dst, col, x, y);
}

void NineSlice(Canvas& dst, const Canvas& src, int x, int y, int w, int h) {
    const int hw = src.Width() / 2, hh = src.Height() / 2;
    const int cw = std::min(hw, w / 2), ch = std::min(hh, h / 2);
    Canvas t(w, h, kTrans);
    t.StretchBlit(src, hw, hh, 1, 1, cw, ch, w - 2 * cw, h - 2 * ch);
    t.StretchBlit(src, hw, 0, 1, ch, cw, 0, w - 2 * cw, ch);
    t.StretchBlit(src, hw, src.Height() - ch, 1, ch, cw, h - ch, w - 2 * cw, ch);
    t.StretchBlit(src, 0, hh, cw, 1, 0, ch, cw, h - 2 * ch);
    t.StretchBlit(src, src.Width() - cw, hh, cw, 1, w - cw, ch, cw, h - 2 * ch);
    t.Blit(src, 0, 0, cw, ch, 0, 0);
    t.Blit(src, src.Width() - cw, 0, cw, ch, w - cw, 0);
    t.Blit(src, 0, src.Height() - ch, cw, ch, 0, h - ch);
    t.Blit(src, src.Width() - cw, src.Height() - ch, cw, ch, w - cw, h - ch);
    Put(dst, t, x, y);
}

// Pixels of the transparency colour in the scanned rows are outside the window.
void CutRegion(Canvas& strip, int first, int last, Rgb outside) {
    for (int y = first < 0 ? 0 : first; y <= last && y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
            if (strip.Get(x, y) == kTrans) strip.Set(x, y, outside);
}

}  // namespace

Canvas DrawPreview(const SkinContents& skin) {
    const Rgb desktop = Hex(0x5D6B7C);
    const int W = 440, H = 300, ox = 16, oy = 16;
    Canvas out(W + 2 * ox, H + 2 * oy, desktop);

    Canvas window(W, H, kForm);
    // Title: left piece, stretched middle, right piece, then the buttons.
    const Canvas& t1 = Bmp(skin, SKIN_BMP_TITLEBAR1);
    const Canvas& t2 = Bmp(skin, SKIN_BMP_TITLEBAR2);
    const Canvas& t3 = Bmp(skin, SKIN_BMP_TITLEBAR3);
    Canvas title(W, t1.Height(), kForm);
    title.StretchBlit(t2, 0, 0, t2.Width(), t2.Height(), t1.Width(), 0, W - t1.Width() - t3.Width(), t2.Height());
    title.Blit(t3, 0, 0, t3.Width(), t3.Height(), W - t3.Width(), 0);
    title.Blit(t1, 0, 0, t1.Width(), t1.Height(), 0, 0);
    const Canvas& buttons = Bmp(skin, SKIN_BMP_TITLEBUTTONS);
    const int fw = buttons.Width() / 18;
    int bx = W - skin.Int("SKIN2_TITLEBARBUTTONPOSX") - fw;
    const int by = skin.Int("SKIN2_TITLEBARBUTTONPOSY");
    for (int frame : {17, 7, 13}) {  // close (hot), maximize, minimize
        Put(title, Frame(buttons, 18, frame), bx, by);
        bx -= fw + 2;
    }
    title.FillRect(skin.Int("SKIN2_TITLEBARICONPOSX"), skin.Int("SKIN2_TITLEBARICONPOSY"), 16, 16, Hex(0xDDE6F0));
    CutRegion(title, skin.Int("SKIN2_TITLEBARREGIONMINY"), skin.Int("SKIN2_TITLEBARREGIONMAXY"), desktop);
    window.Blit(title, 0, 0, W, title.Height(), 0, 0);

    // Borders and the bottom strip.
    const Canvas& left = Bmp(skin, SKIN_BMP_FORMLEFTBORDER);
    const Canvas& right = Bmp(skin, SKIN_BMP_FORMRIGHTBORDER);
    const Canvas& b1 = Bmp(skin, SKIN_BMP_FORMBOTTOMBORDER1);
    const Canvas& b2 = Bmp(skin, SKIN_BMP_FORMBOTTOMBORDER2);
    const Canvas& b3 = Bmp(skin, SKIN_BMP_FORMBOTTOMBORDER3);
    const int top = title.Height(), bh = b1.Height();
    window.StretchBlit(left, 0, 0, left.Width(), left.Height(), 0, top, left.Width(), H - top - bh);
    window.StretchBlit(right, 0, 0, right.Width(), right.Height(), W - right.Width(), top, right.Width(), H - top - bh);
    Canvas bottom(W, bh, kForm);
    bottom.StretchBlit(b2, 0, 0, b2.Width(), bh, b1.Width(), 0, W - b1.Width() - b3.Width(), bh);
    bottom.Blit(b1, 0, 0, b1.Width(), bh, 0, 0);
    bottom.Blit(b3, 0, 0, b3.Width(), bh, W - b3.Width(), 0);
    CutRegion(bottom, skin.Int("SKIN2_BOTTOMREGIONMINY"), skin.Int("SKIN2_BOTTOMREGIONMAXY"), desktop);
    window.Blit(bottom, 0, 0, W, bh, 0, H - bh);

    // Client area: a tool bar, then controls in their states.
    const int cx = left.Width(), cy = top;
    const Canvas& toolbar = Bmp(skin, SKIN_BMP_TOOLBAR);
    window.StretchBlit(toolbar, 0, 0, toolbar.Width(), toolbar.Height(), cx, cy, W - 2 * cx, toolbar.Height());
    window.FillRect(cx + 6, cy + 4, 24, 24, skin.Int("SKIN2_TOOLBARONCOLOR") == 0 ? kForm : kHover);
    const Canvas& button = Bmp(skin, SKIN_BMP_BUTTON);
    for (int k = 1; k <= 3; ++k) NineSlice(window, Frame(button, 3, k), cx + 16 + (k - 1) * 90, cy + 50, 80, 26);
    const Canvas& check = Bmp(skin, SKIN_BMP_CHECKBOX);
    for (int k = 1; k <= 6; ++k) Put(window, Frame(check, 6, k), cx + 16 + (k - 1) * 24, cy + 94);
    const Canvas& radio = Bmp(skin, SKIN_BMP_RADIOBUTTON);
    for (int k = 1; k <= 4; ++k) Put(window, Frame(radio, 4, k), cx + 16 + (k - 1) * 24, cy + 118);
    ThreeSliceH(window, Bmp(skin, SKIN_BMP_TRACKBAR), cx + 16, cy + 160, 240);
    Put(window, Bmp(skin, SKIN_BMP_TRACKBARSLIDER), cx + 90, cy + 153);
    ThreeSliceH(window, Bmp(skin, SKIN_BMP_PROGRESSBAR1), cx + 16, cy + 190, 240);
    ThreeSliceH(window, Bmp(skin, SKIN_BMP_PROGRESSBAR2), cx + 16, cy + 190, 150);
    // An edit box with the flat two-line border, and a vertical scroll bar.
    window.FillRect(cx + 16, cy + 220, 240, 24, kControlBorder);
    window.FillRect(cx + 17, cy + 221, 238, 22, kControl);
    const int sx = W - cx - 17, sy = cy + 40, sh = H - bh - sy - 4;
    ThreeSliceV(window, Frame(Bmp(skin, SKIN_BMP_SCROLLBAR), 2, 1), sx, sy, sh);
    Put(window, Frame(Bmp(skin, SKIN_BMP_SCROLLBARUPBUTTON), 4, 1), sx, sy);
    Put(window, Frame(Bmp(skin, SKIN_BMP_SCROLLBARDOWNBUTTON), 4, 2), sx, sy + sh - 17);
    ThreeSliceV(window, Frame(Bmp(skin, SKIN_BMP_SCROLLBUTTON), 3, 1), sx, sy + 30, 60);

    out.Blit(window, 0, 0, W, H, ox, oy);
    return out;
}
