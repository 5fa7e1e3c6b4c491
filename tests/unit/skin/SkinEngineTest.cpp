// The skin engine on forms of its own: the loading order, the hook's decisions
// about activated windows, the control walk and switching the skin off and on.
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/draw/SkinMessages.h"
#include "skin/controls/SkinControl.h"
#include "skin/engine/SkinEngine.h"
#include "skin/archive/SkinNames.h"
#include "skin/engine/SkinRules.h"
#include "skin/frame/SkinWindow.h"

#include "ErrorOf.h"
#include "PlaceControl.h"
#include "Pump.h"
#include "SkinForms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

bool Skinned(HWND wnd) { return SendMessageA(wnd, SKM_QUERYSKINNED, 0, 0) == 1; }

SIZE ClientSize(HWND wnd) {
    RECT r;
    GetClientRect(wnd, &r);
    return SIZE{r.right, r.bottom};
}

std::vector<LONG> WindowBox(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

bool HasShape(HWND wnd) {
    GdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(wnd, rgn.Get()) != ERROR;
}

class SkinEngineTest : public testing::Test {
protected:
    void SetUp() override {
        owner = MakeForm<TFrm_Owner>("owner", 300, 200);
        plain = new TPanel(owner);
        plain->SetTag(9999);
        plain->SetBounds(10, 10, 100, 100);
        plain->SetParent(owner);
        inner = Place<TButton>(owner, plain, 5, 5, 60, 25);
        outer = Place<TButton>(owner, owner, 150, 10, 60, 25);
        label = Place<TLabel>(owner, owner, 150, 60, 60, 14);
        popup = new TPopupMenu(owner);
        popup->Add("item");
        plainPopup = new TPopupMenu(owner);
        plainPopup->SetTag(9999);
        plainPopup->Add("item");
        engine = SkinForm(owner, {"TFrm_Listed"});
    }
    void TearDown() override {
        for (TCustomForm* f : others) delete f;
        delete owner;
    }
    template <typename T>
    T* Shown(int tag = 0) {
        T* form = MakeForm<T>();
        form->SetTag(tag);
        others.push_back(form);
        ShowNow(form);
        return form;
    }

    TFrm_Owner* owner = nullptr;
    TPanel* plain = nullptr;
    TButton* inner = nullptr;
    TButton* outer = nullptr;
    TLabel* label = nullptr;
    TPopupMenu* popup = nullptr;
    TPopupMenu* plainPopup = nullptr;
    TSkinEngine* engine = nullptr;
    std::vector<TCustomForm*> others;
};

}  // namespace

TEST_F(SkinEngineTest, LoadingSkinsTheOwnerFormKeepingItsClientArea) {
    EXPECT_TRUE(engine->Ready());
    EXPECT_TRUE(engine->IsSkinning());
    EXPECT_EQ("4.7", engine->Version());
    const HWND wnd = owner->Handle();
    ASSERT_NE(nullptr, engine->FindSkinWindow(wnd));
    EXPECT_TRUE(Skinned(wnd));
    EXPECT_EQ(300, ClientSize(wnd).cx);
    EXPECT_EQ(200, ClientSize(wnd).cy);
    EXPECT_FALSE(GetWindowLongA(wnd, GWL_STYLE) & WS_SYSMENU) << "the system's buttons and menu stay away";
    EXPECT_TRUE(HasShape(wnd)) << "rounded corners";
    EXPECT_EQ(engine->Metrics().formColor, owner->Color());

    // The listed class joins the auto-skin list once, however often it is given.
    engine->SetAutoSkinWndClassNames({"TFrm_Listed", "tfrm_listed"});
    const auto& classes = TSkinEngine::AutoSkinClasses();
    EXPECT_EQ(1, std::count_if(classes.begin(), classes.end(),
                               [](const std::string& c) { return SameText(c, "TFrm_Listed"); }));

    EXPECT_EQ("BuiltIn property only can be specified at design time!", ErrorOf([&] { engine->SetBuiltIn(false); }));
    EXPECT_EQ("One form can only catch one TSkinEngine!", ErrorOf([&] { new TSkinEngine(owner); }));
    TComponent loose(nullptr);
    EXPECT_EQ("Must be placed on a Form", ErrorOf([&] { new TSkinEngine(&loose); }));
}

TEST_F(SkinEngineTest, TheWalkSkinsControlsButLeavesTaggedOnesAndTheirChildren) {
    EXPECT_TRUE(Skinned(outer->Handle()));
    EXPECT_FALSE(Skinned(plain->Handle()));
    EXPECT_FALSE(Skinned(inner->Handle()));
    EXPECT_TRUE(label->ParentColor());
    EXPECT_EQ(owner->Color(), label->Color());
    EXPECT_TRUE(popup->OwnerDraw());
    EXPECT_FALSE(plainPopup->OwnerDraw());
}

