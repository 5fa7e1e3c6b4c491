#include "skin/frame/SkinFrame.h"

#include <algorithm>

namespace {

constexpr int kIconSize = 16;
constexpr int kCornerGrip = 12;  // how far along an edge a corner's sizing reaches

// The first of each title button face's three frames (normal, hot, pressed) in the title-button strip,
// counted from 1.
constexpr int kHelpFace = 4;
constexpr int kMaximizeFace = 7;
constexpr int kRestoreFace = 10;  // the maximise box of a maximised window, the minimise box of a minimised one
constexpr int kMinimizeFace = 13;
constexpr int kCloseFace = 16;

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A piece at its own height, stretched across x..right; nothing when the span is empty.
void Span(HDC dc, const TSkinImage& piece, int x, int right) {
    if (right > x) DrawStretched(dc, piece, RECT{x, 0, right, piece.Height()}, false);
}

// The rows first..last of a band as the skin gives them: -1 starts at row 0,
// and a band that does not end after it starts runs to the end of the strip.
void BandRows(int first, int last, int height, int& from, int& to) {
    from = first < 0 ? 0 : first;
    to = (first >= last) ? height - 1 : std::min(last, height - 1);
}

void AddRect(HRGN target, const RECT& r) {
    if (RectEmpty(r)) return;
    RegionHandle part(CreateRectRgnIndirect(&r));
    CombineRgn(target, target, part.Get(), RGN_OR);
}

// Adds a strip's rows to the region: opaque outside the band, the band row by row.
void AddStrip(HRGN target, const TOffscreen& strip, int width, int stripTop, int stripHeight, int pieceTop,
              int pieceHeight, int bandFirst, int bandLast, COLORREF trans, int dy) {
    int from, to;
    BandRows(bandFirst, bandLast, pieceHeight, from, to);
    from += pieceTop;
    to += pieceTop;
    AddRect(target, RECT{0, dy + stripTop, width, dy + std::min(from, stripTop + stripHeight)});
    for (const RECT& r : OpaqueRuns(strip, width, stripTop + stripHeight, from, to, trans, dy)) AddRect(target, r);
    AddRect(target, RECT{0, dy + std::max(to + 1, stripTop), width, dy + stripTop + stripHeight});
}

}  // namespace

TFrameSizes FrameSizes(const TSkinMetrics& m, const TFrameShape& s) {
    TFrameSizes z;
    if (s.hasTitle) {
        z.top = std::max(m.titleHeight, s.unskinnedTop);
        z.extraTopFill = std::max(0, s.unskinnedTop - m.titleHeight);
    }
    if (s.hasBorder) {
        z.left = std::max(m.leftWidth, 4);
        z.right = std::max(m.rightWidth, 4);
        z.bottom = std::max(m.bottomHeight, 4);
    }
    return z;
}

RECT FrameClientRect(const RECT& window, const TSkinMetrics& m, const TFrameShape& s) {
    const TFrameSizes z = FrameSizes(m, s);
    return ClampRect(RECT{window.left + z.left, window.top + z.top, window.right - z.right, window.bottom - z.bottom});
}

int ButtonBlockWidth(const TSkinMetrics& m, const TFrameShape& s) {
    const int n = (s.hasClose ? 1 : 0) + (s.hasMaximize ? 1 : 0) + (s.hasMinimize ? 1 : 0);
    return std::max(0, n * m.ButtonFrameWidth() + 2 * (n - 1) + 15);
}

RECT IconSquare(const TSkinMetrics& m, const TFrameShape& s) {
    if (!s.hasIcon || !s.hasTitle) return RECT{0, 0, 0, 0};
    const int x = std::max(m.iconX, 0);
    int y = m.iconY;
    if (s.iconic) {
        y = std::max((26 - m.ButtonFrameHeight()) / 2, 0);
        if (y + 2 < 22 && m.ButtonFrameHeight() < 22) y += 2;
    } else {
        y = std::max(y, 4);
    }
    return RECT{x, y, x + kIconSize, y + kIconSize};
}

