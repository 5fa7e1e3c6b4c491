// A form of the program wearing the skin's frame: it takes over the form's
// WindowProc slot and keeps the form's client area at its size.
#include "framework/Forms.h"
#include "skin/controls/SkinControl.h"
#include "skin/frame/SkinWindow.h"

#include <algorithm>

TSkinWindowVCL::TSkinWindowVCL(TCustomForm* form, bool activated, ISkinWindowHost* engine)
    : TSkinWindow(form->Handle(), activated, engine), form_(form) {
    enabled_ = !(engine->OptOutTag() != 0 && form->Tag() == engine->OptOutTag());
}

void TSkinWindowVCL::Attach() {
    if (!form_ || TWinControl::FindControl(wnd_) != form_) throw Exception("SkinEngine: Skinning form failed!");
    oldWindowProc_ = form_->WindowProc;
    form_->WindowProc = [this](TMessage& m) { SlotProc(m); };
}

void TSkinWindowVCL::Detach() {
    if (oldWindowProc_) form_->WindowProc = oldWindowProc_;
    oldWindowProc_ = nullptr;
}

void TSkinWindowVCL::SlotProc(TMessage& m) {
    if (m.Msg == WM_DESTROY) {
        // The form is going: this skinned window lets go of it first (which frees it).
        const TWndMethod own = oldWindowProc_;
        ISkinWindowHost* engine = engine_;
        const HWND wnd = wnd_;
        destroying_ = true;
        engine->UnskinWindow(wnd);
        own(m);
        return;
    }
    WndProc(m);
}

void TSkinWindowVCL::CallOwn(TMessage& m) {
    // A copy: the form's procedure may free this object (a released form lets go of its skin).
    const TWndMethod own = oldWindowProc_;
    own(m);
}

void TSkinWindowVCL::Measure() {
    MeasureFrame();
    // A form's frame follows its border style rather than the style bits of the moment.
    shape_.hasTitle = HasFrame();
    shape_.hasBorder = form_->BorderStyle() != TFormBorderStyle::bsNone && shape_.hasTitle;
}

void TSkinWindowVCL::MoveBounds(const RECT& r) {
    // The form keeps its bounds in step; the window is placed as well in case they already matched.
    form_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    TSkinWindow::MoveBounds(r);
}

void TSkinWindowVCL::SetSkinState(bool on) {
    if (destroying_ || engine_->Destroying()) return;
    for (auto& c : controls_) {
        try {
            if (on) c->Restyle();
            c->Repaint();
        } catch (...) {
            // A skinner that fails leaves its control to itself.
        }
    }
    const DWORD style = GetWindowLongA(wnd_, GWL_STYLE);
    if (on) {
        // The skin draws its own buttons and opens its own system menu.
        SetWindowLongA(wnd_, GWL_STYLE, style & ~WS_SYSMENU);
        savedColor_ = form_->Color();
        form_->SetColor(engine_->Metrics().formColor);
    } else {
        SetWindowLongA(wnd_, GWL_STYLE, style | (savedStyle_ & WS_SYSMENU));
        form_->SetColor(savedColor_);
        SetWindowRgn(wnd_, nullptr, TRUE);
    }
    KeepClientSize(unskinnedClient_);
}

void TSkinWindowVCL::SkinControls() {
    if (engine_->IsSkinning()) engine_->SkinFormControls(form_, this);
}

bool TSkinWindowVCL::HasFrame() const {
    return (GetWindowLongA(wnd_, GWL_STYLE) & WS_CHILD) == 0 && form_->BorderStyle() != TFormBorderStyle::bsNone;
}

HICON TSkinWindowVCL::IconHandle() const { return form_->Icon() ? form_->Icon() : engine_->ApplicationIcon(); }

bool TSkinWindowVCL::HasIcon() const {
    const TFormBorderStyle b = form_->BorderStyle();
    return (b == TFormBorderStyle::bsSingle || b == TFormBorderStyle::bsSizeable) &&
           (form_->BorderIcons() & biSystemMenu);
}

bool TSkinWindowVCL::HasClose() const { return (form_->BorderIcons() & biSystemMenu) != 0; }

namespace {

bool AllowsMinMax(TFormBorderStyle b) {
    return b != TFormBorderStyle::bsDialog && b != TFormBorderStyle::bsToolWindow &&
           b != TFormBorderStyle::bsSizeToolWin;
}

}  // namespace

bool TSkinWindowVCL::HasMaximize() const {
    const unsigned icons = form_->BorderIcons();
    return (icons & biMaximize) && (icons & biSystemMenu) && AllowsMinMax(form_->BorderStyle());
}

bool TSkinWindowVCL::HasMinimize() const {
    const unsigned icons = form_->BorderIcons();
    return (icons & biMinimize) && (icons & biSystemMenu) && AllowsMinMax(form_->BorderStyle());
}

bool TSkinWindowVCL::HasHelp() const { return (form_->BorderIcons() & biHelp) != 0; }

void TSkinWindowVCL::AdjustAfterSize() {
    if (!IsZoomed(wnd_)) return;
    // Maximised, the frame's edges lie just outside the work area, as the system's do.
    MONITORINFO info{sizeof info, {}, {}, 0};
    GetMonitorInfoA(MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &info);
    RECT target = info.rcWork;
    target.bottom -= 1;
    InflateRect(&target, 4, 4);
    RECT window;
    GetWindowRect(wnd_, &window);
    if (window.right - window.left < target.right - target.left ||
        window.bottom - window.top < target.bottom - target.top)
        SetWindowPos(wnd_, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinWindowVCL::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_GETMINMAXINFO: {
        // Never smaller than the frame can be drawn whole: the title, its buttons and a little caption.
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        const TSkinMetrics& metrics = engine_->Metrics();
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, metrics.titleHeight + 6);
        if (!activated_) info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, metrics.minFrameWidth);
        break;
    }
    case WM_SHOWWINDOW:
        // The main form's first showing brings every other form of the program under the skin.
        if (m.WParam && Application && Application->MainForm() == form_) engine_->MainFormShown();
        break;
    }
}
