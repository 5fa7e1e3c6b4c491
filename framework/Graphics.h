// Colours, fonts and pictures: the drawing vocabulary of the controls.
#pragma once

#include "framework/BmpFile.h"
#include "framework/Classes.h"
#include "framework/Handles.h"
#include "framework/ScaledDraw.h"

#include <windows.h>

#include <memory>
#include <string>

// An RGB colour (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = unsigned int;

namespace colors {
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clBtnFace = kSystemColorFlag | COLOR_BTNFACE;
constexpr TColor clWindow = kSystemColorFlag | COLOR_WINDOW;
constexpr TColor clWindowText = kSystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor clBtnShadow = kSystemColorFlag | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = kSystemColorFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DLight = kSystemColorFlag | COLOR_3DLIGHT;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clAqua = 0xFFFF00;  // red 0, green 255, blue 255
constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
}  // namespace colors

COLORREF ColorToRGB(TColor color);

// The header of a device-independent bitmap without a palette (24 or 32 bits a
// pixel); a negative height lays the rows out from the top.
BITMAPINFO DibInfo(int width, int height, int bitCount);

enum class TFontStyle { Regular, Bold };

// A font description; the GDI font is made when first asked for and remade after a change.
class TFont {
public:
    TFont();
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    TFontStyle Style() const { return style_; }
    void SetStyle(TFontStyle style);
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    void Assign(const TFont& other);
    HFONT Handle() const;

private:
    std::string name_;
    int height_;
    TFontStyle style_ = TFontStyle::Regular;
    TColor color_ = colors::clWindowText;
    mutable FontHandle handle_;
};

// A picture format that can be loaded, saved and drawn stretched into a rectangle.
class TGraphic : public TPersistent {
    KV90_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual void SaveToFile(const std::string& path) const = 0;
    virtual void Draw(HDC dc, const RECT& target) const = 0;
};

// A device-independent bitmap read from and written to BMP files. It keeps the
// file's depth, palette and masks, so that saving it again writes the same
// pixel format; run-length files are kept expanded.
class TBitmap : public TGraphic {
    KV90_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    bool Empty() const override { return !handle_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Reads the file through the bounded reader (within bmpfile::kPictureLimits):
    // a file that cannot be opened, is not a bitmap, is truncated, too large or
    // otherwise unreadable raises EFileError naming the path and the reason, and
    // leaves this bitmap as it was.
    void LoadFromFile(const std::string& path) override;
    void SaveToFile(const std::string& path) const override;
    // The bytes of the .bmp file that SaveToFile writes.
    std::string FileBytes() const;
    // At its own size the pixels are copied as they are; at any other size
    // they are area-averaged, and the scaled copy is kept for the next draw.
    void Draw(HDC dc, const RECT& target) const override;
    HBITMAP Handle() const { return handle_.Get(); }
    // Makes a blank 24-bit bitmap of that size; a size of 0 leaves it empty.
    void SetSize(int width, int height);
    // To be called after drawing into Handle(), so that no kept scaled copy
    // shows the old pixels.
    void Modified() { scaled_.Invalidate(); }

private:
    BitmapHandle handle_;
    int width_ = 0;
    int height_ = 0;
    bmpfile::PixelFormat format_;
    std::uint8_t* bits_ = nullptr;  // the DIB section's rows, bottom row first
    mutable TScaledCopy scaled_;
};

// Holds at most one graphic; empty when it holds none.
class TPicture : public TPersistent {
    KV90_CLASS(TPicture, TPersistent)
public:
    bool Empty() const { return !graphic_ || graphic_->Empty(); }
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // Picks the format from the file extension; the old picture stays when loading fails.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    void Clear() { SetGraphic(nullptr); }
    std::function<void()> OnChange;

private:
    std::unique_ptr<TGraphic> graphic_;
};
