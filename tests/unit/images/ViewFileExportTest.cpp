// Leaves a view file made from a grey finger bitmap beside the test program,
// for a reader outside Wine (ImageMagick) to check how it was encoded.
#include "ImageTestFiles.h"

#include "common/SysOper.h"
#include "framework/SysUtils.h"
#include "images/ImgOper.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ViewFileExport, GreyFingerBitmapConvertedBesideTheTestProgram) {
    const std::string folder = TSysOper::GetAppPath() + "native_check\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "0.bmp", imagetest::GreyBmp(640, 640));
    DeleteFileA((folder + "EditImage.jpg").c_str());
    EXPECT_TRUE(TImgOper::BmpToJpg(folder + "0.bmp", folder + "EditImage.jpg"));
}
