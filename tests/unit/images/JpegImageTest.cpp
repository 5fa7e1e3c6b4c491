// The JPEG picture: bitmaps of every depth in, JPEG data out and back, drawing.
#include "ImageTestFiles.h"
#include "TempFolder.h"

#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace imagetest;

namespace {

std::unique_ptr<TBitmap> LoadBitmap(const std::string& bytes) {
    TempFolder folder;
    folder.Write("source.bmp", bytes);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(folder.Path() + "source.bmp");
    return bitmap;
}

std::array<int, 3> Bgr(unsigned rgb) {
    return {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF)};
}

int MaxDifference(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    int worst = 0;
    for (size_t i = 0; i < 3; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

// Four flat quarters: red, green / blue, white.
unsigned Quarters(int x, int y, int size) {
    const bool right = x >= size / 2;
    const bool bottom = y >= size / 2;
    if (!bottom) return right ? 0x00FF00u : 0xFF0000u;
    return right ? 0xFFFFFFu : 0x0000FFu;
}

// A 24-bit drawing target, all black.
BitmapHandle BlackCanvas(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapHandle canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits) std::memset(bits, 0, static_cast<size_t>(((width * 3 + 3) / 4) * 4 * height));
    return canvas;
}

}  // namespace

TEST(JpegImage, StartsEmptyAtTheToolkitsDefaultQuality) {
    TJPEGImage jpeg;
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_EQ(0, jpeg.Width());
    EXPECT_EQ(0, jpeg.Height());
    EXPECT_EQ(75, jpeg.CompressionQuality());
    EXPECT_TRUE(jpeg.Data().empty());
    EXPECT_TRUE(jpeg.InheritsFrom("TGraphic"));
    EXPECT_EQ("TJPEGImage", jpeg.ClassName());
    EXPECT_THROW(jpeg.Compress(), Exception);
    TempFolder folder;
    EXPECT_THROW(jpeg.SaveToFile(folder.Path() + "empty.jpg"), Exception);
    EXPECT_FALSE(FileExists(folder.Path() + "empty.jpg"));
}

TEST(JpegImage, QualityIsClampedToOneToHundred) {
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(0);
    EXPECT_EQ(1, jpeg.CompressionQuality());
    jpeg.SetCompressionQuality(101);
    EXPECT_EQ(100, jpeg.CompressionQuality());
    jpeg.SetCompressionQuality(42);
    EXPECT_EQ(42, jpeg.CompressionQuality());
}

TEST(JpegImage, AssignExpandsAGreyPaletteToThreeEqualChannels) {
    const auto bitmap = LoadBitmap(GreyBmp(64, 48));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    ASSERT_FALSE(jpeg.Empty());
    EXPECT_EQ(64, jpeg.Width());
    EXPECT_EQ(48, jpeg.Height());
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const int grey = RidgeGrey(x, y);
            ASSERT_EQ((std::array<int, 3>{grey, grey, grey}), DibPixel(jpeg.Handle(), x, y)) << x << "," << y;
        }
}

class PaletteDepth : public testing::TestWithParam<int> {};

