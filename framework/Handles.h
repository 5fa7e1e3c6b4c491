// Owners for kernel, GDI and user handles: each frees what it holds, exactly once.
#pragma once

#include <windows.h>

#include <utility>

// A kernel object handle closed with CloseHandle (files, mappings, events, threads).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : handle_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return handle_; }
    // CreateFile reports failure as INVALID_HANDLE_VALUE, most others as null.
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    void Reset(HANDLE h = nullptr) {
        if (Valid()) CloseHandle(handle_);
        handle_ = h;
    }

private:
    HANDLE handle_ = nullptr;
};

// A GDI object (font, brush, pen, bitmap, region) deleted with DeleteObject.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : handle_(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    T Release() { return std::exchange(handle_, nullptr); }
    void Reset(T h = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = h;
    }

private:
    T handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// Gives a window its shape. Once SetWindowRgn succeeds the system owns the region
// and the owner lets go of it; when it fails the owner keeps it and frees it.
bool GiveWindowRegion(HWND wnd, RegionHandle& region, bool redraw = true);

// Selects a GDI object into a device context for one scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectScope() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory device context deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

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

// A device context saved and restored around drawing that changes its state.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, state_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int state_;
};
