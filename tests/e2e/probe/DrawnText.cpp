#include "DrawnText.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

// A 32-bit top-down bitmap whose pixels are readable in memory.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        if (!dc_ || !bitmap_) throw std::runtime_error("cannot make a bitmap of the area");
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    // 0x00RRGGBB, as a DIB holds it.
    uint32_t pixel(int x, int y) const {
        GdiFlush();
        return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The colour most of the area shows: what lies behind the text.
uint32_t backgroundOf(const Canvas& canvas, int width, int height) {
    std::map<uint32_t, int> counts;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ++counts[canvas.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Ink is anything well away from the background: the text's own colour and
// the stronger steps of its smoothed edges.
bool isInk(uint32_t pixel, uint32_t background) {
    int distance = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        distance +=
            std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((background >> shift) & 0xFF));
    return distance > 96;
}

}  // namespace

DrawnTextComparison compareDrawnText(HWND wnd, const RECT& area, const DrawnTextFont& font, UINT format,
                                     const std::wstring& text) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) throw std::runtime_error("empty area");

    Canvas shown(width, height);
    POINT origin{area.left, area.top};
    if (!ClientToScreen(wnd, &origin)) throw std::runtime_error("no such window");
    HDC screen = GetDC(nullptr);
    if (!screen) throw std::runtime_error("cannot read the screen");
    const BOOL copied = BitBlt(shown.dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (!copied) throw std::runtime_error("cannot read the screen's pixels");
    const uint32_t background = backgroundOf(shown, width, height);

    Canvas drawn(width, height);
    RECT all{0, 0, width, height};
    const COLORREF backgroundRef = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    HBRUSH brush = CreateSolidBrush(backgroundRef);
    FillRect(drawn.dc(), &all, brush);
    DeleteObject(brush);
    HFONT hfont =
        CreateFontW(font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.face.c_str());
    HGDIOBJ oldFont = SelectObject(drawn.dc(), hfont);
    SetBkMode(drawn.dc(), TRANSPARENT);
    SetTextColor(drawn.dc(), font.colour);
    DrawTextW(drawn.dc(), text.c_str(), static_cast<int>(text.size()), &all,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
    SelectObject(drawn.dc(), oldFont);
    DeleteObject(hfont);

    DrawnTextComparison result{0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inkDrawn = isInk(drawn.pixel(x, y), background);
            const bool inkShown = isInk(shown.pixel(x, y), background);
            result.ink += inkDrawn;
            result.mismatches += inkDrawn != inkShown;
        }
    return result;
}
