// Bitmap files read through the bounded reader, written back in their own
// format, and drawn shrunk as a box filter would shrink them.
#include "TempFolder.h"
#include "images/ImageTestFiles.h"

#include "framework/Exception.h"
#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// An 8-bit file with the grey palette, or a 24-bit one; pixel(x, y) with y = 0 the top row.
std::string BmpFile(int width, int height, int bpp, const std::function<unsigned(int, int)>& pixel) {
    return imagetest::Bmp(width, height, bpp, bpp == 8 ? imagetest::GreyPalette() : std::vector<RGBQUAD>{}, pixel);
}

// Ridges as a rolled finger shows them: a few pixels apart, slanted, with a
// one-pixel checker on top that only a real filter averages away.
std::uint32_t Ridges(int x, int y) {
    const double ridge = 127.5 + 100.0 * std::sin((x * 0.8 + y * 0.6) * 2.0 * 3.14159265358979 / 7.3);
    return static_cast<std::uint32_t>(std::lround(ridge)) + (((x ^ y) & 1) ? 20 : 0) - 10;
}

std::string ExpectLoadFails(const std::string& path) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromFile(path);
    } catch (const EFileError& e) {
        EXPECT_TRUE(bitmap.Empty());
        return e.what();
    }
    ADD_FAILURE() << path << " loaded";
    return "";
}

// What a 32-bit DIB section shows after the graphic drew itself into all of it.
std::vector<std::uint32_t> Drawn(const TGraphic& graphic, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC dc(nullptr);
    SelectObjectScope select(dc.Get(), target.Get());
    const RECT all{0, 0, width, height};
    graphic.Draw(dc.Get(), all);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return std::vector<std::uint32_t>(pixels, pixels + static_cast<std::size_t>(width) * height);
}

// The exact box filter, in floating point: each target pixel the mean of the
// source area it covers.
std::vector<double> BoxFiltered(int width, int height, const std::function<double(int, int)>& level, int targetWidth,
                                int targetHeight) {
    std::vector<double> out;
    const double sx = static_cast<double>(width) / targetWidth, sy = static_cast<double>(height) / targetHeight;
    for (int ty = 0; ty < targetHeight; ++ty) {
        for (int tx = 0; tx < targetWidth; ++tx) {
            double sum = 0;
            const double x0 = tx * sx, x1 = (tx + 1) * sx, y0 = ty * sy, y1 = (ty + 1) * sy;
            for (int y = static_cast<int>(y0); y < height && y < y1; ++y) {
                const double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
                for (int x = static_cast<int>(x0); x < width && x < x1; ++x) {
                    const double wx = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
                    sum += wx * wy * level(x, y);
                }
            }
            out.push_back(sum / (sx * sy));
        }
    }
    return out;
}

double Channel(std::uint32_t pixel, int shift) { return static_cast<double>((pixel >> shift) & 0xFF); }

class BitmapTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        return folder.Path() + name;
    }
    TempFolder folder;
};

}  // namespace

TEST_F(BitmapTest, ADamagedFileFailsWithItsPathAndWhatIsWrong) {
    const std::string good = BmpFile(640, 640, 8, Ridges);
    std::vector<imagetest::DamagedBitmap> cases = imagetest::DamagedBitmaps(good);
    cases.push_back({"empty.bmp", "", "is not a bitmap file"});
    {
        // 16 bits a pixel through bit fields, all three masks 0.
        std::string noColour = imagetest::CompressedBmp(2, 1, 16, BI_BITFIELDS, std::string(12 + 4, '\0'));
        noColour.replace(10, 4, std::string("\x42\0\0\0", 4));  // the pixels after the masks
        cases.push_back({"no-colour.bmp", noColour, "has colour masks that select no colour"});
    }
    cases.push_back(
        {"rle-cut.bmp", imagetest::CompressedBmp(4, 1, 8, BI_RLE8, std::string("\0\x04\x01\x02", 4)), "is truncated"});
    for (const auto& c : cases) {
        const std::string path = Write(c.name, c.bytes);
        const std::string message = ExpectLoadFails(path);
        EXPECT_NE(message.find("\"" + path + "\" " + c.reason), std::string::npos) << c.name << ": " << message;
    }
    const std::string missing = ExpectLoadFails(folder.Path() + "missing.bmp");
    EXPECT_EQ(missing.rfind("Cannot open bitmap file \"" + folder.Path() + "missing.bmp\". ", 0), 0u) << missing;

    // Neither the bitmap nor the picture that holds it changes when a load fails.
    TPicture picture;
    picture.LoadFromFile(Write("good.bmp", good));
    const TGraphic* before = picture.Graphic();
    for (const auto& c : cases) EXPECT_THROW(picture.LoadFromFile(folder.Path() + c.name), EFileError) << c.name;
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(picture.Graphic()->Width(), 640);
}

