// The control skinners on a form of their own, by the messages that reach the
// controls and what the skinners answer: a push button never sees a press and
// is clicked by its skinner, a dialog box button posts its click to its parent
// and frees its timer, and switching the skin off gives every control its own
// colours and settings back exactly.
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinRules.h"
#include "skin/controls/SkinStdCtrl.h"
#include "skin/frame/SkinWindow.h"

#include "PlaceControl.h"
#include "Pump.h"
#include "SkinForms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

// The framework button's click event, journaled among its messages (no message has this number).
constexpr UINT CLICK = 0x10000;

// A message as it reached the control's own procedure (or, for WM_COMMAND, a dialog box).
struct Seen {
    UINT msg;
    WPARAM wParam = 0;
};
using Journal = std::vector<Seen>;

// What a button's pressing, clicking and painting are made of; focus and activation depend on the
// desktop's state and are left out.
#define NAMED(msg) \
    { msg, #msg }
const std::map<UINT, std::string> kWatched = {
    NAMED(WM_LBUTTONDOWN),    NAMED(WM_LBUTTONUP), NAMED(WM_LBUTTONDBLCLK), NAMED(WM_MOUSEMOVE), NAMED(CM_MOUSELEAVE),
    NAMED(WM_CAPTURECHANGED), NAMED(WM_KEYDOWN),   NAMED(WM_KEYUP),         NAMED(WM_CHAR),      NAMED(WM_TIMER),
    NAMED(BM_SETSTATE),       NAMED(BM_CLICK),     NAMED(WM_COMMAND),       NAMED(CN_COMMAND),   NAMED(WM_PAINT),
    NAMED(WM_ERASEBKGND),     {CLICK, "click"}};
#undef NAMED

Journal g_seen;

void Note(UINT msg, WPARAM wParam) {
    if (kWatched.count(msg)) g_seen.push_back({msg, wParam});
}

// Painting comes whenever the desktop shows a window again: it is left out of the journals of
// pressing and clicking and looked at on its own.
enum class Of { Pressing, Painting };

// A journal as lines of names, so that a mismatch shows as a diff.
std::string Text(const Journal& journal, Of what = Of::Pressing) {
    std::string text;
    for (const Seen& s : journal) {
        if ((s.msg == WM_PAINT || s.msg == WM_ERASEBKGND) != (what == Of::Painting)) continue;
        char wParam[16] = "";
        if (s.wParam) std::snprintf(wParam, sizeof wParam, " 0x%X", static_cast<unsigned>(s.wParam));
        text += kWatched.at(s.msg) + wParam + "\n";
    }
    return text;
}

// The journal so far, which starts again.
std::string Taken(Of what = Of::Pressing) {
    const std::string text = Text(g_seen, what);
    g_seen.clear();
    return text;
}

// A push button that journals the messages reaching its own window procedure, and its clicks.
class TRecordingButton : public TButton {
    KV90_CLASS(TRecordingButton, TButton)
public:
    explicit TRecordingButton(TComponent* owner) : TButton(owner) {
        OnClick = [](TObject*) { Note(CLICK, 0); };
    }

protected:
    void WndProc(TMessage& m) override {
        Note(m.Msg, m.WParam);
        TButton::WndProc(m);
    }
};

class ControlSkinnersTest : public testing::Test {
protected:
    void SetUp() override {
        form = MakeForm<TFrm_Owner>("controls", 320, 200);
        button = Place<TRecordingButton>(form, form, 10, 10, 75, 25, "OK");
        check = Place<TCheckBox>(form, form, 10, 50, 97, 17, "check");
        label = Place<TLabel>(form, form, 10, 80, 60, 14, "label");
        group = Place<TGroupBox>(form, form, 120, 50, 180, 80, "group");
        inner = Place<TLabel>(form, group, 20, 30, 60, 14, "指纹质量");
        bar = Place<TToolBar>(form, form, 0, 150, 320, 38);
        slider = Place<TTrackBar>(form, form, 120, 10, 180, 25);
        // Windows are made from the form down, as loading a form makes them.
        form->HandleNeeded();
        keptBarStyle = GetWindowLongA(bar->Handle(), GWL_STYLE);
        engine = SkinForm(form);
        ShowNow(form);
        g_seen.clear();
    }
    void TearDown() override { delete form; }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(button->Handle(), msg, wParam, lParam);
    }

    TFrm_Owner* form = nullptr;
    TRecordingButton* button = nullptr;
    TCheckBox* check = nullptr;
    TLabel* label = nullptr;
    TGroupBox* group = nullptr;
    TLabel* inner = nullptr;
    TToolBar* bar = nullptr;
    TTrackBar* slider = nullptr;
    TSkinEngine* engine = nullptr;
    LONG keptBarStyle = 0;
};

