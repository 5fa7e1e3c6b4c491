// Controls: the visual components. A windowed control (TWinControl) owns a
// window of its own class; a parent-painted control (TGraphicControl) lives
// inside its parent's window, which paints it and routes the mouse to it.
// Every message a control handles goes through its WindowProc slot, which a
// later layer (the skin) may replace, keeping the previous one to call on.
#pragma once

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/KeptFace.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

using TWndMethod = std::function<void(TMessage&)>;

// Notifications that a parent hands back to the child that sent them
// (WM_COMMAND, WM_CTLCOLOR...), so that a control handles its own.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;

// The toolkit's own notifications, sent through a control's WindowProc so that
// whatever sits in front of it (a skinner) sees them as messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 3;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;  // WParam: the control that took the focus
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 21;
// A control without a window is being destroyed (a windowed one gets WM_NCDESTROY):
// whatever sits in its WindowProc slot lets go of it now.
constexpr UINT CM_DESTROYING = CM_BASE + 44;

class TWinControl;

// How a control follows its parent's client area.
enum class TAlign { alNone, alTop, alClient };

class TControl : public TComponent {
    KV90_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // attributes
    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    RECT ClientRect() const { return {0, 0, width_, height_}; }
    void SetBounds(int left, int top, int width, int height);
    TColor Color() const { return color_; }
    // Setting a colour of its own stops the control following its parent's.
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    // The control takes its parent's colour, now and whenever the parent's changes.
    void SetParentColor(bool value);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    // Call after changing Font(): the control stops following its parent's
    // font, repaints, and hands the font on to the children that follow it.
    void FontChanged();
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The text as the operator left it: a windowed control's window text.
    virtual std::string Text() const { return caption_; }
    void SetText(const std::string& text) { SetCaption(text); }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // Puts the control above its siblings.
    virtual void BringToFront();

    // The replaceable window-procedure slot; WndProc is what it holds at first.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // operations
    virtual void Invalidate();
    // Invalidates and paints at once, without waiting for the message loop.
    virtual void Repaint();
    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    // overridables
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    virtual void BoundsChanged() {}
    // Records bounds the window already has, without moving anything.
    void StoreBounds(int left, int top, int width, int height);
    virtual void ColorChanged() { Invalidate(); }
    virtual void FontChangedHook() { Invalidate(); }
    virtual void CaptionChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged();
    virtual void ParentChanged() {}
    void SetClickEvents(bool value) { clickEvents_ = value; }
    void ApplyFont();

private:
    void ApplyColor(TColor color);
    // The control's area of its parent is drawn again, whether it shows now or not
    // (it was just hidden or taken away).
    void InvalidateBounds();
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TColor color_ = colors::clBtnFace;
    TFont font_;
    bool parentFont_ = true;
    bool parentColor_ = false;
    std::string hint_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool clickEvents_ = true;
    bool clicked_ = false;
    TAlign align_ = TAlign::alNone;
};

// Drawn by its parent into the parent's device context.
class TGraphicControl : public TControl {
    KV90_CLASS(TGraphicControl, TControl)
public:
    using TControl::TControl;
    ~TGraphicControl() override;

protected:
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage&) override {}
    // Draws the control with its top left at the origin of dc.
    virtual void Paint(HDC dc) = 0;
};

// What a windowed control asks for when its window is made.
struct TCreateParams {
    std::string winClassName;
    const char* superclassOf = nullptr;  // a system class the control wraps (e.g. "BUTTON")
    UINT classStyle = CS_DBLCLKS;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    HWND parentWnd = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
};

class TWinControl : public TControl {
    KV90_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    const std::vector<TControl*>& Controls() const { return controls_; }
    // The topmost visible child control at a client point (disabled ones only when asked).
    TControl* ControlAtPos(POINT point, bool allowDisabled = false) const;
    void SetFocus();
    // Whether Tab stops at the control, and its place among its siblings in
    // the order of Tab (the order they were put in the parent, unless set).
    // The order of Tab is kept apart from the order of drawing, so a control
    // drawn over another can still come after it.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    void SetTabOrder(int order);
    // The windowed controls inside, in the order of Tab, each followed by its own.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // Visible and enabled, and so is every parent up to the form.
    bool CanFocus() const;

    void Invalidate() override;
    void Repaint() override;
    std::string Text() const override;
    void BringToFront() override;
    // The area the children share: the client area less any frame of the control's own.
    virtual RECT ClientArea() const;
    // Lays out the aligned children: top ones stacked from the top, the client one in the rest.
    void AlignControls();
    // The bounds follow where the system has put the window.
    void FollowWindow();
    // Draws the children without a window of their own that meet area (client
    // coordinates), in the order of drawing; whoever paints the control paints them.
    void PaintControls(HDC dc, const RECT& area);

    // The control that owns a window of this program, or null.
    static TWinControl* FindControl(HWND wnd);

protected:
    friend class TControl;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Background and own drawing of a control that is not a system control.
    virtual void PaintWindow(HDC dc);
    // Answers WM_PAINT: the kept face brought up to date, and `area` of it copied onto dc.
    void PaintFace(HDC dc, const RECT& area);
    // True for controls that wrap a system window class and let it draw.
    bool WrapsSystemClass() const { return wrapsSystemClass_; }
    void BoundsChanged() override;
    void ColorChanged() override;
    void FontChangedHook() override;
    void CaptionChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void ParentChanged() override;
    void DestroyHandle();
    // A child moved, resized, showed or hid.
    virtual void ControlChanged(TControl* child);

private:
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void AttachHandle(HWND wnd);
    void RouteMouse(TMessage& message);
    // The window procedure's handlers: true when the message was answered and goes no further.
    bool HandleOwnWindowMessage(TMessage& message);
    bool HandleMessage(TMessage& message);
    void NoticeMouseEntering();
    void OnMouseLeave();
    bool OnPaint();
    bool OnEraseBackground(TMessage& message);
    bool OnWindowPosChanged(TMessage& message);
    bool OnOwnerDraw(TMessage& message);
    void OnFocusChange(const TMessage& message);
    bool OnSetCursor(TMessage& message);
    bool ReflectNotification(TMessage& message);
    // This control's kept face and those of every windowed control inside it.
    void FacesChanged();
    void DropFaces();
    static void DeliverNotification(TWinControl& child, TMessage& message);
    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = DefWindowProcA;
    bool wrapsSystemClass_ = false;
    bool onTop_ = false;  // brought to the front before its window existed
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    TControl* mouseControl_ = nullptr;
    bool mouseInside_ = false;
    // What the control drew last, for the system's repaints. Everything that
    // changes the look goes through Invalidate, which marks it changed.
    TKeptFace face_;
};

// A windowed control that draws itself (panels, group boxes).
class TCustomControl : public TWinControl {
    KV90_CLASS(TCustomControl, TWinControl)
public:
    using TWinControl::TWinControl;
};
