// Push buttons and labels.
#pragma once

#include "framework/Controls.h"

// The system push button. A click, by the operator or by Click(), runs OnClick;
// Click() runs it even while the button is disabled, as pressing it in code does.
class TButtonControl : public TWinControl {
    KV90_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
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

// A line of text, drawn by its parent: a label needs no window of its own, and
// every window is one more paint when the form is uncovered. Transparent labels
// show whatever their parent drew behind them; auto-sized ones take the size of
// their text.
class TCustomLabel : public TGraphicControl {
    KV90_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

protected:
    void Paint(HDC dc) override;
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

// A single-line edit box.
class TCustomEdit : public TWinControl {
    KV90_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);
    void SetReadOnly(bool value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    BrushHandle background_;
    bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
    KV90_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};

// A check box with its caption; OnClick runs whenever the operator toggles it.
class TCustomCheckBox : public TButtonControl {
    KV90_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);
    bool Checked() const;
    // Setting the state in code runs OnClick as well, as toggling it does.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
    BrushHandle parentBrush_;
};

class TCheckBox : public TCustomCheckBox {
    KV90_CLASS(TCheckBox, TCustomCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// An etched frame around a group of controls, with an optional caption in its top edge.
class TCustomGroupBox : public TCustomControl {
    KV90_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
};

class TGroupBox : public TCustomGroupBox {
    KV90_CLASS(TGroupBox, TCustomGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
};
