// What a skinned window asks of the engine that keeps it, beyond what it reads
// of the skin: to let it go, to skin the controls inside it, to open the system
// menu, and to hear that the main form is shown.
#pragma once

#include "skin/draw/SkinLook.h"

#include <windows.h>

class TCustomForm;
class TSkinWindow;

class ISkinWindowHost : public ISkinLook {
public:
    // Frees the skinned window of `wnd` (the window itself stays).
    virtual void UnskinWindow(HWND wnd) = 0;
    // The next activation of `wnd` is not skinned again.
    virtual void SetSkipOnce(HWND wnd) = 0;
    // Gives the controls of a program form, or the child windows of a foreign
    // window, their skinners in `window`'s list.
    virtual void SkinFormControls(TCustomForm* form, TSkinWindow* window) = 0;
    virtual void SkinChildWindows(HWND wnd, TSkinWindow* window) = 0;
    virtual void ShowSystemMenu(TSkinWindow* window, POINT screen) = 0;
    virtual void MainFormShown() = 0;

protected:
    ~ISkinWindowHost() = default;
};
