#include "skin/draw/SkinDraw.h"

#include "framework/Graphics.h"
#include "skin/draw/SkinBitmapWin.h"

#include <algorithm>

namespace {

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }

std::uint32_t ToDib(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
COLORREF FromDib(std::uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

}  // namespace

// ------------------------------------------------------------------ TSkinImage

TSkinImage::TSkinImage(const SkinBitmap& bitmap)
    : handle_(CreateSkinHBitmap(bitmap)),
      transparent_(bitmap.Transparent()),
      transparentColor_(SkinColorToColorRef(bitmap.TransparentColor())) {
    if (handle_) {
        width_ = bitmap.Width();
        height_ = bitmap.Height();
        pixels_ = bitmap.Pixels();
    }
}

COLORREF TSkinImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return SkinColorToColorRef(pixels_[static_cast<std::size_t>(y) * width_ + x]);
}

// ------------------------------------------------------------------ geometry

RECT StripFrame(int width, int height, int n, int k) {
    if (n <= 0 || k < 1 || k > n || width <= 0 || height <= 0) return RECT{0, 0, 0, 0};
    const int w = width / n;
    if (w == 0) return RECT{0, 0, 0, 0};
    return RECT{(k - 1) * w, 0, k * w, height};
}

RECT ClampRect(RECT r) {
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

// ------------------------------------------------------------------ pieces

void DrawPiece(HDC dc, const TSkinImage& image, RECT source, RECT target, bool masked) {
    if (image.Empty()) return;
    source.left = std::max<LONG>(source.left, 0);
    source.top = std::max<LONG>(source.top, 0);
    source.right = std::min<LONG>(source.right, image.Width());
    source.bottom = std::min<LONG>(source.bottom, image.Height());
    if (RectEmpty(source) || RectEmpty(target)) return;
    MemoryDC src(nullptr);
    SelectObjectScope selected(src.Get(), image.Handle());
    if (masked && image.Transparent()) {
        TransparentBlt(dc, target.left, target.top, W(target), H(target), src.Get(), source.left, source.top, W(source),
                       H(source), image.TransparentColor());
    } else if (W(source) == W(target) && H(source) == H(target)) {
        BitBlt(dc, target.left, target.top, W(target), H(target), src.Get(), source.left, source.top, SRCCOPY);
    } else {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, target.left, target.top, W(target), H(target), src.Get(), source.left, source.top, W(source),
                   H(source), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

void DrawStretched(HDC dc, const TSkinImage& image, const RECT& target, bool masked) {
    DrawPiece(dc, image, RECT{0, 0, image.Width(), image.Height()}, target, masked);
}

void DrawAt(HDC dc, const TSkinImage& image, int x, int y, bool masked) {
    DrawPiece(dc, image, RECT{0, 0, image.Width(), image.Height()}, RECT{x, y, x + image.Width(), y + image.Height()},
              masked);
}

void DrawThreeSlice(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked) {
    const int part = W(source) / 3;
    if (part <= 0 || RectEmpty(target)) return;
    const LONG sl = source.left, st = source.top, sb = source.bottom;
    if (W(target) < part) {
        DrawPiece(dc, image, RECT{sl, st, sl + W(target), sb}, target, masked);
        return;
    }
    const RECT left{sl, st, sl + part, sb}, middle{sl + part, st, sl + 2 * part, sb},
        right{sl + 2 * part, st, sl + 3 * part, sb};
    const LONG split = std::max<LONG>(target.left + part, target.right - part);
    DrawPiece(dc, image, left, RECT{target.left, target.top, target.left + part, target.bottom}, masked);
    DrawPiece(dc, image, middle, RECT{target.left + part, target.top, split, target.bottom}, masked);
    DrawPiece(dc, image, right, RECT{split, target.top, target.right, target.bottom}, masked);
}

void DrawThreeSliceVertical(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked) {
    const int part = H(source) / 3;
    if (part <= 0 || RectEmpty(target)) return;
    const LONG sl = source.left, st = source.top, sr = source.right;
    if (H(target) < part) {
        DrawPiece(dc, image, RECT{sl, st, sr, st + H(target)}, target, masked);
        return;
    }
    const RECT top{sl, st, sr, st + part}, middle{sl, st + part, sr, st + 2 * part},
        bottom{sl, st + 2 * part, sr, st + 3 * part};
    const LONG split = std::max<LONG>(target.top + part, target.bottom - part);
    DrawPiece(dc, image, top, RECT{target.left, target.top, target.right, target.top + part}, masked);
    DrawPiece(dc, image, middle, RECT{target.left, target.top + part, target.right, split}, masked);
    DrawPiece(dc, image, bottom, RECT{target.left, split, target.right, target.bottom}, masked);
}

void DrawNineSlice(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked) {
    if (RectEmpty(source) || RectEmpty(target)) return;
    // Each corner is half the source, cut to half the target.
    const LONG cw = std::min<LONG>(W(source) / 2, W(target) / 2), ch = std::min<LONG>(H(source) / 2, H(target) / 2);
    // Per column and row: the source span and the target span. Corners of exactly
    // half the bitmap meet, and the edges then stretch the line at the centre.
    const auto middle = [](LONG from, LONG to, LONG centre, LONG last) {
        return to > from ? std::pair<LONG, LONG>{from, to}
                         : std::pair<LONG, LONG>{std::min(centre, last), std::min(centre, last) + 1};
    };
    const std::pair<LONG, LONG> sxs[3] = {
        {source.left, source.left + cw},
        middle(source.left + cw, source.right - cw, source.left + W(source) / 2, source.right - 1),
        {source.right - cw, source.right}};
    const std::pair<LONG, LONG> sys[3] = {
        {source.top, source.top + ch},
        middle(source.top + ch, source.bottom - ch, source.top + H(source) / 2, source.bottom - 1),
        {source.bottom - ch, source.bottom}};
    const LONG tx[4] = {target.left, target.left + cw, target.right - cw, target.right};
    const LONG ty[4] = {target.top, target.top + ch, target.bottom - ch, target.bottom};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            DrawPiece(dc, image, RECT{sxs[col].first, sys[row].first, sxs[col].second, sys[row].second},
                      RECT{tx[col], ty[row], tx[col + 1], ty[row + 1]}, masked);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    if (RectEmpty(r)) return;
    const COLORREF old = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void FillVerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    if (RectEmpty(r)) return;
    TRIVERTEX v[2] = {
        {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
         static_cast<COLOR16>(GetBValue(top) << 8), 0},
        {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8), static_cast<COLOR16>(GetGValue(bottom) << 8),
         static_cast<COLOR16>(GetBValue(bottom) << 8), 0},
    };
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

// ------------------------------------------------------------------ TOffscreen

bool TOffscreen::Resize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (!surface_ || width > surface_.Width() || height > surface_.Height()) {
        if (!surface_.MakeDib(width, height)) {
            width_ = height_ = 0;
            return false;
        }
    }
    width_ = width;
    height_ = height;
    return true;
}

std::uint32_t* TOffscreen::Row(int y) const { return surface_.Bits() + static_cast<std::size_t>(y) * surface_.Width(); }

COLORREF TOffscreen::Pixel(int x, int y) const {
    GdiFlush();
    return FromDib(Row(y)[x]);
}

void TOffscreen::ReplaceColor(int width, int height, COLORREF from, COLORREF to) {
    if (!surface_.Bits()) return;
    GdiFlush();
    const std::uint32_t f = ToDib(from), t = ToDib(to);
    width = std::min(width, width_);
    height = std::min(height, height_);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = Row(y);
        for (int x = 0; x < width; ++x)
            if ((row[x] & 0xFFFFFFu) == f) row[x] = t;
    }
}

void TOffscreen::CopyTo(HDC dc, int x, int y, int width, int height) const {
    if (!surface_ || width <= 0 || height <= 0) return;
    BitBlt(dc, x, y, std::min(width, width_), std::min(height, height_), surface_.Dc(), 0, 0, SRCCOPY);
}

std::vector<RECT> OpaqueRuns(const TOffscreen& bitmap, int width, int height, int first, int last, COLORREF transparent,
                             int dy) {
    std::vector<RECT> runs;
    width = std::min(width, bitmap.Width());
    height = std::min(height, bitmap.Height());
    first = std::max(first, 0);
    last = std::min(last, height - 1);
    if (width <= 0) return runs;
    GdiFlush();
    const std::uint32_t t = ToDib(transparent);
    for (int y = first; y <= last; ++y) {
        const std::uint32_t* row = bitmap.Row(y);
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFFu) == t) ++x;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFFu) != t) ++x;
            if (x > start) runs.push_back(RECT{start, y + dy, x, y + dy + 1});
        }
    }
    return runs;
}

