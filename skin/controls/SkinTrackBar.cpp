// Track bars: the skin's channel, selection line, slider, ticks and focus
// rectangle, painted in place of the control's own drawing. The control still
// lays the bar out: the channel and thumb rectangles are asked of it.
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <commctrl.h>

#include <vector>

namespace {

// A rectangle given along and across the bar, in the window's coordinates.
RECT Oriented(bool vertical, int alongFrom, int alongTo, int acrossFrom, int acrossTo) {
    return vertical ? RECT{acrossFrom, alongFrom, acrossTo, alongTo} : RECT{alongFrom, acrossFrom, alongTo, acrossTo};
}

}  // namespace

void TSkinTrackBar::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
        Paint();
        return;
    }
    TSkinControlVCL::AfterMessage(m);
}

void TSkinTrackBar::Paint() { PaintFace(); }

void TSkinTrackBar::PaintOn(HDC dc) {
    HWND wnd = GetHandle();
    const TSkinControlLook& look = look_->ControlLook();
    const DWORD style = GetWindowLongA(wnd, GWL_STYLE);
    const bool vertical = (style & TBS_VERT) != 0;
    RECT client{}, channel{}, thumb{};
    GetClientRect(wnd, &client);
    SendMessageA(wnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    // The control reports the channel as if the bar were horizontal.
    if (vertical) channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    SendMessageA(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int alongStart = vertical ? channel.top : channel.left;
    const int alongEnd = vertical ? channel.bottom : channel.right;
    const int thumbFrom = vertical ? thumb.left : thumb.top;
    const int thumbTo = vertical ? thumb.right : thumb.bottom;

    TSpan selection;
    if (style & TBS_ENABLESELRANGE) {
        const int selStart = static_cast<int>(SendMessageA(wnd, TBM_GETSELSTART, 0, 0));
        const int selEnd = static_cast<int>(SendMessageA(wnd, TBM_GETSELEND, 0, 0));
        const int maximum = static_cast<int>(SendMessageA(wnd, TBM_GETRANGEMAX, 0, 0));
        const int minimum = static_cast<int>(SendMessageA(wnd, TBM_GETRANGEMIN, 0, 0));
        const int travel = alongEnd - alongStart;
        const auto at = [&](int value) {
            return maximum > minimum ? alongStart + MulDiv(value - minimum, travel, maximum - minimum) : alongStart;
        };
        selection = SelectionSpan(selStart, selEnd, maximum, at(selStart), at(selEnd), alongStart, alongEnd);
    }
    std::vector<int> interior;
    if (!(style & TBS_NOTICKS)) {
        const int count = static_cast<int>(SendMessageA(wnd, TBM_GETNUMTICS, 0, 0));
        for (int i = 0; i < count - 2; ++i) {
            const int p = static_cast<int>(SendMessageA(wnd, TBM_GETTICPOS, i, 0));
            if (p >= 0) interior.push_back(p);
        }
    }
    const bool focused = GetFocus() == wnd;

    ComposeOffscreen(dc, 0, 0, client.right, client.bottom, [&](HDC off) {
        FillSolid(off, client, look.formColor);
        const TSkinImage& bar = vertical ? look.trackBarVertical : look.trackBar;
        RECT groove = channel;
        if (vertical) {
            const int x = channel.left + (channel.right - channel.left - bar.Width()) / 2 + 2;
            groove = RECT{x, channel.top, x + bar.Width(), channel.bottom};
            DrawThreeSliceVertical(off, bar, RECT{0, 0, bar.Width(), bar.Height()}, groove, true);
        } else {
            const int y = channel.top + (channel.bottom - channel.top - bar.Height()) / 2;
            groove = RECT{channel.left, y, channel.right, y + bar.Height()};
            DrawThreeSlice(off, bar, RECT{0, 0, bar.Width(), bar.Height()}, groove, true);
        }
        if (selection.first < selection.second) {
            const COLORREF colour = SelectionColor(bar.Pixel(bar.Width() / 2, bar.Height() / 2));
            const int centre = vertical ? (groove.left + groove.right) / 2 : (groove.top + groove.bottom) / 2;
            FillSolid(off, Oriented(vertical, selection.first, selection.second, centre - 1, centre + 1), colour);
        }
        DrawStretched(off, vertical ? look.trackVSlider : look.trackSlider, thumb, true);
        if (!(style & TBS_NOTICKS)) {
            const bool both = (style & TBS_BOTH) != 0;
            const bool before = both || (style & TBS_TOP);
            const bool after = both || !(style & TBS_TOP);
            for (int p : TickPositions(interior, alongStart, alongEnd)) {
                if (after) FillSolid(off, Oriented(vertical, p, p + 1, thumbTo + 1, thumbTo + 4), look.controlBorder);
                if (before)
                    FillSolid(off, Oriented(vertical, p, p + 1, thumbFrom - 4, thumbFrom - 1), look.controlBorder);
            }
        }
        if (focused) {
            RECT focus = TrackFocusRect(Oriented(vertical, alongStart, alongEnd, thumbFrom, thumbTo), vertical);
            IntersectRect(&focus, &focus, &client);
            SetTextColor(off, RGB(0, 0, 0));
            SetBkColor(off, RGB(255, 255, 255));
            if (!RectEmpty(focus)) DrawFocusRect(off, &focus);
        }
    });
}
