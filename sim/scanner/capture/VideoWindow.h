#pragma once
// Shows the live frames in the window the program names, as the real scanner
// does.  Drawing happens on the thread that fetches frames, straight onto the
// window's device context, so the program's GUI thread is never involved; a
// window that has gone away is simply no longer drawn.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace kv90sim {

class VideoWindow {
public:
    VideoWindow();

    // nullptr stops the video.
    void Attach(HWND window);
    HWND window() const { return window_.load(); }

    // Draws the frame stretched over the window's client area, at most at the
    // display rate even when frames come faster.
    void Show(const std::uint8_t* frame, int width, int height, std::uint64_t nowMs);

private:
    struct GreyBitmapInfo {
        BITMAPINFOHEADER header;
        RGBQUAD palette[256];
    };

    // Averages whole blocks of pixels into rows padded as a DIB needs them:
    // a smooth picture at a fraction of the cost of half-tone stretching.
    const std::uint8_t* Shrink(const std::uint8_t* frame, int width, int height, int factor);

    std::atomic<HWND> window_{nullptr};
    std::vector<std::uint8_t> shrunk_;
    GreyBitmapInfo info_{};
    std::uint64_t lastDrawMs_ = 0;
    bool drawn_ = false;
};

}  // namespace kv90sim
