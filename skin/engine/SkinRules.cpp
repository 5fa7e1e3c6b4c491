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

std::optional<TWindowKey> ChildWindowKey(const std::string& upperClass, DWORD style, bool& holdsAnimation) {
    if (upperClass == "SYSANIMATE32" || upperClass == "MSCTLS_PROGRESS32") {
        holdsAnimation = true;
        return std::nullopt;
    }
    if (upperClass == "BUTTON") {
        const auto all = [style](DWORD bits) { return (style & bits) == bits; };
        // A group box, or a type whose bits include a group box's, keeps its own drawing.
        if (all(BS_GROUPBOX)) return std::nullopt;
        if (all(BS_AUTOCHECKBOX) || (style & BS_CHECKBOX) || all(BS_3STATE)) return TWindowKey::CheckBox;
        if (all(BS_AUTORADIOBUTTON) || (style & BS_RADIOBUTTON)) return TWindowKey::RadioButton;
        return TWindowKey::Button;
    }
    // A simple combo box (its list always shown) keeps its own drawing.
    constexpr DWORD kComboTypeMask = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST;
    if (upperClass == "COMBOBOX" && (style & kComboTypeMask) == CBS_SIMPLE) return std::nullopt;
    return WindowKeyOfName(upperClass);
}

int ControlClassRow(const TObject& control) {
    for (int row = static_cast<int>(std::size(kControlClasses)) - 1; row >= 0; --row)
        if (control.InheritsFrom(kControlClasses[row].className)) return row;
    return -1;
}