TEST_F(SkinEngineTest, ActivatedWindowsAreSkinnedByClass) {
    const int before = engine->SkinWindowCount();
    TFrm_Listed* listed = Shown<TFrm_Listed>();
    EXPECT_TRUE(Skinned(listed->Handle()));
    EXPECT_EQ(before + 1, engine->SkinWindowCount());
    EXPECT_EQ(220, ClientSize(listed->Handle()).cx);
    EXPECT_EQ(120, ClientSize(listed->Handle()).cy);
    // A second activation of a skinned window does nothing.
    SetActiveWindow(owner->Handle());
    SetActiveWindow(listed->Handle());
    Pump();
    EXPECT_EQ(before + 1, engine->SkinWindowCount());
    // A form of another class made after start-up keeps the system's frame.
    TFrm_Other* other = Shown<TFrm_Other>();
    EXPECT_FALSE(Skinned(other->Handle()));
    EXPECT_EQ(nullptr, engine->FindSkinWindow(other->Handle()));
    // A plain form with the opt-out tag is listed but keeps its frame, and the existing-forms sweep skips it.
    TForm* tagged = Shown<TForm>(9999);
    ASSERT_NE(nullptr, engine->FindSkinWindow(tagged->Handle()));
    EXPECT_FALSE(Skinned(tagged->Handle()));
    EXPECT_TRUE(GetWindowLongA(tagged->Handle(), GWL_STYLE) & WS_SYSMENU);
    engine->SkinExistingForms();
    EXPECT_FALSE(Skinned(tagged->Handle()));
    EXPECT_TRUE(Skinned(other->Handle())) << "the sweep takes every untagged form";
    // A destroyed form leaves the list.
    const int count = engine->SkinWindowCount();
    others.erase(std::find(others.begin(), others.end(), listed));
    delete listed;
    EXPECT_EQ(count - 1, engine->SkinWindowCount());
}

namespace {

struct BoxSeen {
    TSkinEngine* engine = nullptr;
    bool found = false, skinned = false, listed = false, sysMenu = false;
};
BoxSeen* g_box = nullptr;

// Runs inside the message box's own loop: looks at the box, then closes it.
void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", "skin test box");
    if (!box) return;
    KillTimer(nullptr, id);
    g_box->found = true;
    g_box->skinned = Skinned(box);
    g_box->listed = g_box->engine->FindSkinWindow(box) != nullptr;
    g_box->sysMenu = (GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU) != 0;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

BoxSeen ShowBox(TSkinEngine* engine, HWND owner) {
    BoxSeen seen;
    seen.engine = engine;
    g_box = &seen;
    SetTimer(nullptr, 0, 50, InspectBox);
    MessageBoxA(owner, "text", "skin test box", MB_OK);
    g_box = nullptr;
    return seen;
}

}  // namespace

TEST_F(SkinEngineTest, MessageBoxesFollowSkinDialogs) {
    const int before = engine->SkinWindowCount();
    BoxSeen seen = ShowBox(engine, owner->Handle());
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.skinned);
    EXPECT_TRUE(seen.listed);
    EXPECT_FALSE(seen.sysMenu);
    EXPECT_EQ(before, engine->SkinWindowCount()) << "the closed box left the list";

    engine->SkinDialogs = false;
    seen = ShowBox(engine, owner->Handle());
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.skinned);
    EXPECT_FALSE(seen.listed);
    EXPECT_TRUE(seen.sysMenu);
    // Forms of the listed classes are still skinned.
    EXPECT_TRUE(Skinned(Shown<TFrm_Listed>()->Handle()));
}

