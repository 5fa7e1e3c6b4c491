// A push button's face on a small off-screen bitmap: the frame of the state
// nine-sliced over the whole button, the caption moved by 1,1 while pressed
// and grey when disabled, the focus rectangle inset by 5.
#include "framework/Handles.h"
#include "skin/archive/SkinBitmap.h"
#include "skin/draw/SkinControlLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr COLORREF kParent = RGB(10, 20, 30);
constexpr COLORREF kText = RGB(200, 0, 0);

// Three 8 x 8 frames, each one flat colour: normal blue, hot green, pressed red.
TSkinControlLook Look() {
    std::vector<SkinColor> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x) pixels.push_back(x < 8 ? 0xFF0000 : x < 16 ? 0x00FF00 : 0x0000FF);
    TSkinControlLook look;
    look.button = TSkinImage(SkinBitmap(24, 8, pixels, 24));
    return look;
}

struct Face {
    explicit Face(const TButtonFace& face) {
        target.Resize(60, 24);
        PaintButtonFace(target.Dc(), Look(), RECT{0, 0, 60, 24}, face);
    }
    // The bounding box of the pixels of one colour.
    RECT Extent(COLORREF colour) const {
        RECT r{1000, 1000, -1, -1};
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 60; ++x)
                if (target.Pixel(x, y) == colour) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
    TOffscreen target;
};

// Without smoothing, every pixel of the caption is exactly its colour.
HFONT PlainFont() {
    static FontHandle font(
        CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma"));
    return font.Get();
}

// How many pixels of row y, from x 0 to 59, differ from the colour.
int Changed(const TOffscreen& target, int y, COLORREF colour) {
    int count = 0;
    for (int x = 0; x < 60; ++x) count += target.Pixel(x, y) != colour;
    return count;
}

TButtonFace Caption(int frame, bool pressed, bool enabled) {
    TButtonFace face;
    face.frame = frame;
    face.pressed = pressed;
    face.enabled = enabled;
    face.background = kParent;
    face.textColor = kText;
    face.font = PlainFont();
    face.caption = "OK";
    return face;
}

}  // namespace

TEST(SkinButtonFace, FrameOfTheStateCoversTheWholeButton) {
    for (int frame : {1, 2, 3}) {
        TButtonFace face = Caption(frame, false, true);
        face.caption.clear();
        Face painted(face);
        const COLORREF expected = frame == 1 ? RGB(0, 0, 255) : frame == 2 ? RGB(0, 255, 0) : RGB(255, 0, 0);
        for (POINT p : {POINT{0, 0}, POINT{59, 0}, POINT{0, 23}, POINT{59, 23}, POINT{30, 12}})
            EXPECT_EQ(expected, painted.target.Pixel(p.x, p.y)) << "frame " << frame << " at " << p.x << "," << p.y;
    }
}

TEST(SkinButtonFace, PressedCaptionMovesOnePixelAndDisabledIsGrey) {
    const RECT normal = Face(Caption(1, false, true)).Extent(kText);
    const RECT pressed = Face(Caption(3, true, true)).Extent(kText);
    ASSERT_LT(normal.left, normal.right) << "no caption drawn";
    EXPECT_EQ(normal.left + 1, pressed.left);
    EXPECT_EQ(normal.top + 1, pressed.top);
    EXPECT_EQ(normal.right + 1, pressed.right);
    EXPECT_EQ(normal.bottom + 1, pressed.bottom);

    Face disabled(Caption(1, false, false));
    EXPECT_GT(disabled.Extent(RGB(0x80, 0x80, 0x80)).right, 0) << "the disabled caption is not grey";
    EXPECT_LT(disabled.Extent(kText).right, 0) << "the disabled caption keeps its colour";
}

TEST(SkinButtonFace, FocusRectangleIsInsetByFiveAndMovesWhenPressed) {
    TButtonFace face = Caption(1, false, true);
    face.caption.clear();
    face.focused = true;
    Face focused(face);
    // The dotted rectangle changes pixels on the line 5 inside the edge, and none outside it.
    const COLORREF frame = RGB(0, 0, 255);
    EXPECT_GT(Changed(focused.target, 5, frame), 10);
    EXPECT_EQ(0, Changed(focused.target, 4, frame));
    EXPECT_GT(Changed(focused.target, 18, frame), 10);
    EXPECT_EQ(0, Changed(focused.target, 19, frame));
    face.pressed = true;
    Face pressed(face);
    EXPECT_EQ(0, Changed(pressed.target, 5, frame));
    EXPECT_GT(Changed(pressed.target, 6, frame), 10);
    EXPECT_GT(Changed(pressed.target, 19, frame), 10);
}

TEST(SkinButtonFace, TurningAQuarterKeepsPixelsAndTransparency) {
    // 3 x 2: row 0 = 1 2 3, row 1 = 4 5 6; turned clockwise it is 2 x 3: 4 1 / 5 2 / 6 3.
    SkinBitmap bitmap(3, 2, {1, 2, 3, 4, 5, 6}, 24);
    bitmap.SetTransparentColor(5);
    const SkinBitmap turned = RotateQuarter(bitmap);
    ASSERT_EQ(2, turned.Width());
    ASSERT_EQ(3, turned.Height());
    EXPECT_EQ((std::vector<SkinColor>{4, 1, 5, 2, 6, 3}), turned.Pixels());
    EXPECT_TRUE(turned.Transparent());
    EXPECT_EQ(5u, turned.TransparentColor());
}