// ------------------------------------------------------------------ caption

std::string ShortenCaption(const std::string& text, int width, const std::function<int(const std::string&)>& measure) {
    if (measure(text) <= width) return text;
    std::string best = "...";
    // Whole characters only: a double-byte character is never cut in two.
    for (const char* p = text.c_str(); *p;) {
        const char* next = CharNextA(p);
        if (next == p) break;
        const std::string candidate = text.substr(0, static_cast<std::size_t>(next - text.c_str())) + "...";
        if (measure(candidate) > width) break;
        best = candidate;
        p = next;
    }
    return best;
}

// ------------------------------------------------------------------ composition

void ComposeOffscreen(HDC dc, int x, int y, int width, int height, const std::function<void(HDC)>& draw) {
    if (width <= 0 || height <= 0 || !dc) return;
    // One bitmap serves every control; painting never nests, all of it runs on the window thread.
    static TOffscreen shared;
    if (!shared.Resize(width, height)) return;
    {
        SavedDC saved(shared.Dc());
        draw(shared.Dc());
    }
    shared.CopyTo(dc, x, y, width, height);
}

void FrameSolid(HDC dc, const RECT& r, COLORREF color) {
    if (RectEmpty(r)) return;
    BrushHandle brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.Get());
}

void DrawFlatBorder(HDC dc, int width, int height, COLORREF border, COLORREF inside) {
    FrameSolid(dc, RECT{0, 0, width, height}, border);
    FrameSolid(dc, RECT{1, 1, width - 1, height - 1}, inside);
}
