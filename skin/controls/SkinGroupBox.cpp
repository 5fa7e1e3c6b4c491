// Group boxes: a flat one-pixel frame whose top line the caption interrupts.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

void TSkinGroupBox::Paint() { PaintFace(); }

void TSkinGroupBox::PaintOn(HDC dc) {
    TControl* box = Control();
    const TSkinControlLook& look = look_->ControlLook();
    const COLORREF background = ColorToRGB(box->Color());
    const int width = box->Width(), height = box->Height();
    const bool rightToLeft = (GetWindowLongA(GetHandle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    ComposeOffscreen(dc, 0, 0, width, height, [&](HDC off) {
        FillSolid(off, RECT{0, 0, width, height}, background);
        SelectObjectScope font(off, box->Font().Handle());
        SIZE zero{};
        GetTextExtentPoint32A(off, "0", 1, &zero);
        const RECT frame = GroupBoxFrame(width, height, zero.cy);
        // The frame's corners are (left, top) and (right, bottom) inclusive.
        FrameSolid(off, RECT{frame.left, frame.top, frame.right + 1, frame.bottom + 1}, look.controlBorder);
        const std::string& caption = box->Caption();
        if (!caption.empty()) {
            SIZE extent{};
            GetTextExtentPoint32A(off, caption.c_str(), static_cast<int>(caption.size()), &extent);
            SetBkMode(off, OPAQUE);
            SetBkColor(off, background);
            SetTextColor(off, look.controlFont);
            TextOutA(off, GroupBoxCaptionX(width, extent.cx, rightToLeft), 0, caption.c_str(),
                     static_cast<int>(caption.size()));
        }
        // The labels inside have no windows: the face drawn here is theirs to draw on.
        if (auto container = dynamic_cast<TWinControl*>(box)) container->PaintControls(off, RECT{0, 0, width, height});
    });
}
