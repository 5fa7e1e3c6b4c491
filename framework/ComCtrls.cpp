#include "framework/ComCtrls.h"

#include "framework/Exception.h"

void InitCommonControlClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

// --------------------------------------------------------------- TImageList

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), handle_(ImageList_Create(width, height, ILC_COLOR32, 32, 8)) {
    InitCommonControlClasses();
    if (!handle_) throw Exception("Cannot create image list");
}

TImageList::~TImageList() { ImageList_Destroy(handle_); }

int TImageList::Add(HBITMAP image) { return ImageList_Add(handle_, image, nullptr); }

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    InitCommonControlClasses();
    SetClickEvents(false);
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.superclassOf = TRACKBAR_CLASSA;
    // Without automatic ticks the bar shows its two end ticks only.
    params.style |= TBS_HORZ | TBS_BOTTOM | TBS_FIXEDLENGTH;
}

void TTrackBar::ApplySettings() {
    if (!HandleAllocated()) return;
    HWND wnd = Handle();
    SendMessageA(wnd, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(wnd, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(wnd, TBM_SETTHUMBLENGTH, thumbLength_, 0);
    SendMessageA(wnd, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    ApplySettings();
}

void TTrackBar::SetThumbLength(int length) {
    thumbLength_ = length;
    ApplySettings();
}

void TTrackBar::SetPosition(int position) {
    position = std::max(min_, std::min(max_, position));
    if (position == position_) return;
    position_ = position;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CREATE:
        TWinControl::WndProc(m);
        ApplySettings();
        return;
    case CN_HSCROLL:
        SetPosition(static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0)));
        return;
    }
    TWinControl::WndProc(m);
}

// -------------------------------------------------------------- TToolButton

TToolButton::TToolButton(TComponent* owner) : TControl(owner) {}

// ----------------------------------------------------------------- TToolBar

namespace {
constexpr int kFirstCommand = 100;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    InitCommonControlClasses();
    SetClickEvents(false);
    SetBounds(0, 0, 150, 29);
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.superclassOf = TOOLBARCLASSNAMEA;
    // The bar is placed by its parent, not by the system's own layout.
    params.style |= TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TToolBar::SetButtonSize(int width, int height) {
    buttonWidth_ = width;
    buttonHeight_ = height;
}

void TToolBar::AddButton(TToolButton* button, int separatorWidth) {
    buttons_.push_back({button, separatorWidth});
    if (HandleAllocated()) CreateButtons();
}

void TToolBar::CreateButtons() {
    HWND wnd = Handle();
    while (SendMessageA(wnd, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(wnd, TB_DELETEBUTTON, 0, 0);
    SendMessageA(wnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (images_) SendMessageA(wnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TToolButton* b = buttons_[i].button;
        TBBUTTON tb{};
        tb.idCommand = kFirstCommand + static_cast<int>(i);
        tb.fsState = TBSTATE_ENABLED;
        if (b->Style() == TToolButtonStyle::tbsSeparator) {
            tb.iBitmap = buttons_[i].separatorWidth;
            tb.fsStyle = BTNS_SEP;
        } else {
            tb.iBitmap = b->ImageIndex();
            tb.fsStyle = BTNS_BUTTON;
            tb.iString = reinterpret_cast<INT_PTR>(b->Caption().c_str());
        }
        SendMessageA(wnd, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
    }
    SendMessageA(wnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    // The tool tips show each button's hint.
    if (HWND tips = reinterpret_cast<HWND>(SendMessageA(wnd, TB_GETTOOLTIPS, 0, 0))) {
        for (size_t i = 0; i < buttons_.size(); ++i) {
            TTTOOLINFOA info{};
            info.cbSize = sizeof info;
            info.hwnd = wnd;
            info.uId = kFirstCommand + i;
            info.lpszText = const_cast<char*>(buttons_[i].button->Hint().c_str());
            SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
}

void TToolBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: {
        // A flat bar is transparent: it would ask its parent to erase, and a
        // form paints its background only when it paints itself.
        RECT r;
        GetClientRect(Handle(), &r);
        BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
        m.Result = 1;
        return;
    }
    case WM_CREATE:
        TWinControl::WndProc(m);
        if (m.Result != -1) CreateButtons();
        return;
    case CN_COMMAND: {
        const size_t index = LOWORD(m.WParam) - kFirstCommand;
        if (index < buttons_.size()) buttons_[index].button->Click();
        return;
    }
    }
    TWinControl::WndProc(m);
}
