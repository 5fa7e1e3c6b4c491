#include "framework/ScaledDraw.h"

#include "framework/Graphics.h"

#include <algorithm>

namespace {

// Copies no larger than this are kept (4 MB); larger targets, such as a
// zoomed view, are scaled band by band on every draw instead.
constexpr std::int64_t kKeptPixels = 1 << 20;
constexpr int kBandRows = 64;

// Copies rows of 32-bit pixels, top row first, 1:1 to x, y.
void PutRows(HDC dc, int x, int y, int width, int rows, const std::uint32_t* pixels) {
    const BITMAPINFO info = DibInfo(width, -rows, 32);
    StretchDIBits(dc, x, y, width, rows, 0, 0, width, rows, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void DrawBitmapAt(HDC dc, int x, int y, HBITMAP bitmap, int width, int height) {
    MemoryDC source(dc);
    SelectObjectScope select(source.Get(), bitmap);
    BitBlt(dc, x, y, width, height, source.Get(), 0, 0, SRCCOPY);
}

void TScaledCopy::Draw(HDC dc, const RECT& target, int width, int height, int channels,
                       const AreaScaler::RowSource& rows) {
    const int targetWidth = target.right - target.left;
    const int targetHeight = target.bottom - target.top;
    if (targetWidth <= 0 || targetHeight <= 0 || width <= 0 || height <= 0) return;
    const bool sameSize = copy_ && targetWidth == copy_.Width() && targetHeight == copy_.Height();
    if (sameSize && valid_) {
        BitBlt(dc, target.left, target.top, targetWidth, targetHeight, copy_.Dc(), 0, 0, SRCCOPY);
        return;
    }
    AreaScaler scaler(width, height, channels, targetWidth, targetHeight);
    if (static_cast<std::int64_t>(targetWidth) * targetHeight <= kKeptPixels) {
        if (!sameSize) {
            Clear();
            copy_.MakeDib(targetWidth, targetHeight);
        }
        if (copy_) {
            // GDI may still be reading the section from the last copy to the device.
            GdiFlush();
            std::uint32_t* pixels = copy_.Bits();
            for (int y = 0; y < targetHeight; ++y)
                scaler.NextRow(rows, pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(targetWidth));
            valid_ = true;
            BitBlt(dc, target.left, target.top, targetWidth, targetHeight, copy_.Dc(), 0, 0, SRCCOPY);
            return;
        }
        // Without a section to keep, the picture is scaled band by band as a large one is.
    }
    std::vector<std::uint32_t> band(static_cast<std::size_t>(targetWidth) * kBandRows);
    for (int top = 0; top < targetHeight; top += kBandRows) {
        const int count = std::min(kBandRows, targetHeight - top);
        for (int y = 0; y < count; ++y)
            scaler.NextRow(rows, band.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(targetWidth));
        PutRows(dc, target.left, target.top + top, targetWidth, count, band.data());
    }
}

void TScaledCopy::Clear() {
    copy_.Reset();
    valid_ = false;
}
