// Check boxes and labels wear the skin's control font colour; a check box's
// own box is covered by the skin's. The kept colour comes back whenever the
// skin is switched off.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <algorithm>

void TSkinFontColorControl::Init() {
    keptColor_ = Control()->Font().Color();
    keptParentFont_ = Control()->ParentFont();
}

void TSkinFontColorControl::Install() {
    TControl* control = Control();
    if (look_->IsSkinning() && !look_->KeepsButtonFontColor()) {
        control->Font().SetColor(look_->ControlLook().controlFont);
        control->FontChanged();
        changed_ = true;
    } else {
        Restore();
    }
}

void TSkinFontColorControl::Restore() {
    if (!changed_) return;
    changed_ = false;
    TControl* control = Control();
    control->Font().SetColor(keptColor_);
    control->FontChanged();
    if (keptParentFont_) control->SetParentFont(true);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDBLCLK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_MOUSEMOVE:
        // The control has drawn its own box on these.
        Paint();
        break;
    }
    TSkinFontColorControl::AfterMessage(m);
}

void TSkinCheckBox::Paint() {
    HWND wnd = GetHandle();
    if (!wnd || !IsWindowVisible(wnd)) return;
    const TSkinControlLook& look = look_->ControlLook();
    const TSkinImage& strip = look.checkBox;
    const RECT frame = StripFrame(strip.Width(), strip.Height(), 6, 1);
    const int boxWidth = std::max<int>(13, frame.right - frame.left);
    const int boxHeight = std::max<int>(13, frame.bottom - frame.top);
    const LRESULT check = SendMessageA(wnd, BM_GETCHECK, 0, 0);
    const TCheckState state = check == BST_CHECKED         ? TCheckState::Checked
                              : check == BST_INDETERMINATE ? TCheckState::Grayed
                                                           : TCheckState::Unchecked;
    const DWORD style = GetWindowLongA(wnd, GWL_STYLE);
    const bool rightToLeft = (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    const bool markOnLeft = ((style & BS_LEFTTEXT) == 0) != rightToLeft;
    RECT client{};
    GetClientRect(wnd, &client);
    const int x = CheckBoxLeft(markOnLeft, client.right, boxWidth);
    const int y = (client.bottom - boxHeight) / 2;
    // The framework paints a check box on its parent's colour; the box keeps to it.
    TControl* control = Control();
    const COLORREF background = ColorToRGB(control->Parent() ? control->Parent()->Color() : control->Color());
    const RECT source = StripFrame(strip.Width(), strip.Height(), 6, CheckBoxFrame(state, IsEnabled()));
    TWindowDC dc(wnd);
    ComposeOffscreen(dc.Get(), x, y, boxWidth, boxHeight, [&](HDC off) {
        FillSolid(off, RECT{0, 0, boxWidth, boxHeight}, background);
        DrawPiece(off, strip, source, RECT{0, 0, source.right - source.left, source.bottom - source.top},
                  look.checkBoxTrans);
    });
}
