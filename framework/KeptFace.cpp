#include "framework/KeptFace.h"

void TKeptFace::Changed(const RECT& part) {
    RECT merged;
    UnionRect(&merged, &changed_, &part);
    changed_ = merged;
}

void TKeptFace::Changed() { changed_ = RECT{0, 0, surface_.Width(), surface_.Height()}; }

OffscreenBitmap* TKeptFace::Surface(HDC like, SIZE size) {
    if (surface_ && size.cx == surface_.Width() && size.cy == surface_.Height()) return &surface_;
    Drop();
    if (!surface_.MakeCompatible(like, size.cx, size.cy)) return nullptr;
    changed_ = RECT{0, 0, size.cx, size.cy};
    return &surface_;
}

void TKeptFace::Paint(HDC dc, SIZE size, const RECT& area, const Draw& draw) {
    if (size.cx <= 0 || size.cy <= 0) return;
    OffscreenBitmap* surface = Surface(dc, size);
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
        SavedDC saved(surface->Dc());
        IntersectClipRect(surface->Dc(), part.left, part.top, part.right, part.bottom);
        draw(surface->Dc(), part);
    }
    changed_ = RECT{0, 0, 0, 0};
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, surface->Dc(), area.left, area.top,
           SRCCOPY);
}

void TKeptFace::Drop() {
    surface_.Reset();
    changed_ = RECT{0, 0, 0, 0};
}
