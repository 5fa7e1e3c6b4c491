#include "framework/Jpeg.h"

#include "framework/Exception.h"
#include "framework/JpegCodec.h"
#include "framework/SysUtils.h"

#include <algorithm>

namespace {

// Rows of a 24-bit DIB are padded to whole 32-bit words.
std::ptrdiff_t RowBytes(int width) { return ((static_cast<std::ptrdiff_t>(width) * 3 + 3) / 4) * 4; }

// Bottom-up, the common layout of BMP files.
BitmapHandle CreatePixels(int width, int height, unsigned char** bits) {
    const BITMAPINFO info = DibInfo(width, height, 24);
    void* memory = nullptr;
    SetLastError(ERROR_SUCCESS);  // GDI may fail without saying why
    BitmapHandle pixels(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!pixels || !memory)
        throw Exception("Cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels. " + SysErrorReason(GetLastError(), "The system gave no reason."));
    *bits = static_cast<unsigned char*>(memory);
    return pixels;
}

}  // namespace

void TJPEGImage::Assign(const TBitmap& bitmap) {
    if (bitmap.Empty()) {
        pixels_.Reset();
        bits_ = nullptr;
        width_ = height_ = 0;
        data_.clear();
        return;
    }
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    unsigned char* bits = nullptr;
    BitmapHandle pixels = CreatePixels(width, height, &bits);
    // GDI expands any depth and palette (and flips a top-down bitmap) while copying.
    BITMAPINFO info = DibInfo(width, height, 24);
    MemoryDC dc(nullptr);
    SetLastError(ERROR_SUCCESS);  // GDI may fail without saying why
    const int copied = GetDIBits(dc.Get(), bitmap.Handle(), 0, static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS);
    if (copied != height)
        throw Exception("Cannot copy the bitmap's pixels. " +
                        SysErrorReason(GetLastError(), "Only " + std::to_string(std::max(copied, 0)) + " of " +
                                                           std::to_string(height) + " rows were copied."));

    pixels_ = std::move(pixels);
    bits_ = bits;
    width_ = width;
    height_ = height;
    data_.clear();
    scaled_.Invalidate();
}

void TJPEGImage::SetCompressionQuality(int quality) { quality_ = std::clamp(quality, 1, 100); }

void TJPEGImage::Compress() { data_ = Encode(); }

std::string TJPEGImage::Encode() const {
    if (!pixels_) throw Exception("Cannot compress an empty JPEG image");
    const std::ptrdiff_t stride = RowBytes(width_);
    return jpegcodec::EncodeBgr({bits_ + (height_ - 1) * stride, -stride, width_, height_}, quality_);
}

void TJPEGImage::LoadFromFile(const std::string& path) { LoadFromMemory(ReadFileBytes(path)); }

void TJPEGImage::LoadFromMemory(const std::string& bytes) {
    BitmapHandle pixels;
    unsigned char* bits = nullptr;
    jpegcodec::DecodeBgr(bytes, [&](int width, int height) {
        pixels = CreatePixels(width, height, &bits);
        const std::ptrdiff_t stride = RowBytes(width);
        return jpegcodec::BgrTarget{bits + (height - 1) * stride, -stride, width, height};
    });

    BITMAP info{};
    GetObjectA(pixels.Get(), sizeof info, &info);
    pixels_ = std::move(pixels);
    bits_ = bits;
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    data_ = bytes;
    scaled_.Invalidate();
}

void TJPEGImage::SaveToFile(const std::string& path) const {
    // Encoding completes before the file is touched, so a failure leaves an existing file as it was.
    WriteFileBytes(path, data_.empty() ? Encode() : data_);
}

void TJPEGImage::Draw(HDC dc, const RECT& target) const {
    if (!pixels_) return;
    if (target.right - target.left == width_ && target.bottom - target.top == height_) {
        DrawBitmapAt(dc, target.left, target.top, pixels_.Get(), width_, height_);
        return;
    }
    const std::ptrdiff_t stride = RowBytes(width_);
    scaled_.Draw(dc, target, width_, height_, 3, [this, stride](int y, std::uint8_t*) {
        return static_cast<const std::uint8_t*>(bits_ + (height_ - 1 - y) * stride);
    });
}
