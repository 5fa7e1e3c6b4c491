#include "skin/engine/SkinRules.h"

#include "framework/SysUtils.h"

bool RefusesCreation(const std::string& className, DWORD style, DWORD exStyle) {
    return UpperCase(className) == "SCROLLBAR" && (style & SBS_SIZEGRIP) != 0 && exStyle != WS_EX_NOPARENTNOTIFY;
}

TActivationRule ActivationRule(const std::string& className, const std::vector<std::string>& autoSkin) {
    if (className == "TTabDockHost" || className == "TConjoinDockHost") return TActivationRule::DockHost;
    if (className == "TMessageForm" || className == "#32770") return TActivationRule::Dialog;
    for (const std::string& name : autoSkin)
        if (SameText(name, className)) return TActivationRule::AutoSkin;
    return TActivationRule::None;
}

bool AddAutoSkinClass(std::vector<std::string>& list, const std::string& name) {
    if (name.empty()) return false;
    for (const std::string& existing : list)
        if (SameText(existing, name)) return false;
    list.push_back(name);
    return true;
}

std::vector<std::string> InitialAutoSkinClasses() {
    return {"TSelectDirDlg", "TForm", "TfrmRegBrowser", "TfrmFTPBrowser"};
}

const char* const kWindowClassKeys[7] = {"COMBOBOX",           "COMBOBOXEX32",    "BUTTON",         "BUTTON_CHECKBOX",
                                         "BUTTON_RADIOBUTTON", "SYSTABCONTROL32", "TOOLBARWINDOW32"};

std::string ChildWindowKey(const std::string& upperClass, DWORD style, bool& holdsAnimation) {
    if (upperClass == "SYSANIMATE32" || upperClass == "MSCTLS_PROGRESS32") {
        holdsAnimation = true;
        return "";
    }
    if (upperClass == "BUTTON") {
        const auto all = [style](DWORD bits) { return (style & bits) == bits; };
        if (all(7)) return "";  // group box
        if (all(BS_AUTOCHECKBOX) || (style & BS_CHECKBOX) || all(BS_3STATE)) return "BUTTON_CHECKBOX";
        if (all(BS_AUTORADIOBUTTON) || (style & BS_RADIOBUTTON)) return "BUTTON_RADIOBUTTON";
        return "BUTTON";
    }
    if (upperClass == "COMBOBOX" && (style & 3) == CBS_SIMPLE) return "";
    return WindowClassRow(upperClass) >= 0 ? upperClass : "";
}

int WindowClassRow(const std::string& key) {
    for (int row = 0; row < 7; ++row)
        if (key == kWindowClassKeys[row]) return row;
    return -1;
}

const char* const kControlClassNames[27] = {
    "TCustomControl",   "TCustomFrame",    "TScrollBox",        "TCoolBar",           "TToolBar",
    "TCustomStatusBar", "TDateTimePicker", "TCustomTreeView",   "TCustomUpDown",      "TCustomHotKey",
    "TProgressBar",     "TTrackBar",       "TCustomTabControl", "TCustomGrid",        "TSpeedButton",
    "TCustomPanel",     "TCustomGroupBox", "TScrollBar",        "TCustomListControl", "TCustomListView",
    "TRadioButton",     "TCustomComboBox", "TCustomComboBoxEx", "TCustomCheckBox",    "TCustomEdit",
    "TButton",          "TCustomLabel"};

// The skinner of each row of the control class table.
const TSkinnerKind kControlSkinners[27] = {TSkinnerKind::ScrollWinControl,
                                           TSkinnerKind::Frame,
                                           TSkinnerKind::ScrollWinControl,
                                           TSkinnerKind::Panel,
                                           TSkinnerKind::ToolBar,
                                           TSkinnerKind::StatusBar,
                                           TSkinnerKind::DateTimePicker,
                                           TSkinnerKind::ScrollWinControl,
                                           TSkinnerKind::UpDown,
                                           TSkinnerKind::BorderWinControl,
                                           TSkinnerKind::ProgressBar,
                                           TSkinnerKind::TrackBar,
                                           TSkinnerKind::TabControl,
                                           TSkinnerKind::Grid,
                                           TSkinnerKind::SpeedButton,
                                           TSkinnerKind::Panel,
                                           TSkinnerKind::GroupBox,
                                           TSkinnerKind::ScrollBar,
                                           TSkinnerKind::ScrollWinControl,
                                           TSkinnerKind::ListView,
                                           TSkinnerKind::RadioButton,
                                           TSkinnerKind::ComboBox,
                                           TSkinnerKind::ComboBoxEx,
                                           TSkinnerKind::CheckBox,
                                           TSkinnerKind::ScrollWinControl,
                                           TSkinnerKind::Button,
                                           TSkinnerKind::Label};

int ControlClassRow(const TObject& control) {
    for (int row = 26; row >= 0; --row)
        if (control.InheritsFrom(kControlClassNames[row])) return row;
    return -1;
}