std::vector<TTitleButton> LayoutTitleButtons(int windowWidth, const TSkinMetrics& m, const TFrameShape& s) {
    std::vector<TTitleButton> buttons;
    const int fw = m.ButtonFrameWidth(), fh = m.ButtonFrameHeight();
    if (fw <= 0 || fh <= 0 || !s.hasTitle) return buttons;
    int x = s.iconic ? windowWidth - fw - 5 : windowWidth - m.buttonX - fw;
    const int y = s.iconic ? IconSquare(m, s).top : m.buttonY;
    const auto add = [&](TFrameHot kind, int normal) {
        buttons.push_back(TTitleButton{kind, RECT{x, y, x + fw, y + fh}, {normal, normal + 1, normal + 2}});
        x -= fw + 2;
    };
    if (s.hasClose) add(fhClose, kCloseFace);
    if (s.hasMaximize) add(fhMaxRestore, s.zoomed ? kRestoreFace : kMaximizeFace);
    if (s.hasMinimize) add(fhMinimize, s.iconic ? kRestoreFace : kMinimizeFace);
    if (s.hasHelp) add(fhHelp, kHelpFace);
    return buttons;
}

TFrameHot HotAt(POINT p, int windowWidth, const TSkinMetrics& m, const TFrameShape& s) {
    const RECT icon = IconSquare(m, s);
    if (PtInRect(&icon, p)) return fhIcon;
    for (const TTitleButton& b : LayoutTitleButtons(windowWidth, m, s))
        if (PtInRect(&b.rect, p)) return b.kind;
    return fhNone;
}