TEST_P(PaletteDepth, AssignExpandsEachIndexToItsPaletteColour) {
    const int bits = GetParam();
    const std::vector<RGBQUAD> palette = {
        {0x10, 0x20, 0xF0, 0}, {0xE0, 0x30, 0x05, 0}, {0x00, 0xC0, 0x40, 0}, {0x80, 0x80, 0x80, 0}};
    const int colours = bits == 1 ? 2 : 4;
    std::vector<RGBQUAD> used(palette.begin(), palette.begin() + colours);
    const auto index = [&](int x, int y) { return static_cast<unsigned>((x / 3 + y) % colours); };
    const auto bitmap = LoadBitmap(Bmp(37, 11, bits, used, index));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x) {
            const RGBQUAD& c = used[index(x, y)];
            ASSERT_EQ((std::array<int, 3>{c.rgbBlue, c.rgbGreen, c.rgbRed}), DibPixel(jpeg.Handle(), x, y))
                << bits << " bits at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(JpegImage, PaletteDepth, testing::Values(1, 4, 8));

class DirectDepth : public testing::TestWithParam<int> {};

TEST_P(DirectDepth, AssignCopiesThePixels) {
    const auto colour = [](int x, int y) { return static_cast<unsigned>(x * 0x0A0301 + y * 0x010709) & 0xFFFFFFu; };
    const auto bitmap = LoadBitmap(Bmp(29, 17, GetParam(), {}, colour));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 29; ++x) ASSERT_EQ(Bgr(colour(x, y)), DibPixel(jpeg.Handle(), x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(JpegImage, DirectDepth, testing::Values(24, 32));

TEST(JpegImage, AssignDropsTheCompressedDataUntilTheNextCompress) {
    const auto bitmap = LoadBitmap(GreyBmp(32, 32));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    EXPECT_TRUE(jpeg.Data().empty());
    jpeg.Compress();
    EXPECT_FALSE(jpeg.Data().empty());
    jpeg.Assign(*bitmap);
    EXPECT_TRUE(jpeg.Data().empty());
}

TEST(JpegImage, AssignOfAnEmptyBitmapEmptiesThePicture) {
    const auto bitmap = LoadBitmap(GreyBmp(32, 32));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.Compress();
    jpeg.Assign(TBitmap());
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_EQ(0, jpeg.Width());
    EXPECT_TRUE(jpeg.Data().empty());
}

TEST(JpegImage, GreyBitmapAtQualityHundredIsABaselineColourJpegWithUnitTables) {
    const auto bitmap = LoadBitmap(GreyBmp(640, 640));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.SetCompressionQuality(100);
    jpeg.Compress();

    const JpegLayout layout = ReadJpegLayout(jpeg.Data());
    EXPECT_TRUE(layout.jfif);
    EXPECT_EQ(0xC0, layout.frameMarker) << "baseline, not progressive";
    EXPECT_EQ(8, layout.precision);
    EXPECT_EQ(640, layout.width);
    EXPECT_EQ(640, layout.height);
    ASSERT_EQ(3u, layout.components.size()) << "colour even for a grey bitmap";
    EXPECT_EQ(2, layout.components[0].h);
    EXPECT_EQ(2, layout.components[0].v);
    EXPECT_EQ(1, layout.components[1].h);
    EXPECT_EQ(1, layout.components[2].v);
    ASSERT_EQ(2u, layout.quantTables.size());
    for (const auto& [number, table] : layout.quantTables)
        for (int value : table) ASSERT_EQ(1, value) << "table " << number;
}

TEST(JpegImage, DefaultQualityHalvesTheStandardTables) {
    const auto bitmap = LoadBitmap(GreyBmp(16, 16));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.Compress();
    const JpegLayout layout = ReadJpegLayout(jpeg.Data());
    // The standard luminance table starts 16, 11, 12 in zigzag order.
    EXPECT_EQ(8, layout.quantTables.at(0)[0]);
    EXPECT_EQ(6, layout.quantTables.at(0)[1]);
    EXPECT_EQ(6, layout.quantTables.at(0)[2]);
}

TEST(JpegImage, CompressedGreyBitmapDecodesBackCloseToItsPixels) {
    const auto bitmap = LoadBitmap(GreyBmp(640, 640));
    TJPEGImage original;
    original.Assign(*bitmap);
    original.SetCompressionQuality(100);
    original.Compress();

    TJPEGImage decoded;
    decoded.LoadFromMemory(original.Data());
    ASSERT_EQ(640, decoded.Width());
    ASSERT_EQ(640, decoded.Height());
    int worst = 0;
    long long total = 0;
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 640; ++x) {
            const int grey = RidgeGrey(x, y);
            const int error = MaxDifference({grey, grey, grey}, DibPixel(decoded.Handle(), x, y));
            worst = std::max(worst, error);
            total += error;
        }
    EXPECT_LE(worst, 3);
    EXPECT_LT(static_cast<double>(total) / (640.0 * 640.0), 1.0);
}

TEST(JpegImage, SaveToFileWritesTheCompressedDataUnchanged) {
    const auto bitmap = LoadBitmap(GreyBmp(40, 30));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.Compress();
    // A quality set after compressing applies from the next Compress only.
    jpeg.SetCompressionQuality(10);
    TempFolder folder;
    jpeg.SaveToFile(folder.Path() + "a.jpg");
    EXPECT_EQ(jpeg.Data(), folder.Read("a.jpg"));
}

TEST(JpegImage, SaveToFileCompressesAtTheCurrentQualityWhenThereIsNoData) {
    const auto bitmap = LoadBitmap(GreyBmp(40, 30));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.SetCompressionQuality(100);
    TempFolder folder;
    jpeg.SaveToFile(folder.Path() + "a.jpg");
    EXPECT_EQ(1, ReadJpegLayout(folder.Read("a.jpg")).quantTables.at(0)[0]);
    EXPECT_TRUE(jpeg.Data().empty());
}

TEST(JpegImage, SaveToFileReplacesALongerFile) {
    const auto bitmap = LoadBitmap(GreyBmp(40, 30));
    TJPEGImage jpeg;
    jpeg.Assign(*bitmap);
    jpeg.Compress();
    TempFolder folder;
    folder.Write("a.jpg", std::string(100000, 'x'));
    jpeg.SaveToFile(folder.Path() + "a.jpg");
    EXPECT_EQ(jpeg.Data(), folder.Read("a.jpg"));
}

TEST(JpegImage, LoadFromFileKeepsTheFilesBytesForSaving) {
    const auto bitmap = LoadBitmap(GreyBmp(40, 30));
    TJPEGImage source;
    source.Assign(*bitmap);
    source.Compress();
    TempFolder folder;
    folder.Write("in.jpg", source.Data());

    TJPEGImage loaded;
    loaded.LoadFromFile(folder.Path() + "in.jpg");
    EXPECT_EQ(40, loaded.Width());
    EXPECT_EQ(30, loaded.Height());
    EXPECT_EQ(source.Data(), loaded.Data());
    loaded.SaveToFile(folder.Path() + "out.jpg");
    EXPECT_EQ(source.Data(), folder.Read("out.jpg"));
}

TEST(JpegImage, DrawStretchesTheDecodedPictureIntoTheRectangle) {
    const auto quarters = [](int x, int y) { return Quarters(x, y, 64); };
    const auto bitmap = LoadBitmap(Bmp(64, 64, 24, {}, quarters));
    TJPEGImage jpeg;
    {
        TJPEGImage encoder;
        encoder.Assign(*bitmap);
        encoder.SetCompressionQuality(100);
        encoder.Compress();
        jpeg.LoadFromMemory(encoder.Data());
    }

    const BitmapHandle canvas = BlackCanvas(200, 200);
    ASSERT_TRUE(canvas);
    {
        MemoryDC dc(nullptr);
        SelectObjectScope select(dc.Get(), canvas.Get());
        jpeg.Draw(dc.Get(), RECT{50, 50, 178, 178});  // twice the picture's size
        GdiFlush();
    }
    EXPECT_LE(MaxDifference(Bgr(0xFF0000u), DibPixel(canvas.Get(), 82, 82)), 24);
    EXPECT_LE(MaxDifference(Bgr(0x00FF00u), DibPixel(canvas.Get(), 146, 82)), 24);
    EXPECT_LE(MaxDifference(Bgr(0x0000FFu), DibPixel(canvas.Get(), 82, 146)), 24);
    EXPECT_LE(MaxDifference(Bgr(0xFFFFFFu), DibPixel(canvas.Get(), 146, 146)), 24);
    // Nothing is drawn outside the rectangle.
    EXPECT_EQ((std::array<int, 3>{0, 0, 0}), DibPixel(canvas.Get(), 49, 49));
    EXPECT_EQ((std::array<int, 3>{0, 0, 0}), DibPixel(canvas.Get(), 178, 178));
    EXPECT_EQ((std::array<int, 3>{0, 0, 0}), DibPixel(canvas.Get(), 10, 190));
}

TEST(JpegImage, DrawOfAnEmptyPictureLeavesTheTargetAlone) {
    TJPEGImage jpeg;
    const BitmapHandle canvas = BlackCanvas(4, 4);
    MemoryDC dc(nullptr);
    SelectObjectScope select(dc.Get(), canvas.Get());
    SetPixel(dc.Get(), 1, 1, RGB(1, 2, 3));
    jpeg.Draw(dc.Get(), RECT{0, 0, 4, 4});
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(dc.Get(), 1, 1));
}

TEST(Picture, LoadsJpgAndJpegFilesAsJpegPictures) {
    const auto bitmap = LoadBitmap(GreyBmp(24, 20));
    TJPEGImage source;
    source.Assign(*bitmap);
    source.Compress();
    TempFolder folder;
    folder.Write("a.jpg", source.Data());
    folder.Write("b.JPEG", source.Data());

    for (const char* name : {"a.jpg", "b.JPEG"}) {
        TPicture picture;
        picture.LoadFromFile(folder.Path() + name);
        ASSERT_NE(nullptr, picture.Graphic()) << name;
        EXPECT_EQ("TJPEGImage", picture.Graphic()->ClassName()) << name;
        EXPECT_EQ(24, picture.Graphic()->Width()) << name;
        EXPECT_EQ(20, picture.Graphic()->Height()) << name;
    }
}
