#include "framework/Handles.h"

#include "framework/Graphics.h"

namespace {

// A child window whose client area is all of it: no border, no scroll bars.
bool IsFramelessChild(HWND wnd) {
    if (!(GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)) return false;
    RECT window, client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

}  // namespace

bool GiveWindowRegion(HWND wnd, RegionHandle& region, bool redraw) {
    if (!SetWindowRgn(wnd, region.Get(), redraw)) return false;
    region.Release();
    return true;
}

PaintScope::PaintScope(HWND wnd) : wnd_(wnd) {
    if (!IsFramelessChild(wnd)) {
        begun_ = true;
        dc_ = BeginPaint(wnd, &ps_);
        return;
    }
    GdiObject<HRGN> update(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(wnd, update.Get(), FALSE);
    GetRgnBox(update.Get(), &ps_.rcPaint);
    ValidateRect(wnd, nullptr);
    dc_ = GetDC(wnd);
    ExtSelectClipRgn(dc_, update.Get(), RGN_AND);
}

PaintScope::~PaintScope() {
    if (begun_)
        EndPaint(wnd_, &ps_);
    else
        ReleaseDC(wnd_, dc_);
}

OffscreenBitmap::OffscreenBitmap(OffscreenBitmap&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)),
      bitmap_(std::move(other.bitmap_)),
      kept_(std::exchange(other.kept_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

OffscreenBitmap& OffscreenBitmap::operator=(OffscreenBitmap&& other) noexcept {
    if (this != &other) {
        Reset();
        dc_ = std::exchange(other.dc_, nullptr);
        bitmap_ = std::move(other.bitmap_);
        kept_ = std::exchange(other.kept_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

bool OffscreenBitmap::MakeDib(int width, int height) {
    Reset();
    const BITMAPINFO info = DibInfo(width, -height, 32);
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    MemoryDC dc(nullptr);
    return Adopt(dc, bitmap, bits, width, height);
}

bool OffscreenBitmap::MakeCompatible(HDC like, int width, int height) {
    Reset();
    MemoryDC dc(like);
    BitmapHandle bitmap(CreateCompatibleBitmap(like, width, height));
    return Adopt(dc, bitmap, nullptr, width, height);
}

bool OffscreenBitmap::Adopt(MemoryDC& dc, BitmapHandle& bitmap, void* bits, int width, int height) {
    if (!dc.Get() || !bitmap) return false;
    kept_ = SelectObject(dc.Get(), bitmap.Get());
    dc_ = dc.Release();
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void OffscreenBitmap::Reset() {
    // The bitmap leaves the context before either goes: a selected bitmap cannot be deleted.
    if (dc_) {
        if (kept_) SelectObject(dc_, kept_);
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    kept_ = nullptr;
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}
