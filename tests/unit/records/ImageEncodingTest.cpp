// Each image form decoded back with the same libraries: every pixel of the
// slot file, and the capture resolution stored.
#include "ImageReaders.h"
#include "RecordsTestFiles.h"
#include "TempFolder.h"
#include "records/ImageEncoding.h"
#include "records/Jp2ResolutionBox.h"
#include "records/PngEncoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPerMetreAt500Ppi = 500 / 0.0254;

std::vector<uint8_t> SlotFile(int seed) { return Bytes(GreyBitmapFile(MakeFingerImage(640, 640, seed))); }

}  // namespace

TEST(ImageEncoding, PngIsTheSlotFilePixelForPixelAt500Ppi) {
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(kv90rec::BitmapAs(SlotFile(1), kv90rec::ImageFormat::Png, {}, png, error)) << error;
    PngRead read;
    ASSERT_TRUE(ReadPngForTest(png, read, error)) << error;
    EXPECT_EQ(read.bitDepth, 8);
    EXPECT_EQ(read.colourType, 0);  // grey
    EXPECT_EQ(read.image.width, 640);
    EXPECT_EQ(read.image.height, 640);
    EXPECT_EQ(read.image.pixels, MakeFingerImage(640, 640, 1).pixels);
    ASSERT_TRUE(read.hasPhys);
    EXPECT_EQ(read.unit, 1);  // per metre
    EXPECT_EQ(read.xPerUnit, 19685u);
    EXPECT_EQ(read.yPerUnit, 19685u);
}

TEST(ImageEncoding, Jp2IsLosslessReversibleAndCarriesTheCaptureResolution) {
    std::vector<uint8_t> jp2;
    std::string error;
    ASSERT_TRUE(kv90rec::BitmapAs(SlotFile(2), kv90rec::ImageFormat::Jp2, {}, jp2, error)) << error;
    ASSERT_GT(jp2.size(), 12u);
    EXPECT_EQ(std::string(jp2.begin() + 4, jp2.begin() + 8), "jP  ");  // a JP2 file, not a bare codestream
    Jp2Read read;
    ASSERT_TRUE(ReadJp2ForTest(jp2, read, error)) << error;
    EXPECT_EQ(read.components, 1);
    EXPECT_EQ(read.precision, 8);
    EXPECT_TRUE(read.reversible);
    EXPECT_EQ(read.image.width, 640);
    EXPECT_EQ(read.image.height, 640);
    EXPECT_EQ(read.image.pixels, MakeFingerImage(640, 640, 2).pixels);
    double vertical = 0, horizontal = 0;
    ASSERT_TRUE(FindJp2CaptureResolution(jp2, vertical, horizontal));
    EXPECT_NEAR(vertical, kPerMetreAt500Ppi, 0.01);
    EXPECT_NEAR(horizontal, kPerMetreAt500Ppi, 0.01);
}

TEST(ImageEncoding, Jp2OfASmallPictureIsLosslessToo) {
    for (const auto& [width, height] : {std::pair{20, 10}, {1, 1}, {33, 2}}) {
        const kv90rec::GrayImage small = MakeFingerImage(width, height, 6);
        std::vector<uint8_t> jp2;
        std::string error;
        ASSERT_TRUE(kv90rec::EncodeImage(small, kv90rec::ImageFormat::Jp2, {}, jp2, error)) << width << "x" << height << ": " << error;
        Jp2Read read;
        ASSERT_TRUE(ReadJp2ForTest(jp2, read, error)) << error;
        EXPECT_EQ(read.image.pixels, small.pixels);
    }
}

TEST(ImageEncoding, Jp2ResolutionIsExactFor500Ppi) {
    const kv90rec::Jp2Resolution resolution = kv90rec::Jp2ResolutionOfPpi(500);
    EXPECT_DOUBLE_EQ(resolution.numerator / double(resolution.denominator) * std::pow(10.0, resolution.exponent),
                     50000.0 / 254 * 100);
    EXPECT_EQ(kv90rec::PixelsPerMetre(500), 19685u);
}

TEST(ImageEncoding, BmpIsTheSlotFileAsItIs) {
    const std::vector<uint8_t> file = SlotFile(3);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(kv90rec::BitmapAs(file, kv90rec::ImageFormat::Bmp, {}, bytes, error)) << error;
    EXPECT_EQ(bytes, file);
}

TEST(ImageEncoding, WsqAtAnyRateOutsideTheRangeIsRefused) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(kv90rec::BitmapAs(SlotFile(4), kv90rec::ImageFormat::Wsq, {0.4}, bytes, error));
    EXPECT_FALSE(kv90rec::BitmapAs(SlotFile(4), kv90rec::ImageFormat::Wsq, {2.3}, bytes, error));
    EXPECT_NE(error.find("0.5"), std::string::npos) << error;
    ASSERT_TRUE(kv90rec::BitmapAs(SlotFile(4), kv90rec::ImageFormat::Wsq, {2.25}, bytes, error)) << error;
    kv90rec::GrayImage decoded;
    ASSERT_TRUE(kv90rec::wsq::Decode(bytes.data(), bytes.size(), decoded, error)) << error;
    EXPECT_EQ(decoded.width, 640);
    EXPECT_EQ(decoded.ppi, 500);
}

TEST(ImageEncoding, PersonFileWithAChineseNameIsReadByItsPath) {
    TempFolder folder;
    const std::string path = folder.Path() + "A001$张三_0.bmp";
    folder.Write("A001$张三_0.bmp", GreyBitmapFile(MakeFingerImage(64, 48, 5)));
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(kv90rec::FingerImageAs(path, kv90rec::ImageFormat::Png, png, error)) << error;
    PngRead read;
    ASSERT_TRUE(ReadPngForTest(png, read, error)) << error;
    EXPECT_EQ(read.image.pixels, MakeFingerImage(64, 48, 5).pixels);
}

TEST(ImageEncoding, MissingOrDamagedSlotFileIsRefusedWithAReason) {
    TempFolder folder;
    std::vector<uint8_t> bytes{1, 2, 3};
    std::string error;
    EXPECT_FALSE(kv90rec::FingerImageAs(folder.Path() + "7.bmp", kv90rec::ImageFormat::Png, bytes, error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
    folder.Write("7.bmp", "BM this is no bitmap");
    EXPECT_FALSE(kv90rec::FingerImageAs(folder.Path() + "7.bmp", kv90rec::ImageFormat::Jp2, bytes, error));
    EXPECT_TRUE(bytes.empty());
}