int FrameHitTest(POINT p, SIZE window, const TSkinMetrics& m, const TFrameShape& s) {
    if (p.x < 0 || p.y < 0 || p.x >= window.cx || p.y >= window.cy) return HTNOWHERE;
    const TFrameSizes z = FrameSizes(m, s);
    const RECT client = FrameClientRect(RECT{0, 0, window.cx, window.cy}, m, s);
    if (PtInRect(&client, p)) return HTCLIENT;
    if (s.sizeable && s.hasBorder && !s.zoomed && !s.iconic) {
        const bool left = p.x < z.left, right = p.x >= window.cx - z.right;
        const bool top = p.y < z.left, bottom = p.y >= window.cy - z.bottom;
        const bool nearLeft = p.x < kCornerGrip, nearRight = p.x >= window.cx - kCornerGrip;
        const bool nearTop = p.y < kCornerGrip, nearBottom = p.y >= window.cy - kCornerGrip;
        if (top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
        if (bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
        if (right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (p.y < z.top) return HTCAPTION;
    return HTBORDER;
}

// ------------------------------------------------------------ TFramePainter

void TFramePainter::ComposeTitle(SIZE window, const TSkinMetrics& m, const TFrameShape& s, const TFrameState& st,
                                 TFramePaintResult& out) {
    const int W = window.cx, th = m.titleHeight;
    titleHeight_ = FrameSizes(m, s).top;
    if (!title_.Resize(W, titleHeight_)) return;
    HDC dc = title_.Dc();
    FillSolid(dc, RECT{0, 0, W, th}, m.formColor);
    FillSolid(dc, RECT{0, th, W, titleHeight_}, s.menuBarHeight > 0 ? m.menuBarStart : m.formColor);

    const int block = ButtonBlockWidth(m, s);
    int captionX = m.iconX + 20;
    SelectObjectScope font(dc, st.font);
    const auto measure = [dc](const std::string& t) { return TextWidth(dc, t); };
    if (s.iconic) {
        DrawStretched(dc, m.minimizedTitle, RECT{0, 0, W, titleHeight_}, false);
        out.drawnCaption = ShortenCaption(st.caption, W - captionX - block - 4, measure);
    } else {
        const TSkinImage& left = m.title[0];
        // A skin without its fourth and fifth pieces draws five sections with the second and third.
        const TSkinImage& third = m.title[2];
        const TSkinImage& right = (m.fiveSections && !m.title[4].Empty()) ? m.title[4] : third;
        const TSkinImage& fourth = m.title[3].Empty() ? m.title[1] : m.title[3];
        const int lw = left.Width(), rw = right.Width();
        // A window narrower than both end pieces shows the right piece whole at its
        // right edge and as much of the left piece as fits beside it.
        const int leftPart = std::min(lw, std::max(0, W - rw));
        DrawPiece(dc, right, RECT{std::max(0, rw - W), 0, rw, right.Height()},
                  RECT{std::max(0, W - rw), 0, W, right.Height()}, false);
        DrawPiece(dc, left, RECT{0, 0, leftPart, left.Height()}, RECT{0, 0, leftPart, left.Height()}, false);
        const int rightX = std::max(leftPart, W - rw);
        const int avail = W - captionX - block - (m.fiveSections ? third.Width() : 0) - 4;
        out.drawnCaption = ShortenCaption(st.caption, avail, measure);
        if (m.fiveSections) {
            const int textEnd = std::min(rightX, std::max(leftPart, captionX + TextWidth(dc, out.drawnCaption) + 2));
            Span(dc, m.title[1], leftPart, textEnd);
            const int thirdEnd = std::min(rightX, textEnd + third.Width());
            DrawPiece(dc, third, RECT{0, 0, thirdEnd - textEnd, third.Height()},
                      RECT{textEnd, 0, thirdEnd, third.Height()}, false);
            Span(dc, fourth, thirdEnd, rightX);
        } else {
            Span(dc, m.title[1], leftPart, rightX);
        }
    }

    // Icon and title buttons.
    POINT mouse = st.mouse;
    const RECT icon = IconSquare(m, s);
    if (s.hasIcon) {
        if (st.icon) DrawIconEx(dc, icon.left, icon.top, st.icon, 16, 16, 0, nullptr, DI_NORMAL);
        if (st.mouseInside && PtInRect(&icon, mouse)) out.hot = fhIcon;
    } else {
        captionX -= 20;
    }
    for (const TTitleButton& b : LayoutTitleButtons(W, m, s)) {
        const bool hot = st.mouseInside && PtInRect(&b.rect, mouse);
        const int frame = hot ? (st.mouseDown ? b.frames[2] : b.frames[1]) : b.frames[0];
        DrawPiece(dc, m.titleButtons,
                  StripFrame(m.titleButtons.Width(), m.titleButtons.Height(), kTitleButtonFrames, frame), b.rect,
                  m.titleButtonsMasked);
        if (hot) out.hot = b.kind;
        out.buttonBlockLeft = b.rect.left;
        out.showedClose |= b.kind == fhClose;
        out.showedMaximize |= b.kind == fhMaxRestore;
        out.showedMinimize |= b.kind == fhMinimize;
    }

    // Caption.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, st.active ? m.titleTextColor : m.inactiveTitleTextColor);
    const int x = st.captionXOverride >= 0 ? st.captionXOverride : captionX;
    const int y = s.iconic ? 4 : m.captionTop;
    RECT r{x, y, x + 2048, y + 100};
    DrawTextA(dc, out.drawnCaption.c_str(), static_cast<int>(out.drawnCaption.size()), &r,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
}

void TFramePainter::ComposeBottom(SIZE window, const TSkinMetrics& m, const TFrameShape& s) {
    const int W = window.cx;
    bottomHeight_ = FrameSizes(m, s).bottom;
    if (!bottom_.Resize(W, bottomHeight_)) return;
    HDC dc = bottom_.Dc();
    FillSolid(dc, RECT{0, 0, W, bottomHeight_}, m.formColor);
    const int bh = std::min(m.bottomHeight, bottomHeight_);
    const int y0 = bottomHeight_ - bh;
    if (m.bottomThreeSections) {
        const TSkinImage &b1 = m.bottom[0], &b2 = m.bottom[1], &b3 = m.bottom[2];
        const int leftPart = std::min(b1.Width(), std::max(0, W - b3.Width()));
        DrawPiece(dc, b3, RECT{std::max(0, b3.Width() - W), 0, b3.Width(), bh},
                  RECT{std::max(0, W - b3.Width()), y0, W, y0 + bh}, false);
        DrawPiece(dc, b1, RECT{0, 0, leftPart, bh}, RECT{0, y0, leftPart, y0 + bh}, false);
        const int rightX = std::max(leftPart, W - b3.Width());
        if (rightX > leftPart)
            DrawPiece(dc, b2, RECT{0, 0, b2.Width(), bh}, RECT{leftPart, y0, rightX, y0 + bh}, false);
    } else {
        DrawThreeSlice(dc, m.bottom[0], RECT{0, 0, m.bottom[0].Width(), bh}, RECT{0, y0, W, y0 + bh}, false);
    }
}

TFramePaintResult TFramePainter::Paint(HDC dc, SIZE window, const TSkinMetrics& m, const TFrameShape& s,
                                       const TFrameState& st) {
    TFramePaintResult out;
    const TFrameSizes z = FrameSizes(m, s);
    const int W = window.cx, H = window.cy;
    if (W <= 0 || H <= 0) return out;
    const bool title = s.hasTitle && z.top > 0;
    const bool border = s.hasBorder && !s.iconic;
    if (title) ComposeTitle(window, m, s, st, out);
    if (border && z.bottom > 0) ComposeBottom(window, m, s);
    composed_ = window;
    if (!dc) return out;
    GdiFlush();

    if (title) {
        if (m.titleNeedsRegion && shapedTitle_.Resize(W, z.top)) {
            // Outside the window's shape nothing shows; inside it no transparency colour may.
            BitBlt(shapedTitle_.Dc(), 0, 0, W, z.top, title_.Dc(), 0, 0, SRCCOPY);
            shapedTitle_.ReplaceColor(W, z.top, m.transColor, m.formColor);
            shapedTitle_.CopyTo(dc, 0, 0, W, z.top);
        } else {
            title_.CopyTo(dc, 0, 0, W, z.top);
        }
    }
    if (!border) return out;
    const int sideTop = title ? z.top : 0, sideHeight = H - sideTop - z.bottom;
    if (sideHeight > 0 && side_.Resize(std::max(z.left, z.right), sideHeight)) {
        FillSolid(side_.Dc(), RECT{0, 0, z.left, sideHeight}, m.formColor);
        DrawStretched(side_.Dc(), m.leftBorder, RECT{0, 0, std::min(m.leftWidth, z.left), sideHeight}, false);
        side_.CopyTo(dc, 0, sideTop, z.left, sideHeight);
        FillSolid(side_.Dc(), RECT{0, 0, z.right, sideHeight}, m.formColor);
        DrawStretched(side_.Dc(), m.rightBorder,
                      RECT{z.right - std::min(m.rightWidth, z.right), 0, z.right, sideHeight}, false);
        side_.CopyTo(dc, W - z.right, sideTop, z.right, sideHeight);
    }
    if (z.bottom > 0) {
        if (m.bottomNeedsRegion && shapedBottom_.Resize(W, z.bottom)) {
            BitBlt(shapedBottom_.Dc(), 0, 0, W, z.bottom, bottom_.Dc(), 0, 0, SRCCOPY);
            shapedBottom_.ReplaceColor(W, z.bottom, m.transColor, m.formColor);
            shapedBottom_.CopyTo(dc, 0, H - z.bottom, W, z.bottom);
        } else {
            bottom_.CopyTo(dc, 0, H - z.bottom, W, z.bottom);
        }
    }
    return out;
}

RegionHandle TFramePainter::BuildRegion(SIZE window, const TSkinMetrics& m, const TFrameShape& s) const {
    if (!m.titleNeedsRegion && !m.bottomNeedsRegion) return RegionHandle();
    const TFrameSizes z = FrameSizes(m, s);
    const int W = window.cx, H = window.cy;
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    const HRGN region = shape.Get();
    const bool title = s.hasTitle && z.top > 0 && title_.Width() >= W;
    const bool bottom = s.hasBorder && !s.iconic && z.bottom > 0 && bottom_.Width() >= W;
    const int middleTop = title ? z.top : 0, middleBottom = bottom ? H - z.bottom : H;
    if (title) {
        if (m.titleNeedsRegion)
            AddStrip(region, title_, W, 0, z.top, 0, m.titleHeight, m.titleBandMin, m.titleBandMax, m.transColor, 0);
        else
            AddRect(region, RECT{0, 0, W, z.top});
    }
    AddRect(region, RECT{0, middleTop, W, middleBottom});
    if (bottom) {
        const int bh = std::min(m.bottomHeight, z.bottom);
        if (m.bottomNeedsRegion)
            AddStrip(region, bottom_, W, 0, z.bottom, z.bottom - bh, bh, m.bottomBandMin, m.bottomBandMax, m.transColor,
                     H - z.bottom);
        else
            AddRect(region, RECT{0, H - z.bottom, W, H});
    }
    return shape;
}
