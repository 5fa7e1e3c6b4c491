// The drawing primitives on small bitmaps whose every pixel is known.
#include "skin/draw/SkinDraw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr SkinColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kMagenta = 0xFF00FF, kWhite = 0xFFFFFF;

// An image whose pixel at x, y is colour(x, y).
TSkinImage Image(int width, int height, SkinColor (*colour)(int, int), bool transparent = false) {
    std::vector<SkinColor> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(colour(x, y));
    SkinBitmap bitmap(width, height, pixels, 24);
    if (transparent) bitmap.SetTransparentColor(kMagenta);
    return TSkinImage(bitmap);
}

// Three 2-pixel columns: red, green, blue.
SkinColor Thirds(int x, int) { return x < 2 ? kRed : x < 4 ? kGreen : kBlue; }

std::string Row(const TOffscreen& target, int y, int width) {
    std::string row;
    for (int x = 0; x < width; ++x) {
        const COLORREF c = target.Pixel(x, y);
        row += c == kRed ? 'R' : c == kGreen ? 'G' : c == kBlue ? 'B' : c == kWhite ? '.' : c == kMagenta ? 'M' : '?';
    }
    return row;
}

struct Canvas {
    explicit Canvas(int w, int h) {
        target.Resize(w, h);
        FillSolid(target.Dc(), RECT{0, 0, w, h}, kWhite);
    }
    TOffscreen target;
};

}  // namespace

TEST(SkinDraw, FramesOfAStripAreEqualCutsNumberedFromOne) {
    const RECT first = StripFrame(450, 25, 18, 1);
    EXPECT_EQ((std::vector<LONG>{0, 0, 25, 25}), (std::vector<LONG>{first.left, first.top, first.right, first.bottom}));
    const RECT last = StripFrame(450, 25, 18, 18);
    EXPECT_EQ(425, last.left);
    EXPECT_EQ(450, last.right);
    // A strip narrower than its frame count, no frames, or a frame outside 1..n: nothing to cut.
    for (const RECT& r : {StripFrame(10, 25, 18, 1), StripFrame(450, 25, 0, 1), StripFrame(450, 25, 18, 19),
                          StripFrame(450, 25, 18, 0), StripFrame(0, 0, 18, 3)})
        EXPECT_TRUE(RectEmpty(r));
}

TEST(SkinDraw, ThreeSliceKeepsTheEndsAndStretchesTheMiddle) {
    const TSkinImage image = Image(6, 1, Thirds);
    Canvas canvas(12, 3);
    DrawThreeSlice(canvas.target.Dc(), image, RECT{0, 0, 6, 1}, RECT{0, 0, 10, 1}, false);
    // Narrower than one part: only the first part, cut to the width.
    DrawThreeSlice(canvas.target.Dc(), image, RECT{0, 0, 6, 1}, RECT{0, 1, 1, 2}, false);
    // One row high cut into three rows: no part has a height, nothing is drawn.
    DrawThreeSliceVertical(canvas.target.Dc(), image, RECT{0, 0, 6, 1}, RECT{0, 2, 1, 3}, false);
    EXPECT_EQ("RRGGGGGGBB..", Row(canvas.target, 0, 12));
    EXPECT_EQ("R...........", Row(canvas.target, 1, 12));
    EXPECT_EQ("............", Row(canvas.target, 2, 12));

    const TSkinImage column = Image(1, 6, [](int, int y) { return Thirds(y, 0); });
    Canvas tall(1, 10);
    DrawThreeSliceVertical(tall.target.Dc(), column, RECT{0, 0, 1, 6}, RECT{0, 0, 1, 10}, false);
    std::string down;
    for (int y = 0; y < 10; ++y) down += Row(tall.target, y, 1);
    EXPECT_EQ("RRGGGGGGBB", down);
}

TEST(SkinDraw, MaskedCopiesLeaveTheTransparencyColourOut) {
    const TSkinImage image = Image(
        3, 1, [](int x, int) { return x == 1 ? kMagenta : kRed; }, true);
    Canvas canvas(4, 2);
    DrawAt(canvas.target.Dc(), image, 0, 0, true);
    DrawAt(canvas.target.Dc(), image, 0, 1, false);
    EXPECT_EQ("R.R.", Row(canvas.target, 0, 4));
    EXPECT_EQ("RMR.", Row(canvas.target, 1, 4));
}

