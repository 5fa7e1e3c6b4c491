// Scroll windows: the flat border, and the control's own scroll bars painted
// over from the skin's pieces. Where the system draws a bar itself (while the
// thumb is dragged, after a scroll), the skin's drawing follows at once.
#include "framework/StdCtrls.h"
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <algorithm>

namespace {

bool BarVisible(const SCROLLBARINFO& info) {
    return !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) &&
           info.rcScrollBar.right > info.rcScrollBar.left && info.rcScrollBar.bottom > info.rcScrollBar.top;
}

}  // namespace

bool TSkinScrollWinControl::DrawsScrollBars() const {
    HWND wnd = GetHandle();
    char name[32] = "";
    GetClassNameA(wnd, name, sizeof name);
    const bool isEdit = dynamic_cast<TCustomEdit*>(Control()) != nullptr || lstrcmpiA(name, "EDIT") == 0;
    const bool multiLine = (GetWindowLongA(wnd, GWL_STYLE) & ES_MULTILINE) != 0;
    return SkinsScrollBars(Control()->ClassName(), isEdit, multiLine, look_->SkinsScrollBars());
}

void TSkinScrollWinControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_SIZE:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_SYSCOMMAND:
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
    case CM_SHOWINGCHANGED:
    case SBM_SETSCROLLINFO:
        Paint();
        return;
    }
    TSkinBorderWinControl::AfterMessage(m);
}

void TSkinScrollWinControl::Paint() {
    TSkinBorderWinControl::Paint();
    HWND wnd = GetHandle();
    if (!wnd || !IsWindowVisible(wnd) || !DrawsScrollBars()) return;
    RECT window{};
    GetWindowRect(wnd, &window);
    TWindowDC dc(wnd, true);
    PaintBar(dc.Get(), window, OBJID_VSCROLL);
    PaintBar(dc.Get(), window, OBJID_HSCROLL);
    SCROLLBARINFO v{}, h{};
    v.cbSize = h.cbSize = sizeof(SCROLLBARINFO);
    if (GetScrollBarInfo(wnd, OBJID_VSCROLL, &v) && GetScrollBarInfo(wnd, OBJID_HSCROLL, &h) && BarVisible(v) &&
        BarVisible(h)) {
        // The corner between two bars.
        RECT corner{v.rcScrollBar.left, h.rcScrollBar.top, v.rcScrollBar.right, h.rcScrollBar.bottom};
        OffsetRect(&corner, -window.left, -window.top);
        FillSolid(dc.Get(), corner, look_->ControlLook().scrollBarColor);
    }
}

void TSkinScrollWinControl::PaintBar(HDC dc, const RECT& window, LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(GetHandle(), object, &info) || !BarVisible(info)) return;
    const TSkinControlLook& look = look_->ControlLook();
    const bool vertical = object == OBJID_VSCROLL;
    RECT bar = info.rcScrollBar;
    OffsetRect(&bar, -window.left, -window.top);
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    const int length = vertical ? height : width;
    // The arrow buttons are as long as the system makes them (not every system reports it in the bar's information).
    const int button = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
    const bool disabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
    // Parts along the bar: 0 the bar, 1 the first arrow, 2 the page area before the thumb,
    // 3 the thumb, 4 the page area after it, 5 the second arrow.
    const auto along = [&](int from, int to) {
        return vertical ? RECT{0, from, width, to} : RECT{from, 0, to, height};
    };
    const auto frame = [&](const TSkinImage& image, int n, int k) {
        return vertical ? StripFrame(image.Width(), image.Height(), n, k)
                        : StackedFrame(image.Width(), image.Height(), n, k);
    };
    const TSkinImage& first = vertical ? look.scrollUp : look.scrollLeft;
    const TSkinImage& second = vertical ? look.scrollDown : look.scrollRight;
    const TSkinImage& track = vertical ? look.scrollTrack : look.scrollHTrack;
    const TSkinImage& thumb = vertical ? look.scrollThumb : look.scrollHThumb;
    const auto pressed = [&](int part) { return (info.rgstate[part] & STATE_SYSTEM_PRESSED) != 0; };
    const auto hot = [&](int part) { return (info.rgstate[part] & STATE_SYSTEM_HOTTRACKED) != 0; };
    ComposeOffscreen(dc, bar.left, bar.top, width, height, [&](HDC off) {
        FillSolid(off, RECT{0, 0, width, height}, look.scrollBarColor);
        const RECT whole = along(button, length - button);
        const RECT trackSource = frame(track, 2, pressed(2) || pressed(4) ? 2 : 1);
        if (vertical)
            DrawThreeSliceVertical(off, track, trackSource, whole, false);
        else
            DrawThreeSlice(off, track, trackSource, whole, false);
        DrawPiece(off, first, frame(first, 4, ScrollButtonFrame(pressed(1), hot(1), disabled)), along(0, button),
                  false);
        DrawPiece(off, second, frame(second, 4, ScrollButtonFrame(pressed(5), hot(5), disabled)),
                  along(length - button, length), false);
        if (!disabled && info.xyThumbBottom > info.xyThumbTop) {
            const RECT knob = along(info.xyThumbTop, info.xyThumbBottom);
            const RECT source = frame(thumb, 3, pressed(3) ? 3 : hot(3) ? 2 : 1);
            if (vertical)
                DrawThreeSliceVertical(off, thumb, source, knob, thumb.Transparent());
            else
                DrawThreeSlice(off, thumb, source, knob, thumb.Transparent());
        }
    });
}
