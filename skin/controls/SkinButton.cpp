// Framework push buttons drawn from "SKIN2_BUTTON". The control is kept from
// ever seeing a press (it would draw its own pushed face), so the skinner
// generates the clicks itself.
#include "framework/Forms.h"
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinLook.h"
#include "skin/controls/SkinStdCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The nine-sliced frames over their background, kept by what they are made of:
// a window's buttons share a few sizes and states, and a stretched, masked
// frame costs several times more to draw than to copy.
class TFaceCache {
public:
    void Draw(HDC dc, const TSkinControlLook& look, const RECT& client, int frame, COLORREF background) {
        const int width = client.right - client.left, height = client.bottom - client.top;
        const Key key{&look, look.generation, frame, width, height, background, look.buttonTrans};
        auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
        if (it == entries_.end()) {
            if (entries_.size() >= kLimit) entries_.erase(entries_.begin());
            entries_.push_back(Entry{key, std::make_unique<TOffscreen>()});
            it = entries_.end() - 1;
            if (!it->face->Resize(width, height)) {
                entries_.pop_back();
                Compose(dc, look, client, frame, background);
                return;
            }
            Compose(it->face->Dc(), look, RECT{0, 0, width, height}, frame, background);
        }
        it->face->CopyTo(dc, client.left, client.top, width, height);
    }

private:
    static void Compose(HDC dc, const TSkinControlLook& look, const RECT& r, int frame, COLORREF background) {
        FillSolid(dc, r, background);
        DrawNineSlice(dc, look.button, StripFrame(look.button.Width(), look.button.Height(), 3, frame), r,
                      look.buttonTrans);
    }
    struct Key {
        const TSkinControlLook* look;
        unsigned generation;
        int frame, width, height;
        COLORREF background;
        bool masked;
        bool operator==(const Key& o) const {
            return look == o.look && generation == o.generation && frame == o.frame && width == o.width &&
                   height == o.height && background == o.background && masked == o.masked;
        }
    };
    struct Entry {
        Key key;
        std::unique_ptr<TOffscreen> face;
    };
    static constexpr std::size_t kLimit = 24;
    std::vector<Entry> entries_;
};

}  // namespace

void PaintButtonFace(HDC dc, const TSkinControlLook& look, const RECT& client, const TButtonFace& face) {
    static TFaceCache cache;
    cache.Draw(dc, look, client, face.frame, face.background);
    if (face.focused) {
        const RECT focus = ButtonFocusRect(client, face.pressed);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        if (!RectEmpty(focus)) DrawFocusRect(dc, &focus);
    }
    if (face.caption.empty()) return;
    SelectObjectScope font(dc, face.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, face.enabled ? face.textColor : RGB(0x80, 0x80, 0x80));
    RECT text = ButtonCaptionRect(client, face.pressed);
    const int length = static_cast<int>(face.caption.size());
    const UINT prefix = face.hidePrefix ? DT_HIDEPREFIX : 0;
    if (face.wordWrap) {
        // Word-wrapped captions are centred as a block: measured first, then placed.
        RECT measured = text;
        DrawTextA(dc, face.caption.c_str(), length, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT | prefix);
        const int height = measured.bottom - measured.top;
        text.top += (text.bottom - text.top - height) / 2;
        DrawTextA(dc, face.caption.c_str(), length, &text, DT_CENTER | DT_WORDBREAK | prefix);
    } else {
        DrawTextA(dc, face.caption.c_str(), length, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    }
}

bool TSkinButton::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
        return m.WParam == VK_RETURN || m.WParam == VK_SPACE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The pressed bit and the repaint follow in AfterMessage.
        return true;
    case BM_SETSTATE:
        // The mouse is held on the control's window, so the system's button follows a drag
        // and pushes itself when the mouse comes back over it; having never seen the press,
        // it would stay pushed after the release. The skinner's press owns the state.
        return clicks_.MousePressed();
    }
    return false;
}

void TSkinButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_CHAR:
        if (clicks_.Char(m.WParam)) {
            state_ &= ~kSkinStatePressed;
            Paint();
            ClickNow();
        }
        return;
    case WM_KEYDOWN:
        if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) clicks_.KeyDown(static_cast<WORD>(m.WParam));
        break;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            state_ &= ~kSkinStatePressed;
            Paint();
            if (clicks_.KeyUp(VK_SPACE, GetFocus() == GetHandle(), IsEnabled())) ClickNow();
            return;
        }
        break;
    case WM_LBUTTONDOWN: {
        auto win = dynamic_cast<TWinControl*>(Control());
        TCustomForm* form =
            win ? dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetAncestor(GetHandle(), GA_ROOT))) : nullptr;
        if (win && form && GetActiveWindow() == form->Handle() && win->CanFocus() && GetFocus() != GetHandle())
            win->SetFocus();
        clicks_.MouseDown();
        // The release comes back here wherever it happens, as it does to the system's own button.
        SetCapture(GetHandle());
        state_ |= kSkinStatePressed;
        Paint();
        return;
    }
    case WM_MOUSEMOVE:
        // While held, the button shows pressed only with the mouse over it.
        if (clicks_.MousePressed()) {
            const int was = state_;
            state_ = Over(m.LParam) ? state_ | kSkinStatePressed : state_ & ~kSkinStatePressed;
            if (state_ != was) Paint();
        }
        break;
    case WM_LBUTTONUP: {
        const bool clicks = clicks_.MouseUp(Over(m.LParam));
        // Letting the mouse go reports a capture change, which must find the press already settled.
        if (GetCapture() == GetHandle()) ReleaseCapture();
        state_ &= ~kSkinStatePressed;
        Paint();
        if (clicks) ClickNow();
        return;
    }
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the press is dropped.
        if (reinterpret_cast<HWND>(m.LParam) != GetHandle() && clicks_.MousePressed()) {
            clicks_.Forget();
            state_ &= ~kSkinStatePressed;
            Paint();
        }
        return;
    case WM_LBUTTONDBLCLK:
        state_ |= kSkinStatePressed;
        Paint();
        if (clicks_.DoubleClick()) ClickNow();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETSTATE:
    case BM_SETSTYLE:
        // The system control draws its own face on these; the skin's goes over it.
        Paint();
        return;
    }
    TSkinControlVCL::AfterMessage(m);
}

bool TSkinButton::Over(LPARAM point) const {
    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    RECT client{};
    GetClientRect(GetHandle(), &client);
    return PtInRect(&client, p) != FALSE;
}

void TSkinButton::MouseLeave() {
    // A press holds the mouse until its release, which alone decides.
    if (GetCapture() != GetHandle()) clicks_.Forget();
}

void TSkinButton::ClickNow() {
    // The click may close the button's form: nothing of this skinner is touched after it.
    if (IsEnabled()) Control()->Click();
}

void TSkinButton::Paint() { PaintFace(); }

void TSkinButton::PaintOn(HDC dc) {
    TControl* button = Control();
    const TSkinControlLook& look = look_->ControlLook();
    TButtonFace face;
    face.frame = ButtonFrame(state_, IsEnabled());
    face.pressed = (state_ & kSkinStatePressed) != 0;
    face.focused = GetFocus() == GetHandle();
    face.enabled = IsEnabled();
    face.background = button->Parent() ? ColorToRGB(button->Parent()->Color()) : look.formColor;
    face.textColor = look_->KeepsButtonFontColor() ? ColorToRGB(button->Font().Color()) : look.buttonFont;
    face.font = button->Font().Handle();
    face.caption = button->Caption();
    face.wordWrap = (GetWindowLongA(GetHandle(), GWL_STYLE) & BS_MULTILINE) != 0;
    const RECT client = button->ClientRect();
    ComposeOffscreen(dc, 0, 0, client.right, client.bottom, [&](HDC off) { PaintButtonFace(off, look, client, face); });
}
