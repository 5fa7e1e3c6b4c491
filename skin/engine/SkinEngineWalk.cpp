// The engine's walks: the controls of a program form and the child windows of
// a foreign window, each given the skinner its class table names.
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "skin/controls/SkinControl.h"
#include "skin/engine/SkinEngine.h"
#include "skin/draw/SkinMessages.h"
#include "skin/engine/SkinRules.h"
#include "skin/controls/SkinStdCtrl.h"
#include "skin/engine/SkinWalkRules.h"
#include "skin/frame/SkinWindow.h"

void TSkinEngine::SkinFormControls(TCustomForm* form, TSkinWindow* window) {
    for (TControl* control : form->Controls()) WalkControl(control, window);
    // The form's popup menus draw their items in the skin's menu colours.
    for (TComponent* component : form->Components())
        if (auto menu = dynamic_cast<TPopupMenu*>(component)) OwnerDrawMenu(menu);
}

void TSkinEngine::WalkControl(TControl* control, TSkinWindow* window) {
    const bool answers = [&] {
        auto win = dynamic_cast<TWinControl*>(control);
        return win && win->HandleAllocated() && SendMessageA(win->Handle(), SKM_QUERYSKINNED, 0, 0) == 1;
    }();
    const TControlChoice choice = ChooseControl(*control, DisabledTag, answers);
    if (choice.skinner >= 0) {
        try {
            auto skinner = MakeControlSkinner(this, window, control, kControlClasses[choice.skinner].skinner);
            skinner->Init();
            skinner->Restyle();
            if (skinner->WantsParentColor()) control->SetParentColor(true);
            window->Controls().push_back(std::move(skinner));
        } catch (...) {
            // A skinner that cannot be made leaves the control, and what is inside it, alone.
            return;
        }
    }
    if (!choice.visitChildren) return;
    if (auto win = dynamic_cast<TWinControl*>(control))
        for (TControl* child : win->Controls()) WalkControl(child, window);
}

void TSkinEngine::SkinChildWindows(HWND wnd, TSkinWindow* window) {
    bool holdsAnimation = false;
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_CHILD)) continue;
        if (SendMessageA(child, SKM_QUERYSKINNED, 0, 0) == 1) continue;
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        const auto key = ChildWindowKey(UpperCase(name), GetWindowLongA(child, GWL_STYLE), holdsAnimation);
        if (!key) continue;
        HWND target = child;
        // An extended combo box is drawn through the combo box inside it.
        if (*key == TWindowKey::ComboBoxEx && !(target = GetWindow(child, GW_CHILD))) continue;
        try {
            auto skinner = MakeWindowSkinner(this, window, target, *key);
            skinner->Init();
            skinner->Restyle();
            window->Controls().push_back(std::move(skinner));
        } catch (...) {
        }
    }
}
