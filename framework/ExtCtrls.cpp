#include "framework/ExtCtrls.h"

// -------------------------------------------------------------- drawing aid

void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight) {
    PenHandle light(CreatePen(PS_SOLID, 1, ColorToRGB(topLeft)));
    PenHandle dark(CreatePen(PS_SOLID, 1, ColorToRGB(bottomRight)));
    {
        SelectObjectScope pen(dc, light.Get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
    }
    {
        SelectObjectScope pen(dc, dark.Get());
        MoveToEx(dc, r.right - 1, r.top, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
    }
    InflateRect(&r, -1, -1);
}

namespace {

void DrawPanelBevel(HDC dc, RECT& r, TPanelBevel bevel) {
    if (bevel == TPanelBevel::bvRaised) Frame3D(dc, r, colors::clBtnHighlight, colors::clBtnShadow);
    if (bevel == TPanelBevel::bvLowered) Frame3D(dc, r, colors::clBtnShadow, colors::clBtnHighlight);
}

}  // namespace

// ------------------------------------------------------------- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::SetBevels(TPanelBevel inner, TPanelBevel outer) {
    bevelInner_ = inner;
    bevelOuter_ = outer;
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    // Filling the panel must not paint over the controls inside it.
    params.style |= WS_CLIPCHILDREN;
}

void TCustomPanel::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    DrawPanelBevel(dc, r, bevelOuter_);
    DrawPanelBevel(dc, r, bevelInner_);
    BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.Get());
}

// ------------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape shape) {
    shape_ = shape;
    Invalidate();
}

void TBevel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (shape_ == TBevelShape::bsBox) {
        Frame3D(dc, r, colors::clBtnShadow, colors::clBtnHighlight);
        return;
    }
    PenHandle shadow(CreatePen(PS_SOLID, 1, ColorToRGB(colors::clBtnShadow)));
    PenHandle highlight(CreatePen(PS_SOLID, 1, ColorToRGB(colors::clBtnHighlight)));
    {
        SelectObjectScope pen(dc, shadow.Get());
        MoveToEx(dc, 0, Height() - 2, nullptr);
        LineTo(dc, Width(), Height() - 2);
    }
    SelectObjectScope pen(dc, highlight.Get());
    MoveToEx(dc, 0, Height() - 1, nullptr);
    LineTo(dc, Width(), Height() - 1);
}

// ------------------------------------------------------------------- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { Invalidate(); };
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::Paint(HDC dc) {
    const TGraphic* graphic = picture_.Graphic();
    if (!graphic || graphic->Empty()) return;
    RECT target = stretch_ ? ClientRect() : RECT{0, 0, graphic->Width(), graphic->Height()};
    graphic->Draw(dc, target);
}
