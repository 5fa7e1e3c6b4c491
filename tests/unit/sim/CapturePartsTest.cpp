// The pieces of the simulated capture device, without the library around them.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "capture/BmpWriter.h"
#include "capture/FingerMotion.h"
#include "capture/FingerTexture.h"
#include "capture/FramePacer.h"
#include "capture/FrameRenderer.h"
#include "capture/ToneCurve.h"

namespace kv90sim {
namespace {

TEST(FramePacer, EarlyFetchesWaitForTheNextFrame) {
    FramePacer pacer;
    EXPECT_EQ(pacer.Wait(1000, 40), 0u);
    EXPECT_EQ(pacer.Wait(1010, 40), 30u);  // due at 1040
    EXPECT_EQ(pacer.Wait(1041, 40), 39u);  // due at 1080
}

TEST(FramePacer, LateFetchGetsAFrameAtOnceAndThePaceRestarts) {
    FramePacer pacer;
    pacer.Wait(0, 40);
    EXPECT_EQ(pacer.Wait(500, 40), 0u);
    EXPECT_EQ(pacer.Wait(501, 40), 39u);
}

TEST(FramePacer, PaceZeroNeverWaits) {
    FramePacer pacer;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pacer.Wait(100, 0), 0u);
}

TEST(ToneCurve, DefaultsPassGreyLevelsUnchanged) {
    const ToneCurve curve = MakeToneCurve(kDefaultBright, kDefaultContrast);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(curve[v], v);
}

TEST(ToneCurve, BrightnessShiftsAndContrastSpreads) {
    const ToneCurve brighter = MakeToneCurve(200, kDefaultContrast);
    const ToneCurve darker = MakeToneCurve(40, kDefaultContrast);
    EXPECT_GT(brighter[100], 100);
    EXPECT_LT(darker[100], 100);
    const ToneCurve strong = MakeToneCurve(kDefaultBright, 230);
    const ToneCurve weak = MakeToneCurve(kDefaultBright, 20);
    EXPECT_GT(strong[200] - strong[60], 200 - 60);
    EXPECT_LT(weak[200] - weak[60], 200 - 60);
}

TEST(GreyBmp, HeadersPaletteAndRowsBottomUpWithPadding) {
    const int width = 5;
    const int height = 3;
    std::vector<std::uint8_t> image(width * height);
    std::iota(image.begin(), image.end(), 10);
    std::vector<std::uint8_t> file;
    EncodeGreyBmp(image.data(), width, height, file);

    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER info;
    std::memcpy(&fileHeader, file.data(), sizeof(fileHeader));
    std::memcpy(&info, file.data() + sizeof(fileHeader), sizeof(info));
    const size_t offset = 14 + 40 + 1024;
    EXPECT_EQ(fileHeader.bfType, 0x4D42);
    EXPECT_EQ(fileHeader.bfOffBits, offset);
    EXPECT_EQ(fileHeader.bfSize, file.size());
    EXPECT_EQ(file.size(), offset + 8 * height);  // rows padded to 8 bytes
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, width);
    EXPECT_EQ(info.biHeight, height);
    EXPECT_EQ(info.biBitCount, 8);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(info.biClrUsed, 256u);
    EXPECT_EQ(file[14 + 40 + 4 * 77], 77);  // palette entry 77 is grey 77
    EXPECT_EQ(file[14 + 40 + 4 * 77 + 3], 0);
    EXPECT_EQ(file[offset], image[2 * width]);  // the first stored row is the bottom one
    EXPECT_EQ(file[offset + 8 * 2 + 4], image[4]);
}

TEST(FingerMotion, RollsFromOneNailEdgeToTheOtherAndLifts) {
    RollTiming timing;
    timing.gapFrames = 3;
    timing.placeFrames = 2;
    timing.rollFrames = 10;
    timing.holdFrames = 4;
    timing.liftFrames = 2;
    FingerMotion motion(FingerScript::Roll, timing, FingerOutline{});
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(motion.Next().present);
    const Contact placed = motion.Next();
    EXPECT_TRUE(placed.present);
    motion.Next();
    double previous = placed.centreX;
    for (int i = 0; i < 10; ++i) {
        const Contact rolling = motion.Next();
        EXPECT_GE(rolling.centreX, previous);
        previous = rolling.centreX;
    }
    EXPECT_GT(previous - placed.centreX, 250.0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(motion.Next().centreX, previous);
    const Contact lifting = motion.Next();
    EXPECT_LT(lifting.pressure, 1.0);
    motion.Next();
    EXPECT_FALSE(motion.Next().present);  // the next cycle's pause
}

TEST(FingerMotion, NoneNeverTouchesAndHoldNeverLets) {
    FingerMotion none(FingerScript::None, RollTiming{}, FingerOutline{});
    FingerMotion hold(FingerScript::Hold, RollTiming{}, FingerOutline{});
    for (int i = 0; i < 300; ++i) {
        EXPECT_FALSE(none.Next().present);
        EXPECT_TRUE(hold.Next().present);
    }
}

TEST(FingerTexture, SameSeedSameFingerWithRidgesAboutNinePixelsApart) {
    const FingerTexture a = MakeFingerTexture(FingerOutline{}, 5);
    const FingerTexture b = MakeFingerTexture(FingerOutline{}, 5);
    const FingerTexture c = MakeFingerTexture(FingerOutline{}, 6);
    EXPECT_EQ(std::memcmp(a.row(0), b.row(0), 640 * 640), 0);
    EXPECT_NE(std::memcmp(a.row(0), c.row(0), 640 * 640), 0);
    EXPECT_EQ(a.row(2)[2], FingerTexture::kNoSkin);  // a corner of the glass

    // Above the core the ridges arch across the finger, so a vertical line
    // there crosses them at about their period.
    int crossings = 0;
    int length = 0;
    for (int x : {290, 320, 350}) {
        bool dark = false;
        for (int y = 70; y < 190; ++y) {
            const bool nowDark = a.row(y)[x] < 110;
            crossings += nowDark && !dark;
            dark = nowDark;
            ++length;
        }
    }
    ASSERT_GT(crossings, 0);
    const double period = static_cast<double>(length) / crossings;
    EXPECT_GT(period, 7.5);
    EXPECT_LT(period, 13.0);
}

TEST(FrameRenderer, EmptyGlassIsLightAndTheFingerDark) {
    const FingerTexture texture = MakeFingerTexture(FingerOutline{}, 1);
    FrameRenderer renderer(texture, 1);
    std::vector<std::uint8_t> frame(640 * 640);

    renderer.Render(Contact{}, frame.data());
    const double emptyMean = std::accumulate(frame.begin(), frame.end(), 0.0) / frame.size();
    EXPECT_GT(emptyMean, 225.0);
    EXPECT_LT(emptyMean, 250.0);

    FingerMotion hold(FingerScript::Hold, RollTiming{}, FingerOutline{});
    renderer.Render(hold.Next(), frame.data());
    const auto dark = std::count_if(frame.begin(), frame.end(), [](std::uint8_t v) { return v < 100; });
    EXPECT_GT(dark, 20000);
    EXPECT_GT(frame[5 * 640 + 5], 200);  // the corner stays glass

    renderer.SetTone(MakeToneCurve(kDefaultBright, 0));
    renderer.Render(hold.Next(), frame.data());
    EXPECT_LT(std::count_if(frame.begin(), frame.end(), [](std::uint8_t v) { return v < 100; }), dark / 10);
}

}  // namespace
}  // namespace kv90sim