const LPARAM kInside = MAKELPARAM(10, 10), kOutside = MAKELPARAM(200, 10);

}  // namespace

TEST_F(ControlSkinnersTest, EachControlGetsTheSkinnerOfItsKind) {
    EXPECT_NE(nullptr, SkinnerOf<TSkinButton>(engine, form, button));
    EXPECT_NE(nullptr, SkinnerOf<TSkinCheckBox>(engine, form, check));
    EXPECT_NE(nullptr, SkinnerOf<TSkinLabel>(engine, form, label));
    EXPECT_NE(nullptr, SkinnerOf<TSkinToolBar>(engine, form, bar));
    EXPECT_NE(nullptr, SkinnerOf<TSkinTrackBar>(engine, form, slider));
}

TEST_F(ControlSkinnersTest, LabelsHaveNoWindowsYetAreDrawnInsideASkinnedGroupBoxAndLetGoWhenDestroyed) {
    ASSERT_NE(nullptr, SkinnerOf<TSkinGroupBox>(engine, form, group));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The skin draws the group box's whole face; the label's text must still be on it.
    const COLORREF background = PixelAt(group->Handle(), 100, 60);
    const std::vector<COLORREF> text = Pixels(group->Handle(), inner->BoundsRect());
    EXPECT_GT(std::count_if(text.begin(), text.end(), [&](COLORREF c) { return c != background; }), 30)
        << "the label inside the group box was painted over";

    TSkinLabel* skinner = SkinnerOf<TSkinLabel>(engine, form, inner);
    ASSERT_NE(nullptr, skinner);
    delete inner;
    EXPECT_TRUE(skinner->Detached());
    // Switching the skin off and on again must not reach the label that is gone;
    // the label still there gives its colour back and takes the skin's again.
    const TColor kept = label->Font().Color();
    engine->SetActive(false);
    EXPECT_NE(kept, label->Font().Color());
    engine->SetActive(true);
    Pump();
    EXPECT_EQ(kept, label->Font().Color());
}

TEST_F(ControlSkinnersTest, UnskinningTheWindowAloneGivesItsControlsTheirFontsBack) {
    ASSERT_NE(form->Font().Color(), label->Font().Color());
    engine->UnskinWindow(form->Handle());
    EXPECT_EQ(nullptr, engine->FindSkinWindow(form->Handle()));
    for (TControl* control : std::vector<TControl*>{label, check}) {
        EXPECT_EQ(form->Font().Color(), control->Font().Color()) << control->ClassName();
        EXPECT_TRUE(control->ParentFont()) << control->ClassName();
    }
}

