#include "Canvas.h"

#include <algorithm>
#include <cmath>

Rgb Mix(Rgb a, Rgb b, double t) {
    const auto lerp = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return Rgb{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

Distance RoundRect(double x0, double y0, double x1, double y1, double radius) {
    return [=](double x, double y) {
        const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
        const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Distance Circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - radius; };
}

Distance Segment(double x0, double y0, double x1, double y1, double halfWidth) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0) : 0.0;
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - halfWidth;
    };
}

Distance Ring(double cx, double cy, double radius, double halfWidth) {
    return [=](double x, double y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - halfWidth; };
}

Distance Union(Distance a, Distance b) {
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Distance Subtract(Distance a, Distance b) {
    return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Distance Inset(Distance shape, double by) {
    return [=](double x, double y) { return shape(x, y) + by; };
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * height, fill),
      coverage_(static_cast<std::size_t>(width) * height, 0.0) {}

void Canvas::Set(int x, int y, Rgb c) {
    if (!Inside(x, y)) return;
    pixels_[Index(x, y)] = c;
    coverage_[Index(x, y)] = 1.0;
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int j = 0; j < h; ++j) {
        const Rgb c = Mix(top, bottom, h > 1 ? static_cast<double>(j) / (h - 1) : 0.0);
        for (int i = 0; i < w; ++i) Set(x + i, y + j, c);
    }
}

void Canvas::HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right) {
    for (int i = 0; i < w; ++i) {
        const Rgb c = Mix(left, right, w > 1 ? static_cast<double>(i) / (w - 1) : 0.0);
        for (int j = 0; j < h; ++j) Set(x + i, y + j, c);
    }
}

void Canvas::Paint(const Distance& shape, Rgb c, bool hard) {
    PaintWith(
        shape, [&](int, int) { return c; }, hard);
}

void Canvas::PaintWith(const Distance& shape, const std::function<Rgb(int, int)>& color, bool hard) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const double d = shape(x + 0.5, y + 0.5);
            double a = hard ? (d <= 0 ? 1.0 : 0.0) : std::clamp(0.5 - d, 0.0, 1.0);
            if (a <= 0) continue;
            const std::size_t i = Index(x, y);
            pixels_[i] = Mix(pixels_[i], color(x, y), a);
            coverage_[i] = std::max(coverage_[i], a);
        }
    }
}

void Canvas::SetBackdrop(const std::function<Rgb(int, int)>& color) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) pixels_[Index(x, y)] = color(x, y);
}

void Canvas::CoverAll() { std::fill(coverage_.begin(), coverage_.end(), 1.0); }

void Canvas::FinishTransparent(Rgb trans) {
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        if (coverage_[i] < 0.5 / 255) pixels_[i] = trans;
    }
}

void Canvas::Blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (src.Inside(sx + i, sy + j)) Set(dx + i, dy + j, src.Get(sx + i, sy + j));
}

void Canvas::StretchBlit(const Canvas& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0) return;
    for (int j = 0; j < dh; ++j)
        for (int i = 0; i < dw; ++i) Set(dx + i, dy + j, src.Get(sx + i * sw / dw, sy + j * sh / dh));
}

void Canvas::BlitTransparent(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy, Rgb trans) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (src.Inside(sx + i, sy + j) && src.Get(sx + i, sy + j) != trans)
                Set(dx + i, dy + j, src.Get(sx + i, sy + j));
}

std::vector<std::uint8_t> Canvas::ToBmp() const {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width_) * 24 + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height_);
    const std::uint32_t offset = 14 + 40;
    std::vector<std::uint8_t> out(offset + imageSize, 0);
    const auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, offset + imageSize);
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width_));
    put32(22, static_cast<std::uint32_t>(height_));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = out.data() + offset + stride * static_cast<std::uint32_t>(height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            const Rgb c = Get(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    return out;
}

Canvas JoinFrames(const std::vector<Canvas>& frames) {
    int width = 0;
    for (const Canvas& f : frames) width += f.Width();
    Canvas strip(width, frames.front().Height(), Rgb{});
    int x = 0;
    for (const Canvas& f : frames) {
        strip.Blit(f, 0, 0, f.Width(), f.Height(), x, 0);
        x += f.Width();
    }
    return strip;
}
