// Push buttons and labels.
#pragma once

#include "framework/Controls.h"

// The system push button. A click, by the operator or by Click(), runs OnClick;
// Click() runs it even while the button is disabled, as pressing it in code does.
class TButtonControl : public TWinControl {
    KV90_CLASS(TButtonControl, TWinControl)
public:
    using TWinControl::TWinControl;
};

class TButton : public TButtonControl {
    KV90_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    BrushHandle parentBrush_;
};

enum class TAlignment { taLeftJustify, taCenter, taRightJustify };

// A line of text. Transparent labels show their parent's colour behind the text;
// auto-sized ones take the size of their text.
class TCustomLabel : public TCustomControl {
    KV90_CLASS(TCustomLabel, TCustomControl)
public:
    explicit TCustomLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

protected:
    void PaintWindow(HDC dc) override;
    void CaptionChanged() override;
    void FontChangedHook() override;

private:
    void AdjustSize();
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
    bool autoSize_ = true;
};

class TLabel : public TCustomLabel {
    KV90_CLASS(TLabel, TCustomLabel)
public:
    using TCustomLabel::TCustomLabel;
};
