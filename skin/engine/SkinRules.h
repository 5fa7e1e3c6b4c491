// The engine's decisions as plain functions of what they look at: which window
// creations are refused, which activated windows are skinned, which child
// windows and controls get which skinner.
//
// Rules here and in SkinWalkRules.cpp that name classes this program never creates (dock hosts,
// directory and browser dialogs, spin and masked edits, data-aware and shell controls) are kept on
// purpose: the engine is meant to skin the forms and dialog boxes of any program built on the same
// toolkit, and behaves for them as it always has.
#pragma once

#include "framework/Classes.h"
#include "skin/controls/SkinClassTables.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A size-grip scroll bar is never made while skinning: the frame draws its own corner.
bool RefusesCreation(const std::string& className, DWORD style, DWORD exStyle);

enum class TActivationRule {
    None,      // left alone
    DockHost,  // skinned as activated
    Dialog,    // message and system dialog boxes: skinned as activated when dialogs are skinned
    AutoSkin,  // listed class: skinned as a plain window
};
// `autoSkin` is compared without regard to case.
TActivationRule ActivationRule(const std::string& className, const std::vector<std::string>& autoSkin);

// Adds a class name unless the list holds it already (in any letter case); true when added.
bool AddAutoSkinClass(std::vector<std::string>& list, const std::string& name);
// The list a program starts with.
std::vector<std::string> InitialAutoSkinClasses();

// The skinner key of a child window of a dialog box, from its upper-cased class name and its
// style; none when it is not skinned. `holdsAnimation` is set for the animation and progress controls.
std::optional<TWindowKey> ChildWindowKey(const std::string& upperClass, DWORD style, bool& holdsAnimation);

// The row of the control class table for a control, searched from the last
// row to the first; -1 when no row's class is the control's or one it derives from.
int ControlClassRow(const TObject& control);
