#include "framework/StdCtrls.h"

#include <algorithm>

// ------------------------------------------------------------------ TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetClickEvents(false); }

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.superclassOf = "BUTTON";
    params.style |= WS_TABSTOP | BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CN_CTLCOLORBTN:
        // The corners around the button show the parent's colour.
        if (Parent()) {
            parentBrush_.Reset(CreateSolidBrush(ColorToRGB(Parent()->Color())));
            m.Result = reinterpret_cast<LRESULT>(parentBrush_.Get());
        }
        return;
    }
    TButtonControl::WndProc(m);
}

// ------------------------------------------------------------- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 65, 13); }

void TCustomLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustSize();
}

void TCustomLabel::CaptionChanged() {
    TCustomControl::CaptionChanged();
    AdjustSize();
}

void TCustomLabel::FontChangedHook() {
    TCustomControl::FontChangedHook();
    AdjustSize();
}

void TCustomLabel::AdjustSize() {
    if (!autoSize_) return;
    HDC screen = GetDC(nullptr);
    SIZE extent{0, 0};
    {
        SelectObjectScope font(screen, Font().Handle());
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen, &metrics);
        GetTextExtentPoint32A(screen, Caption().c_str(), static_cast<int>(Caption().size()), &extent);
        extent.cy = metrics.tmHeight;
    }
    ReleaseDC(nullptr, screen);
    SetBounds(Left(), Top(), extent.cx, extent.cy);
}

void TCustomLabel::PaintWindow(HDC dc) {
    const TColor background = transparent_ && Parent() ? Parent()->Color() : Color();
    BrushHandle brush(CreateSolidBrush(ColorToRGB(background)));
    RECT r = ClientRect();
    FillRect(dc, &r, brush.Get());
    SelectObjectScope font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
    DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r, format);
}
