// Decoding JPEG files the program did not write itself: other layouts, and
// damaged or hostile data, which must fail with an Exception and nothing worse.
#include "ImageTestFiles.h"
#include "TempFolder.h"

#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/JpegCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

using namespace imagetest;

namespace {

// Encodes RidgeGrey with libjpeg directly, in layouts the picture class never writes.
std::string LibjpegFile(int width, int height, bool grey, bool progressive) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < cinfo.input_components; ++c)
                row[static_cast<size_t>(x * cinfo.input_components + c)] = static_cast<JSAMPLE>(RidgeGrey(x, y));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

int WorstGreyError(const TJPEGImage& jpeg) {
    int worst = 0;
    for (int y = 0; y < jpeg.Height(); ++y)
        for (int x = 0; x < jpeg.Width(); ++x) {
            const auto pixel = DibPixel(jpeg.Handle(), x, y);
            for (int channel : pixel) worst = std::max(worst, std::abs(channel - RidgeGrey(x, y)));
        }
    return worst;
}

std::string ExceptionText(const std::string& bytes) {
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromMemory(bytes);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no exception)";
}

// Writes a new width and height into the first frame header.
std::string WithSize(std::string bytes, int width, int height) {
    for (size_t at = 2; at + 9 < bytes.size();) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        const size_t length =
            static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]);
        if (marker == 0xC0 || marker == 0xC2) {
            bytes[at + 5] = static_cast<char>(height >> 8);
            bytes[at + 6] = static_cast<char>(height & 0xFF);
            bytes[at + 7] = static_cast<char>(width >> 8);
            bytes[at + 8] = static_cast<char>(width & 0xFF);
            return bytes;
        }
        at += 2 + length;
    }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

}  // namespace

TEST(JpegDecode, GreyScaleFileComesOutAsThreeEqualChannels) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(LibjpegFile(50, 40, true, false));
    ASSERT_EQ(50, jpeg.Width());
    ASSERT_EQ(40, jpeg.Height());
    EXPECT_LE(WorstGreyError(jpeg), 6);
}

TEST(JpegDecode, ProgressiveFileIsDecodedWhole) {
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(LibjpegFile(70, 33, false, true));
    ASSERT_EQ(70, jpeg.Width());
    ASSERT_EQ(33, jpeg.Height());
    EXPECT_LE(WorstGreyError(jpeg), 8);
}

TEST(JpegDecode, DataThatIsNoJpegRaisesLibjpegsMessage) {
    EXPECT_NE(std::string::npos, ExceptionText(GreyBmp(8, 8)).find("Not a JPEG file")) << ExceptionText(GreyBmp(8, 8));
}

TEST(JpegDecode, EmptyDataRaises) { EXPECT_NE("(no exception)", ExceptionText("")); }

TEST(JpegDecode, TruncatedScanRaisesInsteadOfShowingAGreyRemainder) {
    const std::string whole = LibjpegFile(64, 64, false, false);
    EXPECT_NE(std::string::npos, ExceptionText(whole.substr(0, whole.size() / 2)).find("Premature end of JPEG file"));
}

TEST(JpegDecode, TruncatedHeaderRaises) {
    const std::string whole = LibjpegFile(64, 64, false, false);
    for (size_t length : {1u, 2u, 3u, 20u, 100u, 200u})
        EXPECT_NE("(no exception)", ExceptionText(whole.substr(0, length))) << length << " bytes";
}

TEST(JpegDecode, AbsurdSizeIsRefusedFromTheHeader) {
    const std::string small = LibjpegFile(16, 16, false, false);
    EXPECT_NE(std::string::npos, ExceptionText(WithSize(small, 60000, 60000)).find("too large"));
    EXPECT_NE(std::string::npos, ExceptionText(WithSize(small, 16385, 8)).find("too large"));
    EXPECT_NE(std::string::npos, ExceptionText(WithSize(small, 10000, 10000)).find("too large"));
}

TEST(JpegDecode, ZeroSizeRaises) {
    EXPECT_NE("(no exception)", ExceptionText(WithSize(LibjpegFile(16, 16, false, false), 0, 16)));
}

TEST(JpegDecode, FailedLoadKeepsTheOldPicture) {
    TJPEGImage jpeg;
    const std::string good = LibjpegFile(30, 20, false, false);
    jpeg.LoadFromMemory(good);
    EXPECT_THROW(jpeg.LoadFromMemory(good.substr(0, good.size() / 2)), Exception);
    EXPECT_EQ(30, jpeg.Width());
    EXPECT_EQ(20, jpeg.Height());
    EXPECT_EQ(good, jpeg.Data());
    EXPECT_LE(WorstGreyError(jpeg), 8);
}

TEST(JpegDecode, MissingFileRaisesAFileError) {
    TempFolder folder;
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromFile(folder.Path() + "missing.jpg"), EFileError);
    TPicture picture;
    EXPECT_THROW(picture.LoadFromFile(folder.Path() + "missing.jpg"), EFileError);
}

TEST(JpegDecode, RandomlyDamagedFilesEitherDecodeOrRaise) {
    const std::string good = LibjpegFile(48, 40, false, false);
    const std::string progressive = LibjpegFile(48, 40, false, true);
    std::mt19937 random(5);
    int raised = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 2 ? good : progressive;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        TJPEGImage jpeg;
        try {
            jpeg.LoadFromMemory(bytes);
            EXPECT_LE(jpeg.Width(), jpegcodec::kMaxSide);
        } catch (const Exception&) {
            ++raised;
        }
    }
    EXPECT_GT(raised, 0);
}
