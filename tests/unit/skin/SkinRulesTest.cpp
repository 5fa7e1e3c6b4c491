// The engine's decisions, each a plain function of what it looks at.
#include "skin/engine/SkinRules.h"
#include "skin/engine/SkinWalkRules.h"

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

// A control of the engine's own family, which the walk never skins.
class TSkinStatusPanel : public TCustomControl {
    KV90_CLASS(TSkinStatusPanel, TCustomControl)
public:
    using TCustomControl::TCustomControl;
};

}  // namespace

TEST(SkinRules, OnlySizeGripScrollBarsAreRefused) {
    EXPECT_TRUE(RefusesCreation("ScrollBar", WS_CHILD | SBS_SIZEGRIP, 0));
    EXPECT_TRUE(RefusesCreation("SCROLLBAR", SBS_SIZEGRIP, WS_EX_CLIENTEDGE));
    EXPECT_FALSE(RefusesCreation("SCROLLBAR", SBS_SIZEGRIP, WS_EX_NOPARENTNOTIFY));
    EXPECT_FALSE(RefusesCreation("SCROLLBAR", WS_CHILD | SBS_VERT, 0));
    EXPECT_FALSE(RefusesCreation("BUTTON", SBS_SIZEGRIP, 0));
}

TEST(SkinRules, ActivationRulesByClassName) {
    std::vector<std::string> list = InitialAutoSkinClasses();
    EXPECT_EQ((std::vector<std::string>{"TSelectDirDlg", "TForm", "TfrmRegBrowser", "TfrmFTPBrowser"}), list);
    EXPECT_TRUE(AddAutoSkinClass(list, "TFrm_SysConfig"));
    EXPECT_FALSE(AddAutoSkinClass(list, "tfrm_sysconfig"));
    EXPECT_TRUE(AddAutoSkinClass(list, "TFrm_ImageEdit"));
    EXPECT_EQ(6u, list.size());
    EXPECT_EQ(TActivationRule::Dialog, ActivationRule("#32770", list));
    EXPECT_EQ(TActivationRule::Dialog, ActivationRule("TMessageForm", list));
    EXPECT_EQ(TActivationRule::DockHost, ActivationRule("TConjoinDockHost", list));
    EXPECT_EQ(TActivationRule::AutoSkin, ActivationRule("TFRM_IMAGEEDIT", list));
    EXPECT_EQ(TActivationRule::AutoSkin, ActivationRule("TForm", list));
    EXPECT_EQ(TActivationRule::None, ActivationRule("TFrm_Other", list));
}

TEST(SkinRules, ChildWindowsOfDialogsByClassAndStyle) {
    bool animation = false;
    EXPECT_EQ("BUTTON", ChildWindowKey("BUTTON", BS_PUSHBUTTON, animation));
    EXPECT_EQ("BUTTON", ChildWindowKey("BUTTON", BS_DEFPUSHBUTTON, animation));
    EXPECT_EQ("", ChildWindowKey("BUTTON", BS_GROUPBOX, animation));
    EXPECT_EQ("BUTTON_CHECKBOX", ChildWindowKey("BUTTON", BS_AUTOCHECKBOX, animation));
    EXPECT_EQ("BUTTON_CHECKBOX", ChildWindowKey("BUTTON", BS_AUTO3STATE, animation));
    EXPECT_EQ("BUTTON_RADIOBUTTON", ChildWindowKey("BUTTON", BS_AUTORADIOBUTTON, animation));
    EXPECT_EQ("BUTTON_RADIOBUTTON", ChildWindowKey("BUTTON", BS_RADIOBUTTON, animation));
    EXPECT_EQ("", ChildWindowKey("COMBOBOX", CBS_SIMPLE, animation));
    EXPECT_EQ("COMBOBOX", ChildWindowKey("COMBOBOX", CBS_DROPDOWNLIST, animation));
    EXPECT_EQ("TOOLBARWINDOW32", ChildWindowKey("TOOLBARWINDOW32", 0, animation));
    EXPECT_EQ("", ChildWindowKey("STATIC", 0, animation));
    EXPECT_FALSE(animation);
    EXPECT_EQ("", ChildWindowKey("MSCTLS_PROGRESS32", 0, animation));
    EXPECT_TRUE(animation);
    EXPECT_EQ(2, WindowClassRow("BUTTON"));
    EXPECT_EQ(-1, WindowClassRow("STATIC"));
}

TEST(SkinRules, ControlsFindTheirSkinnerFromTheLastRowUp) {
    TForm form(nullptr);
    const auto row = [](const TObject& c) {
        const int r = ControlClassRow(c);
        return r < 0 ? std::string("none") : std::string(SkinnerName(kControlSkinners[r]));
    };
    EXPECT_EQ("TSkinButton", row(TButton(&form)));
    EXPECT_EQ("TSkinLabel", row(TLabel(&form)));
    EXPECT_EQ("TSkinPanel", row(TPanel(&form)));
    EXPECT_EQ("TSkinGroupBox", row(TGroupBox(&form)));
    EXPECT_EQ("TSkinCheckBox", row(TCheckBox(&form)));
    EXPECT_EQ("TSkinScrollWinControl", row(TEdit(&form)));
    EXPECT_EQ("TSkinTrackBar", row(TTrackBar(&form)));
    EXPECT_EQ("TSkinToolBar", row(TToolBar(&form)));
    EXPECT_EQ("TSkinScrollWinControl", row(TScrollBox(&form)));
    EXPECT_EQ("none", row(TImage(&form)));
}

TEST(SkinRules, TheWalkLeavesOptedOutForeignAndParentlessControls) {
    TForm form(nullptr);
    auto panel = new TPanel(&form);
    panel->SetParent(&form);
    auto button = new TButton(&form);
    button->SetParent(panel);
    TControlChoice c = ChooseControl(*panel, 9999, false);
    EXPECT_EQ("TSkinPanel", std::string(SkinnerName(kControlSkinners[c.skinner])));
    EXPECT_TRUE(c.visitChildren);
    panel->SetTag(9999);
    c = ChooseControl(*panel, 9999, false);
    EXPECT_EQ(-1, c.skinner);
    EXPECT_FALSE(c.visitChildren);
    EXPECT_NE(-1, ChooseControl(*panel, 0, false).skinner);     // tag 0 switches the opt-out off
    EXPECT_EQ(-1, ChooseControl(*button, 9999, true).skinner);  // already skinned
    auto own = new TSkinStatusPanel(&form);
    own->SetParent(&form);
    EXPECT_EQ(-1, ChooseControl(*own, 9999, false).skinner);
    TButton loose(&form);
    EXPECT_EQ(-1, ChooseControl(loose, 9999, false).skinner);
}
