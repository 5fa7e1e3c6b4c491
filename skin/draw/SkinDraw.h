// The drawing primitives every skinned frame and control is made of: frames of
// a strip, three- and nine-slice pieces, masked copies in the transparency
// colour, and off-screen composition. Rectangles are clamped before use, so a
// piece that is missing, too small or wider than its target never reads
// outside a bitmap and never divides by zero.
#pragma once

#include "framework/Handles.h"
#include "skin/archive/SkinBitmap.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A skin bitmap ready for GDI: the pixels in a DIB section plus how it is drawn.
class TSkinImage {
public:
    TSkinImage() = default;
    explicit TSkinImage(const SkinBitmap& bitmap);

    bool Empty() const { return !handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return handle_.Get(); }
    bool Transparent() const { return transparent_; }
    COLORREF TransparentColor() const { return transparentColor_; }
    // The pixel at x, y as 0x00BBGGRR; 0 outside the image.
    COLORREF Pixel(int x, int y) const;

private:
    BitmapHandle handle_;
    int width_ = 0, height_ = 0;
    bool transparent_ = false;
    COLORREF transparentColor_ = 0;
    std::vector<SkinColor> pixels_;
};

// Frame k (from 1) of a strip of n equal frames side by side: ((k-1)w, 0)-(kw, height),
// w = width / n. Empty when n or the frame width is 0 or k is outside 1..n.
RECT StripFrame(int width, int height, int n, int k);

// The rectangle r with right >= left and bottom >= top.
RECT ClampRect(RECT r);
inline bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Copies the source part of the image stretched onto the target; masked copies
// leave the image's transparency colour out. Nothing happens for an empty source,
// target or image; the source is cut to the image first.
void DrawPiece(HDC dc, const TSkinImage& image, RECT source, RECT target, bool masked);
// The whole image stretched onto the target.
void DrawStretched(HDC dc, const TSkinImage& image, const RECT& target, bool masked);
// The image at its own size with its top left at x, y.
void DrawAt(HDC dc, const TSkinImage& image, int x, int y, bool masked);

// The image cut into three equal-width parts: the first at the left end, the
// third at the right end, the second stretched between. A target narrower than
// one part gets only the first part, cut to the target width.
void DrawThreeSlice(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked);
// The same with three equal-height parts, top to bottom.
void DrawThreeSliceVertical(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked);
// Corners unscaled (each at most half the target), edges stretched along, centre filled.
void DrawNineSlice(HDC dc, const TSkinImage& image, const RECT& source, const RECT& target, bool masked);

void FillSolid(HDC dc, const RECT& r, COLORREF color);
// Top to bottom from one colour to the other.
void FillVerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);

// An off-screen 32-bit top-down bitmap with its own memory DC; what is drawn
// into it reaches a window in one copy.
class TOffscreen {
public:
    TOffscreen() = default;
    TOffscreen(const TOffscreen&) = delete;
    TOffscreen& operator=(const TOffscreen&) = delete;

    // Makes it at least this size (it keeps a larger bitmap to avoid remaking it).
    bool Resize(int width, int height);
    HDC Dc() const { return surface_.Dc(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixels of row y, width() of them, each 0x00RRGGBB as GDI stores them.
    std::uint32_t* Row(int y) const;
    // 0x00BBGGRR of the pixel at x, y (which must be inside).
    COLORREF Pixel(int x, int y) const;
    // Replaces every pixel of one colour inside the first width x height pixels.
    void ReplaceColor(int width, int height, COLORREF from, COLORREF to);
    // Copies the top-left width x height pixels to dc at x, y.
    void CopyTo(HDC dc, int x, int y, int width, int height) const;

private:
    OffscreenBitmap surface_;     // its size is the bitmap's, at least the size asked for
    int width_ = 0, height_ = 0;  // the size asked for
};

// One-row rectangles covering each maximal run of pixels that differ from the
// transparency colour, in rows first..last (inclusive, clamped to the bitmap),
// of the top-left width x height part of an off-screen bitmap, offset by dy.
std::vector<RECT> OpaqueRuns(const TOffscreen& bitmap, int width, int height, int first, int last, COLORREF transparent,
                             int dy);

// The caption as it fits the width: whole when it fits, else the longest
// prefix of whole characters followed by "..." that fits ("..." alone when no
// character fits). `measure` gives a text's width.
std::string ShortenCaption(const std::string& text, int width, const std::function<int(const std::string&)>& measure);

// Composes a width x height picture off-screen with `draw` (which sees its top
// left at 0, 0) and copies it to dc at x, y in one step, so a control never
// shows half-drawn states.
void ComposeOffscreen(HDC dc, int x, int y, int width, int height, const std::function<void(HDC)>& draw);

// A rectangle outlined with a one-pixel line of the colour.
void FrameSolid(HDC dc, const RECT& r, COLORREF color);
// The flat two-line border of a control: the border colour outside, the control's
// own colour just inside it, over a width x height window.
void DrawFlatBorder(HDC dc, int width, int height, COLORREF border, COLORREF inside);
