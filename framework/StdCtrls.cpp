#include "framework/StdCtrls.h"

#include <algorithm>

// ------------------------------------------------------------------ TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetClickEvents(false); }

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.superclassOf = "BUTTON";
    params.style |= BS_PUSHBUTTON;
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

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 13); }

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
    TGraphicControl::CaptionChanged();
    AdjustSize();
}

void TCustomLabel::FontChangedHook() {
    TGraphicControl::FontChangedHook();
    AdjustSize();
}

void TCustomLabel::AdjustSize() {
    if (!autoSize_) return;
    SIZE extent{0, 0};
    {
        TWindowDC screen(nullptr);
        SelectObjectScope font(screen.Get(), Font().Handle());
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen.Get(), &metrics);
        GetTextExtentPoint32A(screen.Get(), Caption().c_str(), static_cast<int>(Caption().size()), &extent);
        extent.cy = metrics.tmHeight;
    }
    SetBounds(Left(), Top(), extent.cx, extent.cy);
}

void TCustomLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (!transparent_) {
        BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(dc, &r, brush.Get());
    }
    SelectObjectScope font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
    DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r, format);
}

// ---------------------------------------------------------------- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetClickEvents(false);
    SetTabStop(true);
    SetColor(colors::clWindow);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.superclassOf = "EDIT";
    params.style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && OnChange) OnChange(this);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        // A disabled edit reports as static; it keeps the colour it was given.
        const COLORREF color = ColorToRGB(Color());
        background_.Reset(CreateSolidBrush(color));
        SetBkColor(reinterpret_cast<HDC>(m.WParam), color);
        SetTextColor(reinterpret_cast<HDC>(m.WParam),
                     Enabled() ? ColorToRGB(Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
        m.Result = reinterpret_cast<LRESULT>(background_.Get());
        return;
    }
    }
    TWinControl::WndProc(m);
}

// ------------------------------------------------------------ TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetClickEvents(false);
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.superclassOf = "BUTTON";
    params.style |= BS_CHECKBOX;
}

bool TCustomCheckBox::Checked() const { return checked_; }

void TCustomCheckBox::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCustomCheckBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CREATE:
        TButtonControl::WndProc(m);
        SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    case CN_COMMAND:
        // The box toggles here rather than in the system control, so that the
        // state and the click always agree.
        if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(!checked_);
        return;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
        if (Parent()) {
            const COLORREF color = ColorToRGB(Parent()->Color());
            parentBrush_.Reset(CreateSolidBrush(color));
            SetBkColor(reinterpret_cast<HDC>(m.WParam), color);
            // The caption is drawn in the check box's font colour.
            SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(Font().Color()));
            m.Result = reinterpret_cast<LRESULT>(parentBrush_.Get());
        }
        return;
    }
    TButtonControl::WndProc(m);
}

// ------------------------------------------------------------ TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
}

void TCustomGroupBox::PaintWindow(HDC dc) {
    const TColor background = Parent() ? Parent()->Color() : Color();
    BrushHandle brush(CreateSolidBrush(ColorToRGB(background)));
    RECT r = ClientRect();
    FillRect(dc, &r, brush.Get());
    SelectObjectScope font(dc, Font().Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT frame{0, metrics.tmHeight / 2 - 1, Width(), Height()};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!Caption().empty()) {
        SetBkColor(dc, ColorToRGB(background));
        SetTextColor(dc, ColorToRGB(Font().Color()));
        RECT text{8, 0, Width() - 8, metrics.tmHeight};
        DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, DT_SINGLELINE | DT_NOPREFIX);
    }
}