TEST_F(ControlSkinnersTest, APushButtonPressedAndReleasedOverItSeesOnlyTheReleaseAndIsClickedOnce) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    EXPECT_EQ(GetFocus(), button->Handle()) << "a press focuses the button";
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(Text({{WM_LBUTTONUP}, {WM_CAPTURECHANGED}, {CLICK}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonReleasedOffItIsNotClicked) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kOutside);
    EXPECT_EQ(Text({{WM_LBUTTONUP}, {WM_CAPTURECHANGED}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonHoldsTheMouseWhilePressedAndADragOffItIsNotClicked) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    EXPECT_EQ(button->Handle(), GetCapture());
    button->Perform(CM_MOUSELEAVE);
    Send(WM_MOUSEMOVE, MK_LBUTTON, kOutside);
    EXPECT_EQ(0, SkinnerOf<TSkinButton>(engine, form, button)->State() & kSkinStatePressed)
        << "pressed while off the button";
    Send(WM_LBUTTONUP, 0, kOutside);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(Text({{CM_MOUSELEAVE}, {WM_MOUSEMOVE, MK_LBUTTON}, {WM_LBUTTONUP}, {WM_CAPTURECHANGED}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonDraggedOffAndBackIsClickedAndNotLeftPushed) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_MOUSEMOVE, MK_LBUTTON, kOutside);
    Send(WM_MOUSEMOVE, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(
        Text({{WM_MOUSEMOVE, MK_LBUTTON}, {WM_MOUSEMOVE, MK_LBUTTON}, {WM_LBUTTONUP}, {WM_CAPTURECHANGED}, {CLICK}}),
        Taken());
    // The system's button would be drawn stuck down once the skin is off.
    EXPECT_EQ(0, Send(BM_GETSTATE) & BST_PUSHED);
    engine->SetActive(false);
    EXPECT_EQ(0, Send(BM_GETSTATE) & BST_PUSHED);
}

TEST_F(ControlSkinnersTest, APushButtonsPressIsDroppedWhenAnotherWindowTakesTheMouse) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    SetCapture(form->Handle());
    ReleaseCapture();
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(Text({{WM_CAPTURECHANGED}, {WM_LBUTTONUP}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonIsClickedAtADoubleClickAndNotAtItsRelease) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(Text({{WM_LBUTTONUP}, {WM_CAPTURECHANGED}, {CLICK}, {CLICK}, {WM_LBUTTONUP}}), Taken());
}

TEST_F(ControlSkinnersTest, SpaceShowsAPushButtonPressedAndClicksItWhenReleased) {
    button->SetFocus();  // space clicks only the button that has the focus
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(kSkinStatePressed, SkinnerOf<TSkinButton>(engine, form, button)->State() & kSkinStatePressed);
    EXPECT_EQ("", Taken()) << "the control saw the key go down";
    Send(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(0, SkinnerOf<TSkinButton>(engine, form, button)->State() & kSkinStatePressed);
    EXPECT_EQ(Text({{WM_KEYUP, VK_SPACE}, {CLICK}}), Taken());
}

TEST_F(ControlSkinnersTest, ReturnClicksAPushButtonAtItsCharacterAndOtherKeysReachTheControl) {
    Send(WM_KEYDOWN, VK_RETURN);
    Send(WM_CHAR, VK_RETURN);
    Send(WM_KEYDOWN, 'A');
    EXPECT_EQ(Text({{WM_CHAR, VK_RETURN}, {CLICK}, {WM_KEYDOWN, 'A'}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonsPaintingIsTheSkinnersAlone) {
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(1, Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(screen)));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ("", Taken(Of::Painting)) << "the control painted or erased";
}

TEST_F(ControlSkinnersTest, ADisabledPushButtonIsNeverClicked) {
    button->SetEnabled(false);
    g_seen.clear();
    Send(WM_CHAR, VK_RETURN);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, kInside);
    EXPECT_EQ(Text({{WM_CHAR, VK_RETURN}}), Taken());
}

TEST_F(ControlSkinnersTest, APushButtonHandlesItsOwnPressWhileTheSkinIsOffAndIsSkinnedAgainWhenItIsBackOn) {
    engine->SetActive(false);
    g_seen.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(Text({{WM_LBUTTONDOWN, MK_LBUTTON},
                    {BM_SETSTATE, TRUE},
                    {WM_LBUTTONUP},
                    {BM_SETSTATE},
                    {WM_CAPTURECHANGED},
                    {CN_COMMAND},
                    {CLICK}}),
              Taken())
        << "the system button clicks itself";
    engine->SetActive(true);
    Pump();
    g_seen.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(Text({{WM_LBUTTONUP}, {WM_CAPTURECHANGED}, {CLICK}}), Taken());
}

TEST_F(ControlSkinnersTest, SwitchingTheSkinOffGivesColoursAndSettingsBackExactly) {
    const TSkinControlLook& look = engine->ControlLook();
    EXPECT_EQ(look.controlFont, check->Font().Color());
    EXPECT_EQ(look.controlFont, label->Font().Color());
    EXPECT_EQ(static_cast<TColor>(look.toolBarStart), bar->Color());

    engine->SetActive(false);
    Pump();
    EXPECT_EQ(static_cast<TColor>(colors::clWindowText), check->Font().Color());
    EXPECT_TRUE(check->ParentFont());
    EXPECT_EQ(static_cast<TColor>(colors::clWindowText), label->Font().Color());
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(keptBarStyle, GetWindowLongA(bar->Handle(), GWL_STYLE));
    EXPECT_EQ(form->Color(), bar->Color());

    engine->SetActive(true);
    Pump();
    EXPECT_EQ(look.controlFont, check->Font().Color());
    EXPECT_EQ(look.controlFont, label->Font().Color());
    EXPECT_EQ(static_cast<TColor>(look.toolBarStart), bar->Color());
    EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & TBSTYLE_FLAT);
}

TEST_F(ControlSkinnersTest, SwitchingTheSkinOffGivesTheToolBarBackOnlyTheStyleBitsTheSkinChanged) {
    // The toolkit hides and disables the bar while it is skinned; switching the skin off must
    // not bring back the visibility or the state it had when it was skinned.
    bar->SetVisible(false);
    EnableWindow(bar->Handle(), FALSE);
    engine->SetActive(false);
    const LONG style = GetWindowLongA(bar->Handle(), GWL_STYLE);
    EXPECT_EQ(0, style & WS_VISIBLE);
    EXPECT_EQ(WS_DISABLED, style & WS_DISABLED);
    EXPECT_EQ(keptBarStyle & ~(WS_VISIBLE | WS_DISABLED), style & ~(WS_VISIBLE | WS_DISABLED));
}

namespace {

// The colours of a control's client area, sampled on a grid.
std::vector<COLORREF> Face(HWND wnd) {
    const RECT client = ClientRect(wnd);
    return Pixels(wnd, RECT{1, 1, client.right, client.bottom}, Area::Client, 3);
}

}  // namespace

TEST_F(ControlSkinnersTest, KeyboardCuesShownOrHiddenLeaveTheSkinsFaceOnTop) {
    // A push button's face is the skin's alone, so every pixel of it must come back.
    const HWND wnd = button->Handle();
    for (const UINT msg : {WM_UPDATEUISTATE, WM_CHANGEUISTATE}) {
        SCOPED_TRACE(msg);
        const std::vector<COLORREF> skinned = Face(wnd);
        // What the system's own drawing of the control leaves over the skin's face.
        PaintBlack(wnd, ClientRect(wnd));
        ASSERT_NE(skinned, Face(wnd));
        // Alt pressed: the cues are shown, and the control has drawn itself.
        SendMessageA(wnd, msg, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
        UpdateWindow(wnd);  // a face drawn whole is drawn when the window paints
        EXPECT_EQ(skinned, Face(wnd)) << "the skin's face is not back after the control drew itself";
    }
}

namespace {

LRESULT CALLBACK RecordingParent(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) Note(msg, wParam);
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// A popup standing in for a dialog box, journaling the commands it is sent.
HWND MakeRecordingParent() {
    static const ATOM registered = [] {
        WNDCLASSA cls{};
        cls.lpfnWndProc = RecordingParent;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "KV90RecordingParent";
        return RegisterClassA(&cls);
    }();
    (void)registered;
    return CreateWindowA("KV90RecordingParent", "box", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                         nullptr, nullptr);
}

WNDPROC g_systemButton = nullptr;

LRESULT CALLBACK RecordingButton(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Note(msg, wParam);
    return CallWindowProcA(g_systemButton, wnd, msg, wParam, lParam);
}

// The box's OK button, journaling what the system's button is given (a skinner goes over this).
HWND MakeOkButton(HWND parent) {
    HWND wnd = CreateWindowA("BUTTON", "&OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 75, 23, parent,
                             reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    g_systemButton =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingButton)));
    return wnd;
}

}  // namespace

TEST_F(ControlSkinnersTest, ADialogButtonPostsItsClickToTheBoxOnReleaseOverIt) {
    HWND parent = MakeRecordingParent(), wnd = MakeOkButton(parent);
    TSkinWndButton skinner(engine, nullptr, wnd);
    skinner.Init();
    const LPARAM inside = MAKELPARAM(5, 5);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(kSkinStatePressed, skinner.State() & kSkinStatePressed);
    EXPECT_EQ(0u, SendMessageA(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) << "the control saw the press";
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
    Pump();
    EXPECT_EQ(Text({{WM_LBUTTONUP}}), Taken()) << "released off the button";
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageA(wnd, WM_LBUTTONUP, 0, inside);
    Pump();
    EXPECT_EQ(Text({{WM_LBUTTONUP}, {WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)}}), Taken());
    skinner.Detach();
    DestroyWindow(parent);
}

TEST_F(ControlSkinnersTest, ADialogButtonsTimerTakesTheHotFaceBackAndGoesWithItsSkinner) {
    HWND parent = MakeRecordingParent(), wnd = MakeOkButton(parent);
    {
        TSkinWndButton skinner(engine, nullptr, wnd);
        skinner.Init();
        // The hot face goes once the cursor is away at the next tick of the timer.
        SetCursorPos(5, 5);
        SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(kSkinStateOver, skinner.State() & kSkinStateOver);
        Pump(300);
        EXPECT_EQ(0, skinner.State());
        EXPECT_EQ(Text({{WM_MOUSEMOVE}}), Taken()) << "the ticks are the skinner's alone";
        skinner.Detach();
    }
    // The timer went with the skinner: there is none left to kill.
    EXPECT_FALSE(KillTimer(wnd, kSkinHoverTimer));
    DestroyWindow(parent);
}

TEST_F(ControlSkinnersTest, ADialogComboBoxGetsTheFlatBorderAndTheSkinsDropDownButton) {
    HWND parent = MakeRecordingParent();
    HWND wnd = CreateWindowA("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 120, 200, parent,
                             nullptr, nullptr, nullptr);
    SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    SendMessageA(wnd, CB_SETCURSEL, 0, 0);
    TSkinWndComboBox skinner(engine, nullptr, wnd, "COMBOBOX");
    skinner.Init();
    UpdateWindow(wnd);
    skinner.Paint();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
    const TSkinControlLook& look = engine->ControlLook();
    HDC dc = GetDC(wnd);
    RECT client{};
    GetClientRect(wnd, &client);
    EXPECT_EQ(look.controlBorder, GetPixel(dc, 0, 0));
    EXPECT_EQ(look.controlBorder, GetPixel(dc, client.right - 1, client.bottom / 2));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, 1, client.bottom / 2));
    const RECT& b = info.rcButton;
    EXPECT_EQ(look.controlBorder, GetPixel(dc, b.left, (b.top + b.bottom) / 2)) << "the line along the button";
    EXPECT_EQ(look.controlColor, GetPixel(dc, b.right - 2, b.top + 2));
    EXPECT_EQ(look.controlFont, GetPixel(dc, (b.left + b.right) / 2 - 1, (b.top + b.bottom) / 2)) << "the arrow";
    ReleaseDC(wnd, dc);
    skinner.Detach();
    DestroyWindow(parent);
}

namespace {

// Controls whose memory is never given back while the test runs: a control
// freed keeps its pages, with no access to them allowed, so that any later use
// of it (a property, its window procedure slot, a virtual call through it)
// faults at once and is counted here, whether or not the heap fills freed
// blocks. A touch is counted once per control; the pages are then opened again
// so that the code that touched them goes on as it would on a freed block.
class FreedControls {
public:
    FreedControls() : handler_(AddVectoredExceptionHandler(1, &FreedControls::OnFault)) { touches_ = 0; }
    ~FreedControls() {
        RemoveVectoredExceptionHandler(handler_);
        for (const Block& b : blocks_) VirtualFree(b.base, 0, MEM_RELEASE);
        blocks_.clear();
    }
    FreedControls(const FreedControls&) = delete;
    FreedControls& operator=(const FreedControls&) = delete;
    int Touches() const { return touches_; }

    static void* Allocate(std::size_t size) {
        void* base = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!base) throw std::bad_alloc();
        blocks_.push_back({static_cast<char*>(base), size, false});
        return base;
    }
    static void Free(void* base) {
        for (Block& b : blocks_)
            if (b.base == base) b.dead = Protect(b, PAGE_NOACCESS);
    }

private:
    struct Block {
        char* base;
        std::size_t size;
        bool dead;
    };
    static bool Protect(const Block& b, DWORD access) {
        DWORD was = 0;
        return VirtualProtect(b.base, b.size, access, &was) != FALSE;
    }
    static LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD& r = *info->ExceptionRecord;
        if (r.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r.NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
        const auto at = reinterpret_cast<const char*>(r.ExceptionInformation[1]);
        for (Block& b : blocks_) {
            if (!b.dead || at < b.base || at >= b.base + b.size) continue;
            ++touches_;
            b.dead = !Protect(b, PAGE_READWRITE);
            return EXCEPTION_CONTINUE_EXECUTION;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static inline int touches_ = 0;
    static inline std::vector<Block> blocks_;
    void* handler_;
};

// A control of class T whose memory, once freed, no one may touch (see FreedControls).
template <typename T>
class TFenced : public T {
public:
    using T::T;
    static void* operator new(std::size_t size) { return FreedControls::Allocate(size); }
    static void operator delete(void* base) { FreedControls::Free(base); }
};

// The ways a skinner can be let go of after its control is gone.
enum class LetGo { FormDestroyed, SkinSwitchedOff, WindowUnskinned, EngineDestroyed };

}  // namespace

TEST(SkinnerAfterItsControl, NeverTouchesTheFreedControlWhicheverWayItIsLetGo) {
    for (const LetGo route :
         {LetGo::FormDestroyed, LetGo::SkinSwitchedOff, LetGo::WindowUnskinned, LetGo::EngineDestroyed}) {
        SCOPED_TRACE(static_cast<int>(route));
        auto form = MakeForm<TFrm_Owner>("form", 320, 200, TFormBorderStyle::bsSizeable);
        // The image viewer's pieces, created in its order: the bar first, so its owner frees it first.
        auto bar = Place<TFenced<TToolBar>>(form, form, 0, 0, 320, 38);
        auto check = Place<TFenced<TCheckBox>>(form, form, 10, 50, 97, 17, "check");
        auto button = Place<TFenced<TButton>>(form, form, 10, 80, 75, 25, "OK");
        auto kept = Place<TCheckBox>(form, form, 10, 120, 97, 17, "kept");
        form->HandleNeeded();
        TSkinEngine* engine = SkinForm(form);
        ShowNow(form);
        ASSERT_NE(nullptr, engine->FindSkinWindow(form->Handle()));

        FreedControls freed;
        if (route == LetGo::FormDestroyed) {
            delete form;  // its components (the bar first) go before its window lets go of the skin
        } else {
            delete bar;
            delete check;
            delete button;
            switch (route) {
            case LetGo::SkinSwitchedOff:
                engine->SetActive(false);
                EXPECT_EQ(static_cast<TColor>(colors::clWindowText), kept->Font().Color())
                    << "the control still there has its own colour back";
                engine->SetActive(true);
                Pump();
                break;
            case LetGo::WindowUnskinned:
                engine->UnskinWindow(form->Handle());
                EXPECT_EQ(static_cast<TColor>(colors::clWindowText), kept->Font().Color());
                break;
            case LetGo::EngineDestroyed:
                delete engine;
                EXPECT_EQ(static_cast<TColor>(colors::clWindowText), kept->Font().Color());
                break;
            default:
                break;
            }
            delete form;
        }
        Pump();
        EXPECT_EQ(0, freed.Touches()) << "a freed control was used";
    }
}
