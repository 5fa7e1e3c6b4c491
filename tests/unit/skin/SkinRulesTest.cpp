// The engine's decisions, each a plain function of what it looks at.
#include "skin/engine/SkinRules.h"
#include "skin/engine/SkinWalkRules.h"

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

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

namespace {

std::string KeyName(const std::optional<TWindowKey>& key) { return key ? WindowKeyName(*key) : ""; }

std::string SkinnerOfRow(int row) { return row < 0 ? "none" : SkinnerName(kControlClasses[row].skinner); }

}  // namespace

TEST(SkinRules, ChildWindowsOfDialogsByClassAndStyle) {
    bool animation = false;
    const auto key = [&animation](const char* upperClass, DWORD style) {
        return KeyName(ChildWindowKey(upperClass, style, animation));
    };
    EXPECT_EQ("BUTTON", key("BUTTON", BS_PUSHBUTTON));
    EXPECT_EQ("BUTTON", key("BUTTON", BS_DEFPUSHBUTTON));
    EXPECT_EQ("", key("BUTTON", BS_GROUPBOX));
    EXPECT_EQ("BUTTON_CHECKBOX", key("BUTTON", BS_AUTOCHECKBOX));
    EXPECT_EQ("BUTTON_CHECKBOX", key("BUTTON", BS_AUTO3STATE));
    EXPECT_EQ("BUTTON_RADIOBUTTON", key("BUTTON", BS_AUTORADIOBUTTON));
    EXPECT_EQ("BUTTON_RADIOBUTTON", key("BUTTON", BS_RADIOBUTTON));
    EXPECT_EQ("", key("COMBOBOX", CBS_SIMPLE));
    EXPECT_EQ("COMBOBOX", key("COMBOBOX", CBS_DROPDOWNLIST));
    EXPECT_EQ("", key("STATIC", 0));
    EXPECT_FALSE(animation);
    EXPECT_EQ("", key("MSCTLS_PROGRESS32", 0));
    EXPECT_TRUE(animation);
}

// The other window classes of dialog boxes, each with the key of its own name, whatever its style.
TEST(SkinRules, ComboBoxesTabsAndToolBarsOfDialogsByClass) {
    const struct {
        const char* upperClass;
        TWindowKey key;
        const char* keyName;
    } expected[] = {
        {"COMBOBOX", TWindowKey::ComboBox, "COMBOBOX"},
        {"COMBOBOXEX32", TWindowKey::ComboBoxEx, "COMBOBOXEX32"},
        {"SYSTABCONTROL32", TWindowKey::TabControl, "SYSTABCONTROL32"},
        {"TOOLBARWINDOW32", TWindowKey::ToolBar, "TOOLBARWINDOW32"},
    };
    for (const auto& c : expected) {
        SCOPED_TRACE(c.upperClass);
        bool animation = false;
        const auto key = ChildWindowKey(c.upperClass, CBS_DROPDOWN, animation);
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(c.key, *key);
        EXPECT_EQ(c.keyName, KeyName(key));
        EXPECT_FALSE(animation);
    }
}

TEST(SkinRules, ControlsFindTheirSkinnerFromTheLastRowUp) {
    TForm form(nullptr);
    const auto skinner = [](const TObject& c) { return SkinnerOfRow(ControlClassRow(c)); };
    EXPECT_EQ("TSkinButton", skinner(TButton(&form)));
    EXPECT_EQ("TSkinLabel", skinner(TLabel(&form)));
    EXPECT_EQ("TSkinPanel", skinner(TPanel(&form)));
    EXPECT_EQ("TSkinGroupBox", skinner(TGroupBox(&form)));
    EXPECT_EQ("TSkinCheckBox", skinner(TCheckBox(&form)));
    EXPECT_EQ("TSkinScrollWinControl", skinner(TEdit(&form)));
    EXPECT_EQ("TSkinTrackBar", skinner(TTrackBar(&form)));
    EXPECT_EQ("TSkinToolBar", skinner(TToolBar(&form)));
    EXPECT_EQ("TSkinScrollWinControl", skinner(TScrollBox(&form)));
    EXPECT_EQ("none", skinner(TImage(&form)));
}

// The derivations the table's order is checked against are the framework's own, and a control of
// the derived class takes the derived class's row.
TEST(SkinRules, TheCheckedDerivationsHoldInTheFramework) {
    TForm form(nullptr);
    const TPanel panel(&form);
    const TGroupBox groupBox(&form);
    const TObject* const instances[] = {&panel, &groupBox};
    for (const TClassDerivation& d : kControlClassDerivations) {
        SCOPED_TRACE(d.derived);
        const auto it = std::find_if(std::begin(instances), std::end(instances),
                                     [&d](const TObject* o) { return o->InheritsFrom(d.derived); });
        ASSERT_NE(std::end(instances), it);
        EXPECT_TRUE((*it)->InheritsFrom(d.base));
        EXPECT_EQ(ControlClassIndex(d.derived), ControlClassRow(**it));
    }
}

TEST(SkinRules, TheWalkLeavesOptedOutForeignAndParentlessControls) {
    TForm form(nullptr);
    auto panel = new TPanel(&form);
    panel->SetParent(&form);
    auto button = new TButton(&form);
    button->SetParent(panel);
    TControlChoice c = ChooseControl(*panel, 9999, false);
    EXPECT_EQ("TSkinPanel", SkinnerOfRow(c.skinner));
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
