// A skinned window: a top-level window whose frame (title, caption, title
// buttons, borders, shape) is drawn from the skin and whose non-client mouse
// handling (buttons, system menu, caption dragging) is taken over.
// TSkinWindowVCL attaches to a form of the program through its WindowProc
// slot; TSkinWindowWnd attaches to any other window by replacing its window
// procedure. The engine keeps one per skinned window in its window list.
#pragma once

#include "framework/Controls.h"
#include "skin/frame/SkinFrame.h"
#include "skin/frame/SkinWindowHost.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TSkinControl;

class TSkinWindow {
public:
    TSkinWindow(HWND wnd, bool activated, ISkinWindowHost* engine);
    virtual ~TSkinWindow();
    TSkinWindow(const TSkinWindow&) = delete;
    TSkinWindow& operator=(const TSkinWindow&) = delete;

    // Attaches, walks the controls and switches the skin on when the engine skins.
    // Called once right after construction (virtual calls are not possible in the constructor).
    void Init();
    // Restores the window and lets go of it; called before destruction.
    void Done();

    HWND Handle() const { return wnd_; }
    const TFramePaintResult& LastPaint() const { return lastPaint_; }

    // The skin is on only when on and enabled; measures first when needed.
    void SetSkin(bool on);
    // Draws the whole frame into the window; `mouse` is where the mouse is (screen
    // coordinates) when a mouse message tells, else the cursor's position is asked.
    void PaintFrame(const POINT* mouse = nullptr);
    // Sets the window's shape from the skin's title and bottom bands.
    void UpdateRegion();
    void LoadRegionSettings();
    // Whether the frame has a title and a border; the frame is recalculated and repainted.
    void SetHasTitle(bool value);
    void SetHasBorder(bool value);
    // Opens the engine's system menu for this window at a screen point.
    void ShowSystemMenu(POINT screen);
    // Posts the system command of a title button kind.
    void Command(TFrameHot kind);

    // The window procedure of the skinned window: the skin's half before the window's own procedure
    // (CallOwn), then its half after.
    void WndProc(TMessage& m);

    std::vector<std::unique_ptr<TSkinControl>>& Controls() { return controls_; }

protected:
    // virtual operations
    // What the window's text is, whoever set it.
    std::string Caption() const;
    virtual void SetSkinState(bool on) = 0;
    virtual void CallOwn(TMessage& m) = 0;
    virtual void Measure() = 0;
    virtual void SkinControls() {}
    virtual void UnskinControls();
    // After the skin was switched on or off.
    void RestyleControls();
    virtual bool HasFrame() const { return false; }
    virtual HICON IconHandle() const { return nullptr; }
    virtual bool HasHelp() const { return false; }
    virtual bool HasIcon() const { return false; }
    virtual bool HasClose() const { return true; }
    virtual bool HasMaximize() const { return false; }
    virtual bool HasMinimize() const { return false; }
    virtual bool IsSizeable() const;
    virtual bool SkinAtOnce() const { return false; }
    virtual bool SuppressSystemActivation() const { return false; }
    // Before the window's own procedure: true when the skin answered the message itself and the window
    // never sees it, as with TSkinControl::BeforeMessage.
    virtual bool BeforeMessage(TMessage&) { return false; }
    virtual void AfterMessage(TMessage&) {}
    // After WM_SIZE, before the frame is painted for the new size: a kind's own correction of it.
    virtual void AdjustAfterSize() {}
    virtual void Attach() = 0;
    virtual void Detach() = 0;

    // The window's geometry before skinning, taken by Measure.
    void MeasureFrame();
    // Grows or shrinks the window so that its client area keeps its size under the
    // current frame, keeping its centre while it has never been shown.
    void KeepClientSize(SIZE client);
    // Moves and sizes the window; forms keep their own bounds in step.
    virtual void MoveBounds(const RECT& r);
    // The skin draws this window's frame now.
    bool FrameDrawn() const;
    TFrameShape CurrentShape() const;
    // Calls the window's own procedure for a message that the system would
    // answer by drawing its own caption, with the caption style off meanwhile.
    void CallWithoutSystemCaption(TMessage& m);

