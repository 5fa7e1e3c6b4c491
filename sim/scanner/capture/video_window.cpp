#include "video_window.h"

namespace kv90sim {
namespace {

constexpr std::uint64_t kDisplayPeriodMs = 40;

// Borrows a window's device context and gives it back.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

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

void VideoWindow::Attach(HWND window) {
    window_.store(window);
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
    const WindowDc dc(window);
    if (dc.get() == nullptr) return;
    info_.header.biWidth = width;
    info_.header.biHeight = -height;  // rows top to bottom, as in the frame
    SetStretchBltMode(dc.get(), HALFTONE);
    SetBrushOrgEx(dc.get(), 0, 0, nullptr);
    StretchDIBits(dc.get(), 0, 0, client.right, client.bottom, 0, 0, width, height, frame,
                  reinterpret_cast<const BITMAPINFO*>(&info_), DIB_RGB_COLORS, SRCCOPY);
    lastDrawMs_ = nowMs;
    drawn_ = true;
}

}  // namespace kv90sim
