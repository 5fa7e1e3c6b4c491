// Controls driven through real window messages, as the system delivers them.
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include "MessageBoxWatcher.h"
#include "PlaceControl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ControlsTest : public testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetClientSize(300, 200);
        panel = Place<TPanel>(form, form, 10, 10, 120, 150);
        image = Place<TImage>(panel, panel, 2, 16, 116, 132);
        image->OnClick = [this](TObject* s) { events.push_back(s == image ? "click" : "click?"); };
        image->OnDblClick = [this](TObject* s) { events.push_back(s == image ? "dblclick" : "dblclick?"); };
        form->HandleNeeded();
    }
    void TearDown() override { delete form; }

    void Mouse(UINT msg, int x, int y) {
        SendMessageA(panel->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TImage* image = nullptr;
    std::vector<std::string> events;
};

}  // namespace

TEST_F(ControlsTest, ParentRoutesAPressAndReleaseToTheGraphicControlBelowTheMouse) {
    Mouse(WM_LBUTTONDOWN, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    EXPECT_EQ(events, std::vector<std::string>{"click"});
}

TEST_F(ControlsTest, DoubleClickRaisesOneClickThenOneDoubleClick) {
    Mouse(WM_LBUTTONDOWN, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    Mouse(WM_LBUTTONDBLCLK, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick"}));
}

TEST_F(ControlsTest, NoClickOutsideTheControlOrWhileItIsDisabled) {
    Mouse(WM_LBUTTONDOWN, 50, 5);  // the strip above the image
    Mouse(WM_LBUTTONUP, 50, 5);
    Mouse(WM_LBUTTONDOWN, 50, 60);  // pressed on the image, released outside it
    Mouse(WM_LBUTTONUP, 50, 5);
    image->SetEnabled(false);
    Mouse(WM_LBUTTONDOWN, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    EXPECT_TRUE(events.empty());
}

TEST_F(ControlsTest, AReplacedWindowProcSeesTheMessagesAndCanHandOnToThePreviousOne) {
    std::vector<UINT> seen;
    TWndMethod previous = image->WindowProc;
    image->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg != WM_LBUTTONUP) previous(m);  // withholds the release: no click
    };
    Mouse(WM_LBUTTONDOWN, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    EXPECT_TRUE(events.empty());
    image->WindowProc = previous;
    Mouse(WM_LBUTTONDOWN, 50, 60);
    Mouse(WM_LBUTTONUP, 50, 60);
    EXPECT_EQ(events, std::vector<std::string>{"click"});
    EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(ControlsTest, TheParentPaintsItsGraphicControlsThroughTheirWindowProc) {
    int paints = 0;
    TWndMethod previous = image->WindowProc;
    image->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_PAINT) {
            ++paints;
            EXPECT_NE(m.WParam, 0u);  // the parent's device context
        }
        previous(m);
    };
    ShowWindow(form->Handle(), SW_SHOWNA);
    panel->Repaint();
    ShowWindow(form->Handle(), SW_HIDE);
    image->WindowProc = previous;
    EXPECT_GE(paints, 1);
}

TEST_F(ControlsTest, AWindowedControlsWindowProcReceivesItsSystemMessages) {
    std::vector<UINT> seen;
    TWndMethod previous = panel->WindowProc;
    panel->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        previous(m);
    };
    SendMessageA(panel->Handle(), WM_NULL, 0, 0);
    // The handler refers to this test's locals: it must not outlive them.
    panel->WindowProc = previous;
    EXPECT_EQ(seen, std::vector<UINT>{WM_NULL});
}

TEST_F(ControlsTest, ButtonClicksComeBackToTheButtonAndClickWorksWhileDisabled) {
    auto button = Place<TButton>(form, form, 150, 150, 62, 25, "按钮");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    button->Click();
    EXPECT_EQ(clicks, 2);
    char text[32] = {};
    GetWindowTextA(button->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "按钮");
}

TEST_F(ControlsTest, ALabelHasNoWindowIsDrawnByItsParentAndLetsGoOfItsSlotWhenDestroyed) {
    auto label = new TLabel(form);
    label->SetBounds(10, 110, 0, 14);
    label->SetTransparent(true);
    label->Font().SetColor(colors::clRed);
    label->FontChanged();
    label->SetParent(panel);
    label->SetCaption("当前采集的是【左手拇指】");
    EXPECT_FALSE(label->Is<TWinControl>());
    EXPECT_EQ(GetWindow(panel->Handle(), GW_CHILD), nullptr);
    const int wide = label->Width();
    EXPECT_GT(wide, 0);
    EXPECT_LT(wide, 200);

    // Drawn onto whatever the parent drew: ink inside its bounds, the parent's white elsewhere.
    const int width = panel->Width(), height = panel->Height();
    HDC screen = GetDC(nullptr);
    MemoryDC dc(screen);
    BitmapHandle canvas(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    SelectObjectScope select(dc.Get(), canvas.Get());
    const RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    panel->PaintControls(dc.Get(), all);
    int inkInside = 0, inkOutside = 0;
    const RECT bounds = label->BoundsRect();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(dc.Get(), x, y);
            if (GetRValue(c) < 128 || GetGValue(c) > 128) continue;  // not the label's red
            const POINT p{x, y};
            (PtInRect(&bounds, p) ? inkInside : inkOutside)++;
        }
    EXPECT_GT(inkInside, 50);
    EXPECT_EQ(inkOutside, 0);

    label->SetCaption("短");
    EXPECT_LT(label->Width(), wide);
    EXPECT_GT(label->Width(), 0);

    // Whatever sits in its WindowProc slot hears of its end, as a window hears WM_NCDESTROY.
    std::vector<UINT> seen;
    label->WindowProc = [&](TMessage& m) { seen.push_back(m.Msg); };
    delete label;
    EXPECT_EQ(seen, std::vector<UINT>{CM_DESTROYING});
}

TEST_F(ControlsTest, TheSystemsRepaintsCopyTheKeptFaceAndOnlyChangedPartsAreDrawnAgain) {
    auto bevel = Place<TBevel>(panel, panel, 2, 2, 116, 12);
    panel->SetColor(RGB(10, 200, 30));
    std::vector<std::string> drawn;
    const auto record = [&](TControl* control, const char* name) {
        TWndMethod previous = control->WindowProc;
        control->WindowProc = [&drawn, previous, name](TMessage& m) {
            if (m.Msg == WM_PAINT) drawn.push_back(name);
            previous(m);
        };
    };
    record(image, "image");
    record(bevel, "bevel");
    ShowWindow(form->Handle(), SW_SHOWNA);
    const auto systemRepaint = [&] {
        drawn.clear();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    const auto panelPixel = [&](int x, int y) {
        HDC dc = GetDC(panel->Handle());
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(panel->Handle(), dc);
        return c;
    };
    panel->Repaint();

    // Uncovered: the face is copied, nothing is drawn again, and it is the panel's face.
    systemRepaint();
    EXPECT_EQ(drawn, std::vector<std::string>{});
    EXPECT_EQ(panelPixel(60, 80), RGB(10, 200, 30));
    // One child changed: only its part is drawn again.
    image->Invalidate();
    systemRepaint();
    EXPECT_EQ(drawn, std::vector<std::string>{"image"});
    // Hidden and shown again: its part is drawn without it, then with it; nothing else is.
    image->SetVisible(false);
    systemRepaint();
    EXPECT_EQ(drawn, std::vector<std::string>{});
    image->SetVisible(true);
    systemRepaint();
    EXPECT_EQ(drawn, std::vector<std::string>{"image"});
    // A new size, or new system colours: all of it.
    panel->SetBounds(10, 10, 130, 150);
    systemRepaint();
    EXPECT_EQ(drawn, (std::vector<std::string>{"image", "bevel"}));
    SendMessageA(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    systemRepaint();
    EXPECT_EQ(drawn, (std::vector<std::string>{"image", "bevel"}));
    EXPECT_EQ(panelPixel(60, 80), RGB(10, 200, 30));
    ShowWindow(form->Handle(), SW_HIDE);
}

TEST_F(ControlsTest, ChildrenFollowTheParentFontUntilGivenTheirOwn) {
    auto label = new TLabel(form);
    label->SetParent(form);
    auto own = new TLabel(form);
    own->SetParent(form);
    own->Font().SetHeight(-14);
    own->FontChanged();
    form->Font().SetHeight(-20);
    form->FontChanged();
    EXPECT_EQ(label->Font().Height(), -20);
    EXPECT_EQ(own->Font().Height(), -14);
}

TEST_F(ControlsTest, DestroyingAFormDestroysItsWindowsOnce) {
    HWND panelWnd = panel->Handle();
    HWND formWnd = form->Handle();
    delete form;
    form = nullptr;
    EXPECT_FALSE(IsWindow(panelWnd));
    EXPECT_FALSE(IsWindow(formWnd));
}

namespace {

// A form that guards its own messages, as the main window does: what reaches its catch is noted.
class GuardedForm : public TForm {
public:
    using TForm::TForm;
    std::vector<std::string> caught;

protected:
    void WndProc(TMessage& m) override {
        try {
            TForm::WndProc(m);
        } catch (const std::exception& e) {
            caught.push_back(e.what());
        }
    }
};

}  // namespace

TEST(ControlNotification, AFailingClickHandlerReachesTheApplicationsReportNotTheFormsGuard) {
    GuardedForm form(nullptr);
    form.SetClientSize(200, 100);
    auto button = Place<TButton>(&form, &form, 10, 10, 75, 25);
    button->OnClick = [](TObject*) { throw Exception("disk full"); };
    form.HandleNeeded();
    MessageBoxWatcher boxes;
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "disk full");
    EXPECT_EQ(seen[0].caption, Application->Title());
    EXPECT_TRUE(form.caught.empty());
}

TEST(TabOrder, KeepsTheOrderOfInsertionApartFromDrawingAndEntersContainers) {
    TForm form(nullptr);
    form.SetClientSize(300, 200);
    auto make = [&](TWinControl* parent, int top) { return Place<TEdit>(&form, parent, 10, top, 60, 20); };
    TEdit* first = make(&form, 0);
    auto group = Place<TGroupBox>(&form, &form, 0, 30, 200, 100);
    TEdit* inner1 = make(group, 20);
    TEdit* inner2 = make(group, 50);
    TEdit* last = make(&form, 150);
    last->BringToFront();  // drawn over the others, still last in the order of Tab
    form.Show();
    std::vector<TWinControl*> order;
    form.GetTabOrderList(order);
    EXPECT_EQ(order, (std::vector<TWinControl*>{first, group, inner1, inner2, last}));

    auto focused = [] { return TWinControl::FindControl(GetFocus()); };
    first->SetFocus();
    form.SelectNext(first, true);
    EXPECT_EQ(focused(), inner1);  // the group box itself takes no focus
    inner2->SetEnabled(false);
    form.SelectNext(inner1, true);
    EXPECT_EQ(focused(), last);
    form.SelectNext(last, true);
    EXPECT_EQ(focused(), first);  // round at the end
    form.SelectNext(first, false);
    EXPECT_EQ(focused(), last);
    last->SetTabOrder(0);
    order.clear();
    form.GetTabOrderList(order);
    EXPECT_EQ(order.front(), last);
}

TEST(FormPosition, ACentredFormIsCentredOnTheWholeScreenNotItsWorkArea) {
    RECT saved{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT shrunk{0, 0, screenWidth, screenHeight - 120};  // as a task bar at the bottom leaves it
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &shrunk, 0);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(TPosition::poScreenCenter);
    form.HandleNeeded();
    RECT placed{};
    GetWindowRect(form.Handle(), &placed);
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0);
    ASSERT_EQ(work.bottom, screenHeight - 120) << "the work area could not be changed for the test";
    EXPECT_EQ(placed.left, (screenWidth - 200) / 2);
    EXPECT_EQ(placed.top, (screenHeight - 100) / 2);
}

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

TEST(WindowCreation, AChildAskedForItsWindowFirstGetsOneWindowInsideItsParent) {
    TForm form(nullptr);
    auto panel = new TPanel(&form);
    panel->SetParent(&form);
    auto edit = new TEdit(&form);
    edit->SetParent(panel);
    HWND wnd = edit->Handle();  // before the form or the panel has a window
    int children = 0;
    EnumChildWindows(form.Handle(), CountWindow, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 2);  // the panel and the edit, each once
    EXPECT_EQ(GetParent(wnd), panel->Handle());
    EXPECT_EQ(TWinControl::FindControl(wnd), edit);
}

TEST_F(ControlsTest, BoundsFollowWhereTheSystemPutsTheWindowAndItsWholeFaceIsPainted) {
    form->Show();
    // The system sizes the windows itself (a maximize, another program's SetWindowPos).
    SetWindowPos(form->Handle(), nullptr, 50, 60, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(panel->Handle(), nullptr, 20, 30, 200, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ((std::vector<int>{500, 400}), (std::vector<int>{form->Width(), form->Height()}));
    EXPECT_EQ((std::vector<int>{20, 30, 200, 160}),
              (std::vector<int>{panel->Left(), panel->Top(), panel->Width(), panel->Height()}));
    // The grown part of the form is painted in its colour, not left black.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(form->Handle(), &client);
    HDC dc = GetDC(form->Handle());
    const COLORREF corner = GetPixel(dc, client.right - 5, client.bottom - 5);
    ReleaseDC(form->Handle(), dc);
    EXPECT_EQ(ColorToRGB(form->Color()), corner);
}
