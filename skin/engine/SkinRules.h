// The engine's decisions as plain functions of what they look at: which window
// creations are refused, which activated windows are skinned, which child
// windows and controls get which skinner.
#pragma once

#include "framework/Classes.h"
#include "skin/controls/SkinnerKinds.h"

#include <windows.h>

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

// The window class table key for a child window of a foreign window, from its
// upper-cased class name and its style; empty when it is not skinned.
// `holdsAnimation` is set for the animation and progress controls.
std::string ChildWindowKey(const std::string& upperClass, DWORD style, bool& holdsAnimation);
// The row of the window class table for a key, or -1.
int WindowClassRow(const std::string& key);
extern const char* const kWindowClassKeys[7];

// The row of the control class table for a control, searched from the last
// row to the first; -1 when no row's class is the control's or one it derives from.
int ControlClassRow(const TObject& control);
extern const char* const kControlClassNames[27];
extern const TSkinnerKind kControlSkinners[27];
