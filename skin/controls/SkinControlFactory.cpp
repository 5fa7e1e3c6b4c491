// Which skinner class stands for each row of the class tables. Kinds that the
// program's windows do not contain keep their rows and get the general
// skinner nearest to them.
#include "skin/controls/SkinStdCtrl.h"

std::string StandInSkinner(const std::string& kind) {
    // Framed controls with scroll bars of their own: the border and scroll handling.
    if (kind == "TSkinListView" || kind == "TSkinGrid" || kind == "TSkinComboBox" || kind == "TSkinComboBoxEx" ||
        kind == "TSkinDateTimePicker")
        return "TSkinScrollWinControl";
    // Framed controls without scroll bars.
    if (kind == "TSkinUpDown" || kind == "TSkinProgressBar" || kind == "TSkinScrollBar")
        return "TSkinBorderWinControl";
    // Containers and bars that draw their own contents on the parent's colour.
    if (kind == "TSkinSpeedButton" || kind == "TSkinTabControl" || kind == "TSkinStatusBar" || kind == "TSkinFrame" ||
        kind == "TSkinRadioButton")
        return "TSkinPanel";
    return kind;
}

std::unique_ptr<TSkinControlVCL> MakeControlSkinner(const ISkinLook* look, TSkinWindow* owner, TControl* control,
                                                    const std::string& kind) {
    const std::string drawn = StandInSkinner(kind);
    if (drawn == "TSkinButton") return std::make_unique<TSkinButton>(look, owner, control);
    if (drawn == "TSkinCheckBox") return std::make_unique<TSkinCheckBox>(look, owner, control, kind);
    if (drawn == "TSkinLabel") return std::make_unique<TSkinLabel>(look, owner, control, kind);
    if (drawn == "TSkinGroupBox") return std::make_unique<TSkinGroupBox>(look, owner, control, kind);
    if (drawn == "TSkinPanel") return std::make_unique<TSkinPanel>(look, owner, control, kind);
    if (drawn == "TSkinBorderWinControl") return std::make_unique<TSkinBorderWinControl>(look, owner, control, kind);
    if (drawn == "TSkinScrollWinControl") return std::make_unique<TSkinScrollWinControl>(look, owner, control, kind);
    if (drawn == "TSkinToolBar") return std::make_unique<TSkinToolBar>(look, owner, control, kind);
    if (drawn == "TSkinTrackBar") return std::make_unique<TSkinTrackBar>(look, owner, control, kind);
    return std::make_unique<TSkinControlVCL>(look, owner, control, kind);
}

std::unique_ptr<TSkinControlWnd> MakeWindowSkinner(const ISkinLook* look, TSkinWindow* owner, HWND wnd,
                                                   const std::string& key) {
    if (key == "BUTTON") return std::make_unique<TSkinWndButton>(look, owner, wnd);
    // An extended combo box arrives as the combo box inside it.
    if (key == "COMBOBOX" || key == "COMBOBOXEX32") return std::make_unique<TSkinWndComboBox>(look, owner, wnd, key);
    // Dialog check boxes, radio buttons, tab and tool bar controls keep
    // their own drawing under the base skinner's state keeping.
    return std::make_unique<TSkinControlWnd>(look, owner, wnd, key);
}
