#include "framework/Graphics.h"

#include "framework/Exception.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"

COLORREF ColorToRGB(TColor color) {
    if (color & colors::kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

BITMAPINFO DibInfo(int width, int height, int bitCount) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

TFont::TFont() : name_("宋体"), height_(-12) {}

void TFont::SetName(const std::string& name) {
    name_ = name;
    handle_.Reset();
}

void TFont::SetHeight(int height) {
    height_ = height;
    handle_.Reset();
}

void TFont::SetStyle(TFontStyle style) {
    style_ = style;
    handle_.Reset();
}

void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    handle_.Reset();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_ == TFontStyle::Bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectA(&lf));
    }
    return handle_.Get();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (OnChange) OnChange();
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string ext = UpperCase(ExtractFileExt(path));
    // A bitmap loads into the bitmap held, which keeps its memory when the new
    // picture has the same size and format; on failure it keeps the old picture.
    if (ext == ".BMP" && graphic_ && graphic_->Is<TBitmap>()) {
        graphic_->LoadFromFile(path);
        if (OnChange) OnChange();
        return;
    }
    std::unique_ptr<TGraphic> graphic;
    if (ext == ".BMP")
        graphic = std::make_unique<TBitmap>();
    else if (ext == ".JPG" || ext == ".JPEG")
        graphic = std::make_unique<TJPEGImage>();
    else
        throw EFileError("Unknown picture file extension (" + ext + ")");
    graphic->LoadFromFile(path);
    SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& path) const {
    if (!graphic_) throw EFileError("Cannot save an empty picture");
    graphic_->SaveToFile(path);
}
