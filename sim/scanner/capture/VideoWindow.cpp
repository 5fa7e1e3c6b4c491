#include "VideoWindow.h"

#include "framework/HandleOwners.h"

#include <algorithm>

namespace kv90sim {
namespace {

constexpr std::uint64_t kDisplayPeriodMs = 40;

}  // namespace

VideoWindow::VideoWindow() {
    info_.header.biSize = sizeof(BITMAPINFOHEADER);
    info_.header.biPlanes = 1;
    info_.header.biBitCount = 8;
    info_.header.biCompression = BI_RGB;
    info_.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
        const BYTE v = static_cast<BYTE>(i);
        info_.palette[i] = RGBQUAD{v, v, v, 0};
    }
}

void VideoWindow::Attach(HWND window) { window_.store(window); }

const std::uint8_t* VideoWindow::Shrink(const std::uint8_t* frame, int width, int height, int factor) {
    const int outWidth = width / factor;
    const int outHeight = height / factor;
    const int stride = (outWidth + 3) & ~3;  // DIB rows are padded to four bytes
    shrunk_.resize(static_cast<size_t>(stride) * outHeight);
    const int area = factor * factor;
    for (int y = 0; y < outHeight; ++y) {
        std::uint8_t* out = shrunk_.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < outWidth; ++x) {
            int sum = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const std::uint8_t* in = frame + static_cast<size_t>(y * factor + dy) * width + x * factor;
                for (int dx = 0; dx < factor; ++dx) sum += in[dx];
            }
            out[x] = static_cast<std::uint8_t>(sum / area);
        }
    }
    return shrunk_.data();
}

void VideoWindow::Show(const std::uint8_t* frame, int width, int height, std::uint64_t nowMs) {
    const HWND window = window_.load();
    if (window == nullptr) return;
    if (drawn_ && nowMs - lastDrawMs_ < kDisplayPeriodMs) return;
    if (!IsWindow(window)) {
        // Forget a destroyed window so that a recycled handle is never drawn on.
        HWND expected = window;
        window_.compare_exchange_strong(expected, nullptr);
        return;
    }
    RECT client{};
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return;
    const TWindowDC dc(window);
    if (dc.Get() == nullptr) return;
    // The nearest whole reduction; the system stretches the rest.
    const int across = (width + static_cast<int>(client.right) / 2) / static_cast<int>(client.right);
    const int down = (height + static_cast<int>(client.bottom) / 2) / static_cast<int>(client.bottom);
    const int factor = std::max(1, std::min(across, down));
    const bool direct = factor == 1 && width % 4 == 0;
    const std::uint8_t* pixels = direct ? frame : Shrink(frame, width, height, factor);
    const int shownWidth = width / factor;
    const int shownHeight = height / factor;
    info_.header.biWidth = shownWidth;
    info_.header.biHeight = -shownHeight;  // rows top to bottom, as in the frame
    SetStretchBltMode(dc.Get(), COLORONCOLOR);
    StretchDIBits(dc.Get(), 0, 0, client.right, client.bottom, 0, 0, shownWidth, shownHeight, pixels,
                  reinterpret_cast<const BITMAPINFO*>(&info_), DIB_RGB_COLORS, SRCCOPY);
    lastDrawMs_ = nowMs;
    drawn_ = true;
}

}  // namespace kv90sim
