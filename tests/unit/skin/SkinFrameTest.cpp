// The skinned frame's geometry, hit testing and composition, on a small skin
// of solid pieces whose colours say which piece a pixel came from.
#include "skin/frame/SkinFrame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr SkinColor kMagenta = 0xFF00FF;
constexpr COLORREF kLeftPiece = 0x000011, kMiddlePiece = 0x000022, kRightPiece = 0x000033, kForm = 0xEEEEEE;

TSkinImage Solid(int width, int height, SkinColor colour, bool roundedTopLeft = false) {
    std::vector<SkinColor> pixels(static_cast<std::size_t>(width) * height, colour);
    if (roundedTopLeft && !pixels.empty()) pixels[0] = kMagenta;
    SkinBitmap bitmap(width, height, pixels, 24);
    bitmap.SetTransparentColor(kMagenta);
    return TSkinImage(bitmap);
}

// 18 frames of 10 x 8, frame k filled with colour k.
TSkinImage ButtonStrip(int frameWidth = 10) {
    std::vector<SkinColor> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 18 * frameWidth; ++x) pixels.push_back(static_cast<SkinColor>(x / frameWidth + 1));
    return TSkinImage(SkinBitmap(18 * frameWidth, 8, pixels, 24));
}

TSkinMetrics SmallSkin() {
    TSkinMetrics m;
    m.title[0] = Solid(6, 20, kLeftPiece, true);
    m.title[1] = Solid(4, 20, kMiddlePiece);
    m.title[2] = Solid(6, 20, kRightPiece);
    m.leftBorder = Solid(3, 10, 0x000044);
    m.rightBorder = Solid(3, 10, 0x000055);
    for (auto& b : m.bottom) b = Solid(6, 5, 0x000066);
    m.titleButtons = ButtonStrip();
    m.titleHeight = 20;
    m.leftWidth = m.rightWidth = 3;
    m.bottomHeight = 5;
    m.iconX = 4;
    m.iconY = 2;
    m.captionTop = 4;
    m.buttonX = 5;
    m.buttonY = 6;
    m.titleBandMin = 0;
    m.titleBandMax = 0;
    m.bottomBandMin = 4;
    m.bottomBandMax = 4;
    m.transColor = kMagenta;
    m.formColor = kForm;
    m.bottomThreeSections = true;
    m.titleNeedsRegion = true;
    return m;
}

TFrameShape Viewer() {
    TFrameShape s;
    s.sizeable = true;
    s.hasIcon = true;
    s.hasMaximize = true;
    s.unskinnedTop = 12;
    return s;
}

std::vector<LONG> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TEST(SkinFrame, SizesComeFromTheSkinWithTheSystemsAsFloor) {
    const TSkinMetrics m = SmallSkin();
    TFrameShape s = Viewer();
    TFrameSizes z = FrameSizes(m, s);
    EXPECT_EQ((std::vector<int>{20, 4, 4, 5, 0}), (std::vector<int>{z.top, z.left, z.right, z.bottom, z.extraTopFill}));
    s.unskinnedTop = 26;  // a system caption taller than the skin's title
    z = FrameSizes(m, s);
    EXPECT_EQ(26, z.top);
    EXPECT_EQ(6, z.extraTopFill);
    s.hasBorder = false;
    s.hasTitle = false;
    EXPECT_EQ(Box(RECT{100, 50, 300, 250}), Box(FrameClientRect(RECT{100, 50, 300, 250}, m, s)));
    // A window smaller than its frame gets an empty client area, never a negative one.
    EXPECT_EQ(Box(RECT{4, 20, 4, 20}), Box(FrameClientRect(RECT{0, 0, 5, 8}, m, Viewer())));
}

