#include "framework/Graphics.h"

#include "framework/Exception.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"

#include <vector>

COLORREF ColorToRGB(TColor color) {
    if (color & colors::SystemFlag) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
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

void TBitmap::LoadFromFile(const std::string& path) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) throw EFileError(SysErrorMessage(GetLastError()) + " (" + path + ")");
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    handle_.Reset(bitmap);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
}

void TBitmap::SetSize(int width, int height) {
    handle_.Reset();
    width_ = height_ = 0;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) throw Exception("Out of system resources: a " + IntToStr(width) + " x " + IntToStr(height) + " bitmap");
    handle_.Reset(bitmap);
    width_ = width;
    height_ = height;
}

void TBitmap::SaveToFile(const std::string& path) const {
    if (!handle_) throw EFileError("Cannot save an empty bitmap");
    DIBSECTION dib{};
    if (GetObjectA(handle_.Get(), sizeof dib, &dib) != sizeof dib)
        throw EFileError("Bitmap is not device independent");
    BITMAPINFOHEADER header = dib.dsBmih;
    header.biCompression = BI_RGB;
    const DWORD stride = ((header.biWidth * header.biBitCount + 31) / 32) * 4;
    const DWORD height = static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    header.biSizeImage = stride * height;

    std::vector<RGBQUAD> palette;
    if (header.biBitCount <= 8) {
        palette.resize(header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount));
        MemoryDC dc(nullptr);
        SelectObjectScope select(dc.Get(), handle_.Get());
        const UINT got = GetDIBColorTable(dc.Get(), 0, static_cast<UINT>(palette.size()), palette.data());
        palette.resize(got);
        header.biClrUsed = got;
    }

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header + static_cast<DWORD>(palette.size() * sizeof(RGBQUAD));
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::string bytes;
    bytes.reserve(file.bfSize);
    bytes.append(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(palette.data()), palette.size() * sizeof(RGBQUAD));
    bytes.append(static_cast<const char*>(dib.dsBm.bmBits), header.biSizeImage);
    WriteFileBytes(path, bytes);
}

void StretchBitmap(HDC dc, const RECT& target, HBITMAP bitmap, int width, int height) {
    MemoryDC source(dc);
    SelectObjectScope select(source.Get(), bitmap);
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    // HALFTONE needs the brush origin reset after the mode is set.
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.Get(), 0, 0,
               width, height, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void TBitmap::Draw(HDC dc, const RECT& target) const {
    if (handle_) StretchBitmap(dc, target, handle_.Get(), width_, height_);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (OnChange) OnChange();
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string ext = UpperCase(ExtractFileExt(path));
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
