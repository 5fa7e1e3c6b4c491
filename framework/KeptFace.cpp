#include "framework/KeptFace.h"

void TKeptFace::Changed(const RECT& part) {
    RECT merged;
    UnionRect(&merged, &changed_, &part);
    changed_ = merged;
}

void TKeptFace::Changed() { changed_ = RECT{0, 0, size_.cx, size_.cy}; }

MemoryDC* TKeptFace::Surface(HDC like, SIZE size) {
    if (dc_ && size.cx == size_.cx && size.cy == size_.cy) return dc_.get();
    Drop();
    auto dc = std::make_unique<MemoryDC>(like);
    BitmapHandle bitmap(CreateCompatibleBitmap(like, size.cx, size.cy));
    if (!dc->Get() || !bitmap) return nullptr;
    keptSelection_ = SelectObject(dc->Get(), bitmap.Get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    size_ = size;
    changed_ = RECT{0, 0, size.cx, size.cy};
    return dc_.get();
}

void TKeptFace::Paint(HDC dc, SIZE size, const RECT& area, const Draw& draw) {
    if (size.cx <= 0 || size.cy <= 0) return;
    MemoryDC* surface = Surface(dc, size);
    if (!surface) {
        // No memory for a kept face: draw straight onto the window.
        SavedDC saved(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        draw(dc, area);
        return;
    }
    RECT part;
    const RECT whole{0, 0, size.cx, size.cy};
    if (IntersectRect(&part, &changed_, &whole)) {
        SavedDC saved(surface->Get());
        IntersectClipRect(surface->Get(), part.left, part.top, part.right, part.bottom);
        draw(surface->Get(), part);
    }
    changed_ = RECT{0, 0, 0, 0};
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, surface->Get(), area.left, area.top,
           SRCCOPY);
}

void TKeptFace::Drop() {
    if (dc_ && keptSelection_) SelectObject(dc_->Get(), keptSelection_);
    keptSelection_ = nullptr;
    dc_.reset();
    bitmap_.Reset();
    size_ = SIZE{0, 0};
    changed_ = RECT{0, 0, 0, 0};
}
