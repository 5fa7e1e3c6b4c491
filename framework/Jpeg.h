// JPEG pictures: a bitmap compressed for the image viewer, and JPEG files
// decoded for drawing.
#pragma once

#include "framework/Graphics.h"

#include <windows.h>

#include <string>

// Holds a picture twice: as 24-bit pixels for drawing and compressing, and as
// compressed JPEG data for saving. Loading fills both; Assign fills the pixels
// and drops the data until the next Compress.
class TJPEGImage : public TGraphic {
    KV90_CLASS(TJPEGImage, TGraphic)
public:
    static constexpr int kDefaultCompressionQuality = 75;

    TJPEGImage() = default;

    bool Empty() const override { return !pixels_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    // Copies the bitmap's pixels expanded to 24-bit colour, whatever its depth
    // and palette; an empty bitmap empties the picture.
    void Assign(const TBitmap& bitmap);

    int CompressionQuality() const { return quality_; }
    // From 1 (smallest file) to 100 (closest to the pixels), clamped to that
    // range; it takes effect at the next Compress.
    void SetCompressionQuality(int quality);
    // Encodes the pixels at the current quality into the compressed data.
    void Compress();
    // The compressed data ("" after Assign until Compress).
    const std::string& Data() const { return data_; }

    // Reads and decodes a whole JPEG file, so that a damaged file fails here
    // and not when drawn. The old picture stays when loading fails.
    void LoadFromFile(const std::string& path) override;
    void LoadFromMemory(const std::string& bytes);
    // Writes the compressed data, compressing the pixels when there is none,
    // in one write that replaces the file.
    void SaveToFile(const std::string& path) const override;
    // Draws the decoded pixels into the rectangle: at their own size as they
    // are, at any other size area-averaged, with the scaled copy kept.
    void Draw(HDC dc, const RECT& target) const override;

    // The pixels as a 24-bit bottom-up DIB section, owned by this picture.
    HBITMAP Handle() const { return pixels_.Get(); }

private:
    std::string Encode() const;

    BitmapHandle pixels_;
    unsigned char* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int quality_ = kDefaultCompressionQuality;
    std::string data_;
    mutable TScaledCopy scaled_;
};