TEST_F(SkinEngineTest, SizeGripsAreRefusedOnlyWhileSkinning) {
    const auto grip = [&] {
        return CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, owner->Handle(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    EXPECT_EQ(nullptr, grip());
    engine->SetActive(false);
    HWND made = grip();
    EXPECT_NE(nullptr, made);
    DestroyWindow(made);
}

TEST_F(SkinEngineTest, SwitchingActiveOffAndOnRestoresAndReskinsExactly) {
    const HWND wnd = owner->Handle();
    const std::vector<LONG> skinnedBox = WindowBox(wnd);
    const LONG skinnedStyle = GetWindowLongA(wnd, GWL_STYLE);
    engine->SetActive(false);
    EXPECT_FALSE(Skinned(wnd));
    EXPECT_FALSE(Skinned(outer->Handle()));
    EXPECT_TRUE(GetWindowLongA(wnd, GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(HasShape(wnd));
    EXPECT_EQ(300, ClientSize(wnd).cx);
    EXPECT_EQ(200, ClientSize(wnd).cy);
    EXPECT_EQ(static_cast<TColor>(colors::clBtnFace), owner->Color());
    const std::vector<LONG> plainBox = WindowBox(wnd);
    EXPECT_NE(skinnedBox, plainBox);

    engine->SetActive(true);
    EXPECT_TRUE(Skinned(wnd));
    EXPECT_TRUE(Skinned(outer->Handle()));
    EXPECT_EQ(skinnedBox, WindowBox(wnd));
    EXPECT_EQ(skinnedStyle, GetWindowLongA(wnd, GWL_STYLE));
    EXPECT_TRUE(HasShape(wnd));
    EXPECT_EQ(300, ClientSize(wnd).cx);

    engine->SetActive(false);
    EXPECT_EQ(plainBox, WindowBox(wnd));
}

TEST_F(SkinEngineTest, ControlSkinnersKeepTheMouseStateAndAnswerTheQuery) {
    ASSERT_NE(nullptr, engine->FindSkinWindow(owner->Handle()));
    TSkinControl* skinner = SkinnerOf(engine, owner, outer);
    ASSERT_NE(nullptr, skinner);
    EXPECT_EQ("TSkinButton", skinner->Kind());
    // The toolkit tells the skinner through messages; the control itself still sees them.
    std::vector<UINT> seen;
    TWndMethod own = outer->WindowProc;
    outer->WindowProc = [&](TMessage& m) {
        if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) seen.push_back(m.Msg);
        own(m);
    };
    outer->Perform(CM_MOUSEENTER);
    EXPECT_EQ(kSkinStateOver, skinner->State());
    SendMessageA(outer->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(kSkinStateOver | kSkinStatePressed, skinner->State());
    SendMessageA(outer->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(kSkinStateOver, skinner->State());
    outer->SetEnabled(false);
    outer->SetCaption("new");
    outer->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(0, skinner->State());
    EXPECT_EQ((std::vector<UINT>{CM_MOUSEENTER, CM_ENABLEDCHANGED, CM_TEXTCHANGED, CM_MOUSELEAVE}), seen);
    outer->WindowProc = own;
    // Not skinning: the control alone answers.
    engine->SetActive(false);
    outer->Perform(CM_MOUSEENTER);
    EXPECT_EQ(0, skinner->State());
    EXPECT_EQ(0, outer->Perform(SKM_QUERYSKINNED));
}

TEST_F(SkinEngineTest, TheSystemMenuIsOwnerDrawnWithTheSkinsMeasures) {
    TPopupMenu* menu = engine->SystemMenu();
    ASSERT_EQ(4u, menu->Items().size());
    EXPECT_TRUE(menu->OwnerDraw());
    std::vector<std::string> captions;
    for (TMenuItem* item : menu->Items()) captions.push_back(item->Caption());
    EXPECT_EQ((std::vector<std::string>{"Mi&nimize", "Ma&ximize/Restore", "-", "&Close"}), captions);
    engine->SetResSysMenuClose("关闭(&C)");
    EXPECT_EQ("关闭(&C)", menu->Items()[3]->Caption());

    HDC dc = GetDC(nullptr);
    int width = 0, height = 0;
    menu->Items()[2]->OnMeasureItem(menu->Items()[2], dc, width, height);
    EXPECT_EQ(5, height);
    menu->Items()[0]->OnMeasureItem(menu->Items()[0], dc, width, height);
    EXPECT_GE(height, 21);
    EXPECT_GT(width, 66);
    ReleaseDC(nullptr, dc);
    EXPECT_FALSE(engine->CheckedMark().Empty());

    // A drawn item: the left bar, the body in the item colour, grey text when disabled.
    TOffscreen target;
    target.Resize(120, 21);
    menu->Items()[0]->OnDrawItem(menu->Items()[0], target.Dc(), RECT{0, 0, 120, 21}, ODS_GRAYED);
    EXPECT_EQ(engine->Metrics().menuColors[SKIN_COLOR_MENUITEMCOLOR - SKIN_COLOR_MENUBARSTARTCOLOR],
              target.Pixel(119, 1));
    int darkest = 255;
    for (int y = 0; y < 21; ++y)
        for (int x = 30; x < 100; ++x) {
            const COLORREF c = target.Pixel(x, y);
            darkest = std::min({darkest, int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c))});
        }
    EXPECT_GE(darkest, 0x70);  // nothing darker than the grey of disabled text
    EXPECT_LE(darkest, 0xA0);  // but text there is
}

TEST(SkinEngineWithoutSkin, LeavesEveryWindowWithTheSystemsFrame) {
    auto form = MakeForm<TFrm_Owner>();
    auto engine = new TSkinEngine(form);
    engine->SetActive(true);
    // No skin read: the archive named does not exist anywhere.
    engine->SetSkinFile("Z:\\nowhere\\none-such-skin.ssk");
    form->NotifyLoaded();
    EXPECT_FALSE(engine->Ready());
    EXPECT_FALSE(engine->IsSkinning());
    EXPECT_TRUE(engine->SkinFile().empty());
    EXPECT_FALSE(Skinned(form->Handle()));
    EXPECT_TRUE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(HasShape(form->Handle()));
    EXPECT_EQ(220, ClientSize(form->Handle()).cx);
    delete form;
}

// The activation comes before the first frame is painted, so the system's frame never shows.
TEST_F(SkinEngineTest, AListedFormIsSkinnedBeforeItsFirstFrameIsPainted) {
    auto listed = MakeForm<TFrm_Listed>();
    others.push_back(listed);
    listed->HandleNeeded();
    // Behind the skin, the form's own procedure would paint the system's frame.
    int systemFrames = 0;
    TWndMethod own = listed->WindowProc;
    listed->WindowProc = [&, own](TMessage& m) {
        if (m.Msg == WM_NCPAINT || m.Msg == WM_NCACTIVATE) ++systemFrames;
        own(m);
    };
    ShowNow(listed);
    EXPECT_TRUE(Skinned(listed->Handle()));
    EXPECT_EQ(0, systemFrames);
    EXPECT_EQ(220, ClientSize(listed->Handle()).cx);
    engine->UnskinWindow(listed->Handle());
    listed->WindowProc = own;
}

TEST_F(SkinEngineTest, TitleAndBorderCanBeSwitchedOffAndTheFrameKeepsItsMinimumSize) {
    const HWND wnd = owner->Handle();
    TSkinWindow* window = engine->FindSkinWindow(wnd);
    ASSERT_NE(nullptr, window);
    RECT outer, client;
    GetWindowRect(wnd, &outer);
    window->SetHasTitle(false);
    window->SetHasBorder(false);
    GetClientRect(wnd, &client);
    EXPECT_EQ(outer.right - outer.left, client.right);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom);
    window->SetHasTitle(true);
    window->SetHasBorder(true);
    GetClientRect(wnd, &client);
    EXPECT_EQ(300, client.right);

    MINMAXINFO info{};
    SendMessageA(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_GE(info.ptMinTrackSize.x, engine->Metrics().minFrameWidth);
    EXPECT_GE(info.ptMinTrackSize.y, engine->Metrics().titleHeight + 6);
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A modeless system dialog box, as another component of the program may show, hidden.
HWND MakeDialog(HWND owner, DLGPROC proc) {
    struct {
        DLGTEMPLATE head;
        WORD menu, cls, title;
    } templ{};
    templ.head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    templ.head.cx = 160;
    templ.head.cy = 80;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &templ.head, owner, proc, 0);
}

HWND MakeDialogWithMenu(HWND owner, HMENU menu) {
    HWND dialog = MakeDialog(owner, PlainDialogProc);
    SetMenu(dialog, menu);
    return dialog;
}

}  // namespace

TEST_F(SkinEngineTest, AForeignWindowsMenuComesBackWhenUnskinnedAndIsFreedWithTheWindow) {
    ShowNow(owner);
    for (const bool unskinFirst : {true, false}) {
        SCOPED_TRACE(unskinFirst ? "unskinned, then destroyed" : "destroyed while skinned");
        HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 1, "file");
        HWND dialog = MakeDialogWithMenu(owner->Handle(), menu);
        ShowWindow(dialog, SW_SHOW);
        SetActiveWindow(dialog);
        Pump();
        ASSERT_TRUE(Skinned(dialog));
        EXPECT_EQ(nullptr, GetMenu(dialog)) << "the skin draws the frame without the menu bar";
        if (unskinFirst) {
            engine->UnskinWindow(dialog);
            EXPECT_EQ(menu, GetMenu(dialog));
        }
        DestroyWindow(dialog);
        EXPECT_FALSE(IsMenu(menu)) << "the menu outlived its window";
    }
}

TEST_F(SkinEngineTest, ATitleButtonPressReleasedOutsideTheWindowIsNotDrawnPressedOnTheNextHover) {
    ShowNow(owner);
    HWND wnd = owner->Handle();
    TSkinWindow* skinned = engine->FindSkinWindow(wnd);
    ASSERT_NE(nullptr, skinned);
    RECT window;
    GetWindowRect(wnd, &window);
    const auto screenLParam = [&](POINT p) { return MAKELPARAM(window.left + p.x, window.top + p.y); };
    // The close button: the first point from the right of the title that the frame calls it.
    const int titleMiddle = engine->Metrics().titleHeight / 2;
    POINT close{-1, titleMiddle};
    for (int x = window.right - window.left - 1; x > 0 && close.x < 0; --x) {
        SendMessageA(wnd, WM_NCMOUSEMOVE, HTCAPTION, screenLParam(POINT{x, titleMiddle}));
        if (skinned->LastPaint().hot == fhClose) close.x = x - 4;
    }
    ASSERT_GE(close.x, 0) << "no close button on the title";
    const LPARAM at = screenLParam(close);
    const WPARAM hit = static_cast<WPARAM>(SendMessageA(wnd, WM_NCHITTEST, 0, at));

    SendMessageA(wnd, WM_NCMOUSEMOVE, hit, at);
    // A square of the frame around the point.
    const RECT square{close.x - 3, close.y - 3, close.x + 4, close.y + 4};
    const std::vector<COLORREF> hot = Pixels(wnd, square, Area::Window);
    SendMessageA(wnd, WM_NCLBUTTONDOWN, hit, at);
    ASSERT_NE(hot, Pixels(wnd, square, Area::Window)) << "the pressed face looks like the hot one";
    // The release happens over another window; the mouse leaves and comes back with the button up.
    SendMessageA(wnd, WM_NCMOUSELEAVE, 0, 0);
    SendMessageA(wnd, WM_NCMOUSEMOVE, hit, at);
    EXPECT_EQ(hot, Pixels(wnd, square, Area::Window)) << "the button is still drawn pressed";
}

TEST_F(SkinEngineTest, TheFrameShowsTheWindowsTextWhoeverSetIt) {
    ShowNow(owner);
    TSkinWindow* skinned = engine->FindSkinWindow(owner->Handle());
    ASSERT_NE(nullptr, skinned);
    EXPECT_EQ("owner", skinned->LastPaint().drawnCaption);
    // Another program sets the text; the form's own caption property is not told.
    SendMessageA(owner->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from outside"));
    EXPECT_EQ("from outside", skinned->LastPaint().drawnCaption);
}

TEST_F(SkinEngineTest, ASizeableWindowKeepsTheOperatorsSizeAcrossTheSkinSwitchedOffAndOn) {
    TFrm_Listed* form = MakeForm<TFrm_Listed>("form", 220, 120, TFormBorderStyle::bsSizeable);
    others.push_back(form);
    ShowNow(form);
    ASSERT_TRUE(Skinned(form->Handle()));
    RECT window;
    GetWindowRect(form->Handle(), &window);
    // The operator drags the frame larger.
    SetWindowPos(form->Handle(), nullptr, 0, 0, window.right - window.left + 120, window.bottom - window.top + 80,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE sized = ClientSize(form->Handle());
    engine->SetActive(false);
    Pump();
    EXPECT_EQ(sized.cx, ClientSize(form->Handle()).cx);
    EXPECT_EQ(sized.cy, ClientSize(form->Handle()).cy);
    engine->SetActive(true);
    Pump();
    EXPECT_EQ(sized.cx, ClientSize(form->Handle()).cx);
    EXPECT_EQ(sized.cy, ClientSize(form->Handle()).cy);
}

namespace {

// A dialog box whose own procedure draws a caption of its own on activation, as a themed
// system does whatever it was asked.
INT_PTR CALLBACK ThemedCaptionProc(HWND wnd, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_NCACTIVATE) {
        PaintBlack(wnd, RECT{0, 0, 400, 20}, Area::Window);
        return FALSE;
    }
    return msg == WM_INITDIALOG;
}

}  // namespace

TEST_F(SkinEngineTest, AForeignWindowsOwnActivationDrawingEndsUnderTheSkinsFrame) {
    ShowNow(owner);
    HWND dialog = MakeDialog(owner->Handle(), ThemedCaptionProc);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    Pump();
    ASSERT_TRUE(Skinned(dialog));
    SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);
    EXPECT_NE(RGB(0, 0, 0), PixelAt(dialog, 40, 8, Area::Window)) << "the window's own caption stayed over the skin's";
    DestroyWindow(dialog);
}
