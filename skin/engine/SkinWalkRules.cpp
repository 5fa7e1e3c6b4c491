#include "skin/engine/SkinWalkRules.h"

#include "skin/engine/SkinRules.h"

TControlChoice ChooseControl(const TControl& control, int disabledTag, bool answersSkinned) {
    TControlChoice choice;
    const std::string name = control.ClassName();
    // A control that opts out keeps its drawing, and so does everything inside it.
    if (disabledTag != 0 && control.Tag() == disabledTag) return choice;
    if (name == "TRollShadow" || answersSkinned) return choice;
    if (name.rfind("TSkin", 0) == 0 && name != "TSkinInternalUpDown") return choice;
    if (!control.Parent()) return choice;
    choice.skinner = ControlClassRow(control);
    choice.visitChildren =
        name != "TDBLookupComboBox" && name != "TJamShellList" && !control.InheritsFrom("TCustomGrid");
    return choice;
}
