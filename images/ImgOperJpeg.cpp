// The conversion of a slot bitmap into the viewer's JPEG file.
#include "images/ImgOper.h"

#include "common/SysOper.h"
#include "framework/Exception.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"

bool TImgOper::BmpToJpg(const std::string& source, const std::string& target) {
    bool result = false;
    try {
        TJPEGImage jpeg;
        {
            TBitmap bitmap;
            bitmap.LoadFromFile(source);
            jpeg.Assign(bitmap);
        }  // the bitmap is released before compressing
        jpeg.SetCompressionQuality(100);
        jpeg.Compress();
        jpeg.SaveToFile(target);
        result = true;
    } catch (const std::exception& e) {
        TSysOper::WriteLog("将BMP文件转换为JPG文件失败,错误:" + ExceptionMessage(e));
    }
    return result;
}
