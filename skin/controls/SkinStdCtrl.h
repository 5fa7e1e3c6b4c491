// The control skinners: one class per kind of control the skin draws. Each
// sits in front of one control (see SkinControl.h) and draws it from the
// skin's control pieces; the drawing of each kind is in its own file.
#pragma once

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/SkinClassTables.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinControlRules.h"

#include <commctrl.h>

#include <memory>
#include <string>

struct TSkinControlLook;

// What a push button face shows.
struct TButtonFace {
    int frame = 1;
    bool pressed = false, focused = false, enabled = true;
    COLORREF background = 0, textColor = 0;
    HFONT font = nullptr;
    std::string caption;
    bool wordWrap = false;
    bool hidePrefix = false;  // a mnemonic's ampersand shows no underline ("&&" still shows one "&")
};
// Fills with the background, draws the frame nine-sliced, the focus rectangle and the caption.
void PaintButtonFace(HDC dc, const TSkinControlLook& look, const RECT& client, const TButtonFace& face);

// Framework push buttons: the control never sees a press, so the skinner clicks.
class TSkinButton : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;
    void Paint() override;
    void MouseLeave() override;

private:
    bool DrawsWholeFace() const override { return true; }
    void PaintOn(HDC dc) override;
    bool Over(LPARAM point) const;
    void ClickNow();
    TPushClicks clicks_;
};

// The timer with which a dialog box button takes its hot face back.
constexpr UINT_PTR kSkinHoverTimer = 0x4B56;

// The push buttons of message boxes and system dialog boxes.
class TSkinWndButton : public TSkinControlWnd {
public:
    TSkinWndButton(const ISkinLook* look, TSkinWindow* owner, HWND wnd);
    void Init() override;
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;
    void Paint() override;

private:
    void GiveBack() override;
    void PaintOn(HDC dc) override;
    void Tick();
    TPushClicks clicks_;
    bool timer_ = false, ticked_ = false;
};

// Skinners that colour a control's font while skinning and give its own back.
class TSkinFontColorControl : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    void Init() override;
    void Install() override;

private:
    // Letting go while the skin is still on (the window alone is unskinned) gives the colour back too.
    void GiveBack() override { Restore(); }
    void Restore();
    TColor keptColor_ = 0;
    bool keptParentFont_ = true;
    bool changed_ = false;
};

// Check boxes: the control draws itself, the skin's box is drawn over its own.
class TSkinCheckBox : public TSkinFontColorControl {
public:
    using TSkinFontColorControl::TSkinFontColorControl;
    void AfterMessage(TMessage& m) override;
    void Paint() override;
};

// Labels: only the font colour.
class TSkinLabel : public TSkinFontColorControl {
public:
    using TSkinFontColorControl::TSkinFontColorControl;
};

// Group boxes: a flat frame line interrupted by the caption.
class TSkinGroupBox : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    void Paint() override;

private:
    bool DrawsWholeFace() const override { return true; }
    void PaintOn(HDC dc) override;
};

// Panels (and the kinds drawn like them): the parent's colour, no drawing of their own.
class TSkinPanel : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
};

// A flat two-line border in the non-client area of edits, scroll boxes and the like.
class TSkinBorderWinControl : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    void Install() override;
    void AfterMessage(TMessage& m) override;
    void Paint() override;

protected:
    bool HasBorder() const;
};

// Edits, memos, list and tree controls, scroll boxes: the border, and the
// control's own scroll bars painted over from the skin's scroll bar pieces.
// The system keeps their mouse handling; they are painted again after every
// step that can have moved or shown them.
class TSkinScrollWinControl : public TSkinBorderWinControl {
public:
    using TSkinBorderWinControl::TSkinBorderWinControl;
    void AfterMessage(TMessage& m) override;
    void Paint() override;

private:
    bool DrawsScrollBars() const;
    void PaintBar(HDC dc, const RECT& window, LONG object);
};

// Track bars: channel, selection, slider, ticks and focus rectangle from the skin.
class TSkinTrackBar : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    void AfterMessage(TMessage& m) override;
    void Paint() override;

private:
    bool DrawsWholeFace() const override { return true; }
    void PaintOn(HDC dc) override;
};

// Tool bars: flat and opaque while skinning, background and buttons drawn from the skin.
class TSkinToolBar : public TSkinControlVCL {
public:
    using TSkinControlVCL::TSkinControlVCL;
    void Init() override;
    void Install() override;
    bool BeforeMessage(TMessage& m) override;

private:
    void GiveBack() override { Restore(); }
    void Restore();
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
    TColor keptColor_ = 0;
    bool keptParentColor_ = false;
    // Only the style bits the skin changed go back: the toolkit may have shown,
    // hidden or disabled the bar since.
    DWORD addedStyle_ = 0, removedStyle_ = 0;
    bool changed_ = false;
};

// The combo boxes of dialog boxes: the flat border and a skinned drop-down button
// over what the control drew.
class TSkinWndComboBox : public TSkinControlWnd {
public:
    TSkinWndComboBox(const ISkinLook* look, TSkinWindow* owner, HWND wnd, const std::string& key);
    void AfterMessage(TMessage& m) override;
    void Paint() override;
};

// The skinner of a dialog box's child window for its key, ready for Init.
std::unique_ptr<TSkinControlWnd> MakeWindowSkinner(const ISkinLook* look, TSkinWindow* owner, HWND wnd, TWindowKey key);
