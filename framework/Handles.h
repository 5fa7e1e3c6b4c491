// Owners for kernel, GDI and user handles (see HandleOwners.h), and those that
// need the framework's library: window shapes, paint scopes, off-screen bitmaps.
#pragma once

#include "framework/HandleOwners.h"

#include <windows.h>

#include <cstdint>

// Gives a window its shape. Once SetWindowRgn succeeds the system owns the region
// and the owner lets go of it; when it fails the owner keeps it and frees it.
bool GiveWindowRegion(HWND wnd, RegionHandle& region, bool redraw = true);

// The device context for answering WM_PAINT, clipped to the update region,
// which is validated. For a child window that has no frame, the region is taken
// without BeginPaint: BeginPaint's other work (hiding the caret, WM_NCPAINT,
// WM_ERASEBKGND) has nothing to do for it, and under Wine a BeginPaint and
// EndPaint pair costs several round trips to the Wine server, so such a window
// is painted in about half the time. Only for windows that hold no caret.
class PaintScope {
public:
    explicit PaintScope(HWND wnd);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND wnd_;
    bool begun_ = false;  // through BeginPaint
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// A bitmap selected into a memory device context of its own, for drawing off the
// screen and copying to a window in one step. The context, the bitmap and the
// selection are made together and given back together; a Make that fails leaves
// it empty.
class OffscreenBitmap {
public:
    OffscreenBitmap() = default;
    ~OffscreenBitmap() { Reset(); }
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;
    OffscreenBitmap(OffscreenBitmap&& other) noexcept;
    OffscreenBitmap& operator=(OffscreenBitmap&& other) noexcept;

    // A 32-bit top-down DIB section, whose pixels Bits() reaches.
    bool MakeDib(int width, int height);
    // A bitmap in the format of the device `like` draws on (a window's DC), the
    // cheapest to copy onto it; its pixels are reached through GDI only.
    bool MakeCompatible(HDC like, int width, int height);
    // Gives the context and the bitmap back.
    void Reset();

    explicit operator bool() const { return dc_ != nullptr; }
    HDC Dc() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    // A DIB section's pixels, Width() to a row, top row first, each 0x00RRGGBB;
    // null for a compatible bitmap. GDI may still be drawing into them: GdiFlush first.
    std::uint32_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    bool Adopt(MemoryDC& dc, BitmapHandle& bitmap, void* bits, int width, int height);

    HDC dc_ = nullptr;
    BitmapHandle bitmap_;
    HGDIOBJ kept_ = nullptr;  // what the context held before the bitmap
    std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};