TEST_F(BitmapTest, ThePreviewFormatIsSavedAgainAsItWasAndRunLengthFilesAreExpanded) {
    const std::string grey = BmpFile(640, 640, 8, Ridges);
    TBitmap bitmap;
    bitmap.LoadFromFile(Write("FPTemp.bmp", grey));
    bitmap.SaveToFile(folder.Path() + "0.bmp");
    const std::string saved = folder.Read("0.bmp");
    // The same depth, palette and rows; only the header's unused fields may differ.
    ASSERT_EQ(saved.size(), grey.size());
    EXPECT_EQ(saved.substr(28, 2), std::string("\x08\x00", 2));
    EXPECT_EQ(saved.substr(54), grey.substr(54));

    // Runs, a literal, an end of line, a delta and the end, in an 8-bit 4 x 3 bitmap.
    const std::string stream("\x02\x05\x00\x03\x06\x07\x08\x00\x00\x00\x00\x02\x01\x01\x01\x09\x00\x01", 18);
    bitmap.LoadFromFile(Write("rle.bmp", imagetest::CompressedBmp(4, 3, 8, BI_RLE8, stream)));
    bitmap.SaveToFile(folder.Path() + "rle-saved.bmp");
    const std::string expanded = folder.Read("rle-saved.bmp");
    EXPECT_EQ(expanded.substr(30, 4), std::string(4, '\0'));  // uncompressed
    const std::string rows = expanded.substr(54 + 1024);
    EXPECT_EQ(rows, std::string("\x05\x05\x06\x07"
                                "\x00\x00\x00\x00"
                                "\x00\x09\x00\x00",
                                12));
}

TEST_F(BitmapTest, ScalingMatchesABoxFilterWithinOneLevel) {
    // The preview's and a slot's size, a size that does not divide evenly, the
    // viewer's zoom to 0.1 and to 1.1, and a zoom large enough to be drawn in bands.
    const int sizes[][2] = {{197, 165}, {108, 137}, {333, 71}, {64, 64}, {704, 704}, {1100, 1000}};
    const auto level = [](int x, int y) { return static_cast<double>(Ridges(x, y)); };

    TBitmap grey;
    grey.LoadFromFile(Write("grey.bmp", BmpFile(640, 640, 8, Ridges)));
    // A colour picture, as the viewer holds the view file: each channel its own pattern.
    const auto colour = [](int x, int y) { return Ridges(x, y) | (Ridges(y, x) << 8) | ((255 - Ridges(x, y)) << 16); };
    TBitmap bgr;
    bgr.LoadFromFile(Write("colour.bmp", BmpFile(640, 640, 24, colour)));
    TJPEGImage jpeg;
    jpeg.Assign(bgr);

    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const std::vector<double> reference = BoxFiltered(640, 640, level, w, h);
        const std::vector<double> red = BoxFiltered(
            640, 640, [&](int x, int y) { return Channel(colour(x, y), 16); }, w, h);
        const std::vector<double> blue = BoxFiltered(
            640, 640, [&](int x, int y) { return Channel(colour(x, y), 0); }, w, h);
        const std::vector<std::uint32_t> shownGrey = Drawn(grey, w, h);
        const std::vector<std::uint32_t> shownColour = Drawn(jpeg, w, h);
        double worst = 0, worstColour = 0;
        for (std::size_t i = 0; i < reference.size(); ++i) {
            for (int shift : {0, 8, 16})
                worst = std::max(worst, std::fabs(Channel(shownGrey[i], shift) - reference[i]));
            // Blue carries the ridges and red their inverse; green is the ridges turned, much like blue.
            worstColour = std::max(worstColour, std::fabs(Channel(shownColour[i], 0) - blue[i]));
            worstColour = std::max(worstColour, std::fabs(Channel(shownColour[i], 16) - red[i]));
        }
        EXPECT_LE(worst, 1.0) << w << " x " << h;
        EXPECT_LE(worstColour, 1.0) << w << " x " << h;
        // Drawn again at the same size, from the kept copy: the same pixels.
        EXPECT_EQ(Drawn(grey, w, h), shownGrey);
    }

    // A new picture loaded into the same bitmap is drawn, not the kept copy of the old one.
    grey.LoadFromFile(Write("flat.bmp", BmpFile(640, 640, 8, [](int, int) { return 40u; })));
    for (std::uint32_t pixel : Drawn(grey, 197, 165)) ASSERT_EQ(pixel & 0xFFFFFF, 0x282828u);
    // At its own size a picture is copied as it is.
    const std::vector<std::uint32_t> same = Drawn(bgr, 640, 640);
    EXPECT_EQ(same[3 * 640 + 5] & 0xFFFFFF, colour(5, 3));
}
