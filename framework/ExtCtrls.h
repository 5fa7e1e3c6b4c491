// Panels, bevels and images.
#pragma once

#include "framework/Controls.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A framed area that holds other controls.
class TCustomPanel : public TCustomControl {
    KV90_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);
    TPanelBevel BevelInner() const { return bevelInner_; }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevels(TPanelBevel inner, TPanelBevel outer);

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
};

class TPanel : public TCustomPanel {
    KV90_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

enum class TBevelShape { bsBox, bsBottomLine };

// An etched line or box, drawn by its parent.
class TBevel : public TGraphicControl {
    KV90_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    void SetShape(TBevelShape shape);

protected:
    void Paint(HDC dc) override;

private:
    TBevelShape shape_ = TBevelShape::bsBox;
};

// Shows a picture, stretched to the control's size when Stretch is set.
class TImage : public TGraphicControl {
    KV90_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

protected:
    void Paint(HDC dc) override;

private:
    TPicture picture_;
    bool stretch_ = false;
};

// Draws the raised or lowered 3-D frame of one bevel and shrinks r inside it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight);
