// Controls driven through real window messages, as the system delivers them.
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ControlsTest : public testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetClientSize(300, 200);
        panel = new TPanel(form);
        panel->SetBounds(10, 10, 120, 150);
        panel->SetParent(form);
        image = new TImage(panel);
        image->SetBounds(2, 16, 116, 132);
        image->SetParent(panel);
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
    auto button = new TButton(form);
    button->SetBounds(150, 150, 62, 25);
    button->SetCaption("按钮");
    button->SetParent(form);
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

TEST_F(ControlsTest, LabelTextIsItsWindowTextAndAutoSizeFollowsIt) {
    auto label = new TLabel(form);
    label->SetBounds(10, 170, 0, 14);
    label->SetParent(form);
    label->SetCaption("当前采集的是【左手拇指】");
    char text[64] = {};
    GetWindowTextA(label->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "当前采集的是【左手拇指】");
    const int wide = label->Width();
    label->SetCaption("短");
    EXPECT_LT(label->Width(), wide);
    EXPECT_GT(label->Width(), 0);
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