    ISkinWindowHost* engine_;
    HWND wnd_;
    bool enabled_ = true;
    bool skinOn_ = false;
    bool measured_ = false;
    bool activated_;
    bool drawnActive_ = true;
    bool lastPaintActive_ = false;  // the state the frame was last painted in
    bool mouseDown_ = false;
    bool destroying_ = false;
    bool trackingLeave_ = false;
    DWORD savedStyle_ = 0;
    SIZE unskinnedClient_{0, 0};
    // The skin is setting the window's size itself: the sizes on the way are not the operator's.
    bool keepingClientSize_ = false;
    TFrameShape shape_;
    TFramePaintResult lastPaint_;
    TFramePainter painter_;
    std::vector<std::unique_ptr<TSkinControl>> controls_;

private:
    // False once this object is freed, which can happen inside the window's own
    // procedure (a form released or destroyed there lets go of its skin).
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // What the skin's frame has at a screen point.
    int HitTestAt(POINT screen) const;
    static bool IsNonClientButton(UINT msg);
    // Messages after which the skin does nothing more.
    static bool EndsSkinWork(UINT msg);
    POINT MouseInWindow() const;

    // Before the window's own procedure (true when the skin answered the message itself)
    // and after it; `sent` is the message as the window's own procedure was given it.
    bool BeforeOwn(TMessage& m);
    void AfterOwn(const TMessage& sent, TMessage& m);

    // One handler per message. A message with work on both sides of the window's own
    // procedure has a Before and an After handler; the others run on one side only:
    // the ones returning bool before it (true when answered), the others after it.
    bool OnNcPaint(TMessage& m);
    bool BeforeNcActivate(TMessage& m);
    void AfterNcActivate();
    bool OnNcCalcSize(TMessage& m);
    bool OnNcHitTest(TMessage& m);
    bool BeforeNcLButtonDown(TMessage& m);
    void AfterNcLButtonDown(const TMessage& sent);
    void OnNcLButtonUp(TMessage& m);
    bool OnNcLButtonDblClk(TMessage& m);
    bool OnNcRButtonDown(TMessage& m);
    bool OnNcRButtonUp(TMessage& m);
    bool OnContextMenu(TMessage& m);
    void OnNcMouseMove(TMessage& m);
    void OnNcMouseLeave();
    bool OnOwnerDraw(TMessage& m);
    bool OnCtlColorDlg(TMessage& m);
    bool OnSetText(TMessage& m);
    void OnActivate(TMessage& m);
    void OnSize(TMessage& m);
    bool OnQueryActive(TMessage& m);
    bool OnQuerySkinned(TMessage& m);
};

// A form of the program.
class TSkinWindowVCL : public TSkinWindow {
public:
    TSkinWindowVCL(TCustomForm* form, bool activated, ISkinWindowHost* engine);

protected:
    void SetSkinState(bool on) override;
    void CallOwn(TMessage& m) override;
    void Measure() override;
    void SkinControls() override;
    bool HasFrame() const override;
    HICON IconHandle() const override;
    bool HasIcon() const override;
    bool HasClose() const override;
    bool HasMaximize() const override;
    bool HasMinimize() const override;
    bool HasHelp() const override;
    bool SkinAtOnce() const override { return true; }
    bool SuppressSystemActivation() const override { return true; }
    void AfterMessage(TMessage& m) override;
    void AdjustAfterSize() override;
    void Attach() override;
    void Detach() override;
    void MoveBounds(const RECT& r) override;

private:
    void SlotProc(TMessage& m);
    TCustomForm* form_;
    TWndMethod oldWindowProc_;
    unsigned int savedColor_ = 0;
};

// Any other window: message boxes and system dialog boxes.
class TSkinWindowWnd : public TSkinWindow {
public:
    TSkinWindowWnd(HWND wnd, bool activated, ISkinWindowHost* engine);
    // The skinned window of a window this class subclassed, or null.
    static TSkinWindowWnd* Of(HWND wnd);

protected:
    void SetSkinState(bool on) override;
    void CallOwn(TMessage& m) override;
    void Measure() override;
    void SkinControls() override;
    bool BeforeMessage(TMessage& m) override;
    void AdjustAfterSize() override;
    void Attach() override;
    void Detach() override;

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Puts the window's menu back, or frees it when the window is going without it.
    void GiveMenuBack();
    WNDPROC oldProc_ = nullptr;
    bool heightRestored_ = false;
    // The window's own menu, taken off while the skin draws its frame; the window
    // no longer frees it, so the skin does.
    HMENU removedMenu_ = nullptr;
};