TEST(SkinFrame, TitleButtonsSitFromTheRightWithTheirFrames) {
    const TSkinMetrics m = SmallSkin();
    TFrameShape s = Viewer();
    std::vector<TTitleButton> b = LayoutTitleButtons(200, m, s);
    ASSERT_EQ(2u, b.size());
    EXPECT_EQ(fhClose, b[0].kind);
    EXPECT_EQ(Box(RECT{185, 6, 195, 14}), Box(b[0].rect));
    EXPECT_EQ((std::vector<int>{16, 17, 18}), (std::vector<int>(b[0].frames, b[0].frames + 3)));
    EXPECT_EQ(fhMaxRestore, b[1].kind);
    EXPECT_EQ(173, b[1].rect.left);
    EXPECT_EQ(7, b[1].frames[0]);
    s.zoomed = true;  // the maximize button shows restore
    EXPECT_EQ(10, LayoutTitleButtons(200, m, s)[1].frames[0]);
    EXPECT_EQ(2 * 10 + 2 + 15, ButtonBlockWidth(m, s));
    EXPECT_EQ(fhIcon, HotAt(POINT{5, 8}, 200, m, s));
    EXPECT_EQ(fhClose, HotAt(POINT{190, 10}, 200, m, s));
    EXPECT_EQ(fhNone, HotAt(POINT{100, 10}, 200, m, s));

    // A strip missing or narrower than its 18 frames gives no buttons, and nothing divides by zero.
    TSkinMetrics narrow = SmallSkin();
    narrow.titleButtons = Solid(17, 8, 0x000001);
    EXPECT_TRUE(LayoutTitleButtons(200, narrow, s).empty());
    narrow.titleButtons = TSkinImage();
    EXPECT_TRUE(LayoutTitleButtons(200, narrow, s).empty());
    EXPECT_EQ(fhNone, HotAt(POINT{190, 10}, 200, narrow, s));
}

TEST(SkinFrame, HitTestKnowsClientCaptionEdgesAndCorners) {
    const TSkinMetrics m = SmallSkin();
    TFrameShape s = Viewer();
    const SIZE window{200, 100};
    const auto hit = [&](int x, int y) { return FrameHitTest(POINT{x, y}, window, m, s); };
    EXPECT_EQ(HTCLIENT, hit(100, 50));
    EXPECT_EQ(HTCAPTION, hit(100, 10));
    EXPECT_EQ(HTCAPTION, hit(190, 10));  // the buttons act on release; the press is the caption's
    EXPECT_EQ(HTTOP, hit(100, 1));
    EXPECT_EQ(HTLEFT, hit(1, 50));
    EXPECT_EQ(HTRIGHT, hit(198, 50));
    EXPECT_EQ(HTBOTTOM, hit(100, 97));
    EXPECT_EQ(HTBOTTOMRIGHT, hit(199, 99));
    EXPECT_EQ(HTTOPLEFT, hit(0, 0));
    EXPECT_EQ(HTNOWHERE, hit(200, 50));
    s.zoomed = true;  // a maximised window is not sized
    EXPECT_EQ(HTCAPTION, hit(100, 1));
    EXPECT_EQ(HTBORDER, hit(1, 50));
    s = Viewer();
    s.sizeable = false;
    EXPECT_EQ(HTBORDER, hit(199, 99));
}