TEST(SkinDraw, NineSliceKeepsCornersAndStretchesEdges) {
    // Left half red, right half blue; the top row green.
    const TSkinImage image = Image(4, 4, [](int x, int y) { return y == 0 ? kGreen : x < 2 ? kRed : kBlue; });
    Canvas canvas(8, 6);
    DrawNineSlice(canvas.target.Dc(), image, RECT{0, 0, 4, 4}, RECT{0, 0, 8, 6}, false);
    // Corners of 2 x 2; between them the centre line (the first blue column) is stretched.
    EXPECT_EQ("GGGGGGGG", Row(canvas.target, 0, 8));
    for (int y = 1; y < 6; ++y) EXPECT_EQ("RRBBBBBB", Row(canvas.target, y, 8)) << y;
}

TEST(SkinDraw, PiecesNeverReadOutsideTheirBitmap) {
    const TSkinImage image = Image(6, 1, Thirds);
    const TSkinImage empty;
    Canvas canvas(8, 1);
    DrawPiece(canvas.target.Dc(), image, RECT{4, 0, 60, 9}, RECT{0, 0, 2, 1}, false);  // cut to the image: blue
    DrawPiece(canvas.target.Dc(), empty, RECT{0, 0, 6, 1}, RECT{2, 0, 8, 1}, false);
    DrawThreeSlice(canvas.target.Dc(), empty, RECT{0, 0, 0, 0}, RECT{2, 0, 8, 1}, false);
    DrawNineSlice(canvas.target.Dc(), image, RECT{0, 0, 6, 1}, RECT{2, 0, 2, 1}, false);
    EXPECT_EQ("BB......", Row(canvas.target, 0, 8));
}

TEST(SkinDraw, OffscreenReplacesColoursAndFindsOpaqueRuns) {
    Canvas canvas(6, 3);
    HDC dc = canvas.target.Dc();
    FillSolid(dc, RECT{0, 0, 2, 1}, kMagenta);
    FillSolid(dc, RECT{5, 0, 6, 1}, kMagenta);
    FillSolid(dc, RECT{2, 1, 3, 2}, kMagenta);
    const std::vector<RECT> runs = OpaqueRuns(canvas.target, 6, 3, 0, 1, kMagenta, 10);
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ((std::vector<LONG>{2, 10, 5, 11}),
              (std::vector<LONG>{runs[0].left, runs[0].top, runs[0].right, runs[0].bottom}));
    EXPECT_EQ((std::vector<LONG>{0, 11, 2, 12}),
              (std::vector<LONG>{runs[1].left, runs[1].top, runs[1].right, runs[1].bottom}));
    EXPECT_EQ((std::vector<LONG>{3, 11, 6, 12}),
              (std::vector<LONG>{runs[2].left, runs[2].top, runs[2].right, runs[2].bottom}));
    // Rows past the bitmap are not read.
    EXPECT_EQ(0u, OpaqueRuns(canvas.target, 6, 3, 3, 40, kMagenta, 0).size());
    canvas.target.ReplaceColor(6, 3, kMagenta, kGreen);
    EXPECT_EQ("GG...G", Row(canvas.target, 0, 6));
    EXPECT_EQ("..G...", Row(canvas.target, 1, 6));
}

TEST(SkinDraw, CaptionsThatOverflowEndInDotsAfterWholeCharacters) {
    const auto tenPerByte = [](const std::string& t) { return static_cast<int>(t.size()) * 10; };
    EXPECT_EQ("ABCDEFGH", ShortenCaption("ABCDEFGH", 80, tenPerByte));
    EXPECT_EQ("AB...", ShortenCaption("ABCDEFGH", 55, tenPerByte));
    EXPECT_EQ("ABCD...", ShortenCaption("ABCDEFGH", 79, tenPerByte));
    EXPECT_EQ("...", ShortenCaption("ABCDEFGH", 20, tenPerByte));
    // A double-byte character is never cut in two.
    const std::string name = "指纹采集";
    EXPECT_EQ(std::string("指纹..."), ShortenCaption(name, 70, tenPerByte));
    EXPECT_EQ(std::string("指..."), ShortenCaption(name, 60, tenPerByte));
}
