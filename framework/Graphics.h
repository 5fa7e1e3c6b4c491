// Colours, fonts and pictures: the drawing vocabulary of the controls.
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"

#include <windows.h>

#include <memory>
#include <string>

// An RGB colour (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = unsigned int;

namespace colors {
constexpr TColor SystemFlag = 0x80000000u;
constexpr TColor clBtnFace = SystemFlag | COLOR_BTNFACE;
constexpr TColor clWindow = SystemFlag | COLOR_WINDOW;
constexpr TColor clWindowText = SystemFlag | COLOR_WINDOWTEXT;
constexpr TColor clBtnShadow = SystemFlag | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = SystemFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DLight = SystemFlag | COLOR_3DLIGHT;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clAqua = 0xFFFF00;  // red 0, green 255, blue 255
constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
}  // namespace colors

COLORREF ColorToRGB(TColor color);

// Draws a whole bitmap stretched into the target, smoothed (halftone).
void StretchBitmap(HDC dc, const RECT& target, HBITMAP bitmap, int width, int height);

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

// A device-independent bitmap read from and written to BMP files.
class TBitmap : public TGraphic {
    KV90_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    bool Empty() const override { return !handle_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void LoadFromFile(const std::string& path) override;
    void SaveToFile(const std::string& path) const override;
    void Draw(HDC dc, const RECT& target) const override;
    HBITMAP Handle() const { return handle_.Get(); }
    // Makes a blank 24-bit bitmap of that size; a size of 0 leaves it empty.
    void SetSize(int width, int height);

private:
    BitmapHandle handle_;
    int width_ = 0;
    int height_ = 0;
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
