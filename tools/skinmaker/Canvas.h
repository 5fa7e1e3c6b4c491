// A small true-colour raster with anti-aliased shapes, enough to draw the pieces
// of a skin. Shapes are given as signed distance functions: negative inside,
// positive outside, in pixels; a pixel's coverage is taken from the distance at
// its centre, which gives smooth edges without supersampling.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// 0xRRGGBB as written in design tools.
constexpr Rgb Hex(std::uint32_t rgb) {
    return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
               static_cast<std::uint8_t>(rgb)};
}
// The skin's stored form of a colour: 0x00BBGGRR.
inline std::uint32_t ToSkinColor(Rgb c) { return c.r | (c.g << 8) | (c.b << 16); }
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b

using Distance = std::function<double(double x, double y)>;

// Distance functions of the shapes the skin uses.
Distance RoundRect(double x0, double y0, double x1, double y1, double radius);
Distance Circle(double cx, double cy, double radius);
Distance Segment(double x0, double y0, double x1, double y1, double halfWidth);
Distance Ring(double cx, double cy, double radius, double halfWidth);
Distance Union(Distance a, Distance b);
Distance Subtract(Distance a, Distance b);
Distance Inset(Distance shape, double by);

class Canvas {
public:
    Canvas(int width, int height, Rgb fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb Get(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgb c);
    // Coverage of everything painted so far, 0 to 1; FinishTransparent uses it.
    double Coverage(int x, int y) const { return coverage_[Index(x, y)]; }

    void FillRect(int x, int y, int w, int h, Rgb c);
    void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
    void HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right);
    // Paints a shape with anti-aliased edges; `hard` paints only pixels whose
    // centre lies inside, for edges that a window region will cut.
    void Paint(const Distance& shape, Rgb c, bool hard = false);
    // Paints a shape whose colour varies with the pixel position.
    void PaintWith(const Distance& shape, const std::function<Rgb(int x, int y)>& color, bool hard = false);
    // Colours the pixels without covering them: shapes painted next blend into
    // this colour at their edges, and what stays uncovered can still become
    // transparent.
    void SetBackdrop(const std::function<Rgb(int x, int y)>& color);
    // Marks every pixel as covered (an opaque background).
    void CoverAll();
    // Pixels that nothing covered become the transparency colour.
    void FinishTransparent(Rgb trans);

    void Blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);
    // Copies src stretched (nearest pixel) into the rectangle.
    void StretchBlit(const Canvas& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh);
    // Like Blit, skipping source pixels of the transparency colour.
    void BlitTransparent(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy, Rgb trans);

    // A 24-bit bottom-up BMP file image of the canvas.
    std::vector<std::uint8_t> ToBmp() const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    int width_, height_;
    std::vector<Rgb> pixels_;
    std::vector<double> coverage_;
};

// Frames of equal height side by side, as skin strips hold them.
Canvas JoinFrames(const std::vector<Canvas>& frames);
