// The control skinner family: one skinner sits in front of one control's
// window procedure, keeps the control's mouse-over and pressed state, and
// repaints it from the skin when its look may have changed. TSkinControlVCL
// takes a framework control's WindowProc slot; TSkinControlWnd subclasses a
// child window of a foreign window. The drawing of each kind lives in its own
// subclass; the base draws nothing and leaves the control as it is.
#pragma once

#include "framework/Controls.h"
#include "skin/controls/SkinnerKinds.h"

#include <windows.h>

#include <memory>
#include <string>

class ISkinLook;
class TSkinWindow;

// State bits of a skinned control.
constexpr int kSkinStateOver = 1;
constexpr int kSkinStatePressed = 2;

class TSkinControl {
public:
    TSkinControl(const ISkinLook* look, TSkinWindow* owner, const std::string& kind);
    virtual ~TSkinControl() { *alive_ = false; }
    TSkinControl(const TSkinControl&) = delete;
    TSkinControl& operator=(const TSkinControl&) = delete;

    int State() const { return state_; }
    // Once detached, a skinner never touches its control again, whichever way it let go.
    bool Detached() const { return detached_; }
    // The skinner class this one stands for (its row of the class tables).
    const std::string& Kind() const { return kind_; }
    void Repaint() {
        if (!detached_) Paint();
    }
    // Puts the skin's colours and styles on the control, or gives its own back.
    void Restyle() {
        if (!detached_) Install();
    }
    // Lets go of a control that stays: gives back what the skinner changed on it, then
    // leaves its message path. The skinner is freed next. A second call does nothing.
    void Detach();
    // Lets go of a control that is being destroyed: only leaves its message path, since
    // the control (or the object behind it) may be freed the moment this returns.
    void ControlGone();

    // virtual operations, in slot order
    // Before the control's own procedure: true when the skinner answered the message itself and the
    // control never sees it, as with TSkinWindow::BeforeMessage.
    virtual bool BeforeMessage(TMessage&) { return false; }
    virtual void AfterMessage(TMessage& m);
    virtual void Paint() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseDown() {}
    virtual void MouseUp() {}
    virtual void KeyDown(WORD) {}
    virtual void KeyUp(WORD) {}
    // Called once the skinner sits in front of the control.
    virtual void Init() {}
    virtual RECT GetBounds() const = 0;
    virtual HWND GetHandle() const = 0;
    virtual bool IsEnabled() const = 0;
    virtual bool WantsParentColor() const { return false; }

protected:
    virtual void Install() {}
    // Gives the control its own colours, styles and timers back; called by Detach
    // only, so only while the control is there.
    virtual void GiveBack() {}
    // Takes the skinner out of the control's message path.
    virtual void Unhook() = 0;
    // Foreign windows have no toolkit to report the mouse coming and going.
    virtual bool TracksMouseItself() const { return false; }
    // The message handling rules around the control's own procedure.
    void Dispatch(TMessage& m, int controlTag);
    virtual void CallControl(TMessage& m) = 0;
    void Enter();
    void Leave();
    // For skinners that draw the whole control: the control never paints
    // itself, WM_PAINT is answered with the face PaintOn draws and there is no
    // background to erase.
    virtual bool DrawsWholeFace() const { return false; }
    virtual void PaintOn(HDC) {}
    // Paints the face now on the window's own device context, when the window shows.
    void PaintFace();
    // Answers WM_PAINT with the face, between the system's begin and end of painting.
    void AnswerPaint(TMessage& m);

    const ISkinLook* look_;
    TSkinWindow* owner_;
    int state_ = 0;
    bool detached_ = false;
    std::string kind_;
    // False once the skinner is freed, which can happen inside the control's own
    // procedure (a dialog that closes lets go of its skin).
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// In front of a framework control, through its WindowProc slot.
class TSkinControlVCL : public TSkinControl {
public:
    TSkinControlVCL(const ISkinLook* look, TSkinWindow* owner, TControl* control, TSkinnerKind kind);
    ~TSkinControlVCL() override;
    TControl* Control() const { return control_; }

    RECT GetBounds() const override { return control_->BoundsRect(); }
    HWND GetHandle() const override;
    bool IsEnabled() const override { return control_->Enabled(); }
    bool WantsParentColor() const override { return wantsParentColor_; }

protected:
    void CallControl(TMessage& m) override { own_(m); }
    void Unhook() override;

private:
    TControl* control_;
    TWndMethod own_;
    bool wantsParentColor_;
};

// In front of a child window of a foreign window, by replacing its window procedure.
class TSkinControlWnd : public TSkinControl {
public:
    TSkinControlWnd(const ISkinLook* look, TSkinWindow* owner, HWND wnd, const std::string& kind);
    ~TSkinControlWnd() override;

    RECT GetBounds() const override;
    HWND GetHandle() const override { return wnd_; }
    bool IsEnabled() const override { return IsWindowEnabled(wnd_) != FALSE; }

protected:
    void CallControl(TMessage& m) override;
    void Unhook() override;
    bool TracksMouseItself() const override { return true; }

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND wnd_;
    WNDPROC own_ = nullptr;
    bool calledControl_ = false;  // the message being dispatched has reached the window's own procedure
};