TEST(SkinFrame, PaintComposesThePiecesAndLightsTheButtonUnderTheMouse) {
    const TSkinMetrics m = SmallSkin();
    TFrameShape s = Viewer();
    TOffscreen window;
    window.Resize(200, 100);
    TFramePainter painter;
    TFrameState st;
    st.caption = "Caption";
    st.mouseInside = true;
    st.mouse = POINT{190, 10};
    TFramePaintResult r = painter.Paint(window.Dc(), SIZE{200, 100}, m, s, st);
    EXPECT_EQ(fhClose, r.hot);
    EXPECT_TRUE(r.showedClose);
    EXPECT_TRUE(r.showedMaximize);
    EXPECT_FALSE(r.showedMinimize);
    EXPECT_EQ(173, r.buttonBlockLeft);
    EXPECT_EQ("Caption", r.drawnCaption);
    EXPECT_EQ(kLeftPiece, window.Pixel(3, 1));
    EXPECT_EQ(kForm, window.Pixel(0, 0));  // the transparent corner shows the form colour inside the window
    EXPECT_EQ(kMiddlePiece, window.Pixel(100, 1));
    EXPECT_EQ(kRightPiece, window.Pixel(197, 1));
    EXPECT_EQ(17u, window.Pixel(190, 10));  // hot close frame
    EXPECT_EQ(7u, window.Pixel(178, 10));   // normal maximize frame
    EXPECT_EQ(0x000044u, window.Pixel(0, 50));
    EXPECT_EQ(kForm, window.Pixel(3, 50));  // the side is 4 wide; the skin's border 3
    EXPECT_EQ(0x000066u, window.Pixel(100, 98));

    st.mouseDown = true;
    r = painter.Paint(window.Dc(), SIZE{200, 100}, m, s, st);
    EXPECT_EQ(18u, window.Pixel(190, 10));  // pressed

    // The shape leaves out the transparent corner only.
    GdiObject<HRGN> region(painter.BuildRegion(SIZE{200, 100}, m, s));
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 1));
    EXPECT_TRUE(PtInRegion(region.Get(), 199, 99));
}

TEST(SkinFrame, LongCaptionsEndInDotsBeforeTheButtons) {
    const TSkinMetrics m = SmallSkin();
    TOffscreen window;
    window.Resize(120, 60);
    TFramePainter painter;
    TFrameState st;
    st.caption = std::string(200, 'W');
    const TFramePaintResult r = painter.Paint(window.Dc(), SIZE{120, 60}, m, Viewer(), st);
    ASSERT_GE(r.drawnCaption.size(), 3u);
    EXPECT_EQ("...", r.drawnCaption.substr(r.drawnCaption.size() - 3));
    SIZE extent{};
    GetTextExtentPoint32A(window.Dc(), r.drawnCaption.c_str(), static_cast<int>(r.drawnCaption.size()), &extent);
    EXPECT_LE(m.iconX + 20 + extent.cx, 120 - ButtonBlockWidth(m, Viewer()) - 4);
}

TEST(SkinFrame, MissingPiecesAndTinyWindowsDrawWhatTheyCan) {
    TSkinMetrics m = SmallSkin();
    TFrameShape s = Viewer();
    TFramePainter painter;
    TFrameState st;
    st.caption = "x";
    TOffscreen window;
    window.Resize(300, 100);
    // A window narrower than the two end pieces keeps the right piece at its right edge.
    painter.Paint(window.Dc(), SIZE{8, 30}, m, s, st);
    EXPECT_EQ(kRightPiece, window.Pixel(7, 1));
    EXPECT_EQ(kRightPiece, window.Pixel(2, 1));
    EXPECT_EQ(kLeftPiece, window.Pixel(1, 1));
    for (const SIZE size : {SIZE{1, 1}, SIZE{3, 40}, SIZE{0, 0}}) {
        painter.Paint(window.Dc(), size, m, s, st);
        GdiObject<HRGN> region(painter.BuildRegion(size, m, s));
    }
    // A skin without title pieces, buttons or borders draws the form colour.
    for (auto& t : m.title) t = TSkinImage();
    m.titleButtons = TSkinImage();
    m.leftBorder = TSkinImage();
    m.bottom[0] = TSkinImage();
    m.fiveSections = true;
    const TFramePaintResult r = painter.Paint(window.Dc(), SIZE{300, 100}, m, s, st);
    EXPECT_EQ(fhNone, r.hot);
    EXPECT_EQ(kForm, window.Pixel(150, 1));
    EXPECT_EQ(MinimumFrameWidth(false, 15, 18, 450), 15 + 75 + 35);
    EXPECT_EQ(MinimumFrameWidth(false, 15, 90, 450), 15 + 90 + 35);
    EXPECT_EQ(MinimumFrameWidth(true, 15, 18, 450), 15 + 18 + 75 + 35);
}
