// The view command's conversion of a slot bitmap into the viewer's JPEG file.
#include "DailyLogWatch.h"
#include "ImageTestFiles.h"
#include "TempFolder.h"

#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "images/ImgOper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace imagetest;

namespace {

const std::string FailureText = "将BMP文件转换为JPG文件失败,错误:";

// The message the bitmap loader gives for this file, as the log line must carry it.
std::string BitmapLoadMessage(const std::string& path) {
    try {
        TBitmap().LoadFromFile(path);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(loaded)";
}

}  // namespace

TEST(BmpToJpg, GreyFingerBitmapBecomesAColourJpegAtQualityHundred) {
    TempFolder folder;
    folder.Write("0.bmp", GreyBmp(640, 640));
    DailyLogWatch log;

    ASSERT_TRUE(TImgOper::BmpToJpg(folder.Path() + "0.bmp", folder.Path() + "EditImage.jpg"));

    const std::string file = folder.Read("EditImage.jpg");
    const JpegLayout layout = ReadJpegLayout(file);
    EXPECT_EQ(0xC0, layout.frameMarker);
    EXPECT_EQ(640, layout.width);
    EXPECT_EQ(640, layout.height);
    EXPECT_EQ(3u, layout.components.size());
    for (const auto& [number, table] : layout.quantTables)
        EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](int q) { return q == 1; })) << "table " << number;

    TJPEGImage decoded;
    decoded.LoadFromMemory(file);
    int worst = 0;
    for (int y = 0; y < 640; y += 3)
        for (int x = 0; x < 640; x += 3)
            for (int channel : DibPixel(decoded.Handle(), x, y))
                worst = std::max(worst, std::abs(channel - RidgeGrey(x, y)));
    EXPECT_LE(worst, 3);
    EXPECT_TRUE(log.NewLines().empty());
}

TEST(BmpToJpg, MissingSourceGivesFalseOneLogLineAndLeavesTheOldViewFile) {
    TempFolder folder;
    folder.Write("EditImage.jpg", "the previous view");
    const std::string source = folder.Path() + "3.bmp";
    DailyLogWatch log;

    EXPECT_FALSE(TImgOper::BmpToJpg(source, folder.Path() + "EditImage.jpg"));

    EXPECT_EQ(std::vector<std::string>{FailureText + BitmapLoadMessage(source)}, log.NewMessages());
    EXPECT_EQ("the previous view", folder.Read("EditImage.jpg"));
}

TEST(BmpToJpg, UnreadableSourceGivesFalseAndLeavesTheOldViewFile) {
    TempFolder folder;
    folder.Write("3.bmp", "BM this is no bitmap");
    folder.Write("EditImage.jpg", "the previous view");
    DailyLogWatch log;

    EXPECT_FALSE(TImgOper::BmpToJpg(folder.Path() + "3.bmp", folder.Path() + "EditImage.jpg"));

    const auto lines = log.NewMessages();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].find(FailureText));
    EXPECT_EQ("the previous view", folder.Read("EditImage.jpg"));
}

TEST(BmpToJpg, UnwritableTargetGivesFalseAndOneLogLine) {
    TempFolder folder;
    folder.Write("1.bmp", GreyBmp(32, 32));
    DailyLogWatch log;

    EXPECT_FALSE(TImgOper::BmpToJpg(folder.Path() + "1.bmp", folder.Path() + "NoSuchFolder\\EditImage.jpg"));

    const auto lines = log.NewMessages();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].find(FailureText + "Cannot create file"));
}

TEST(BmpToJpg, ReplacesAnExistingViewFileWhole) {
    TempFolder folder;
    folder.Write("2.bmp", GreyBmp(64, 64));
    folder.Write("EditImage.jpg", std::string(500000, 'x'));
    ASSERT_TRUE(TImgOper::BmpToJpg(folder.Path() + "2.bmp", folder.Path() + "EditImage.jpg"));
    ASSERT_TRUE(TImgOper::BmpToJpg(folder.Path() + "2.bmp", folder.Path() + "fresh.jpg"));
    EXPECT_EQ(folder.Read("fresh.jpg"), folder.Read("EditImage.jpg"));
}

TEST(BmpToJpg, ColourBitmapKeepsItsColours) {
    TempFolder folder;
    const auto halves = [](int x, int) { return x < 32 ? 0xFF8000u : 0x2060C0u; };
    folder.Write("4.bmp", Bmp(64, 16, 24, {}, halves));
    ASSERT_TRUE(TImgOper::BmpToJpg(folder.Path() + "4.bmp", folder.Path() + "EditImage.jpg"));

    TJPEGImage decoded;
    decoded.LoadFromFile(folder.Path() + "EditImage.jpg");
    const auto left = DibPixel(decoded.Handle(), 8, 8);
    const auto right = DibPixel(decoded.Handle(), 56, 8);
    EXPECT_NEAR(0x00, left[0], 6);
    EXPECT_NEAR(0x80, left[1], 6);
    EXPECT_NEAR(0xFF, left[2], 6);
    EXPECT_NEAR(0xC0, right[0], 6);
    EXPECT_NEAR(0x60, right[1], 6);
    EXPECT_NEAR(0x20, right[2], 6);
}

TEST(BmpToJpg, ChineseFileNamesInTheSystemCodePage) {
    TempFolder folder;
    folder.Write("1234$张三_5.bmp", GreyBmp(16, 16));
    ASSERT_TRUE(TImgOper::BmpToJpg(folder.Path() + "1234$张三_5.bmp", folder.Path() + "图片.jpg"));
    EXPECT_EQ(16, ReadJpegLayout(folder.Read("图片.jpg")).width);
}
