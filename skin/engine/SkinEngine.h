// The skin engine component of the main window. It holds the skin that every
// window of the program is drawn from, decides which windows and controls wear
// it (a window hook sees windows as they are created and activated), keeps the
// list of skinned windows and re-applies the skin whenever it changes.
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"
#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinMetrics.h"
#include "skin/frame/SkinWindowHost.h"
#include "skin/archive/SkinReader.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TPopupMenu;
class TMenuItem;
class TSkinWindow;
class TControl;

class TSkinEngine : public TComponent, public ISkinWindowHost {
    KV90_CLASS(TSkinEngine, TComponent)
public:
    // The owner must be a form ("Must be placed on a Form") without another
    // engine ("One form can only catch one TSkinEngine!").
    explicit TSkinEngine(TComponent* owner);
    ~TSkinEngine() override;

    // The binary property: loads the skin archive carried in the program's
    // resources through a temporary copy that is deleted again.
    void ReadSkinData();

    // published properties
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool Ready() const { return reader_.Ready(); }
    std::string Password;
    const std::string& SkinFile() const { return skinFile_; }
    // Looks the file up beside the program and in the Windows and system folders
    // too; a file found nowhere changes nothing.
    void SetSkinFile(const std::string& path);
    const std::string& ResSysMenuMin() const { return resSysMenu_[0]; }
    const std::string& ResSysMenuMax() const { return resSysMenu_[1]; }
    const std::string& ResSysMenuClose() const { return resSysMenu_[2]; }
    void SetResSysMenuMin(const std::string& text);
    void SetResSysMenuMax(const std::string& text);
    void SetResSysMenuClose(const std::string& text);
    // Windows and controls with this tag keep their own drawing (0: controls do not opt out).
    int DisabledTag = 9999;
    bool DrawScrollBar = true;
    std::string Version() const { return "4.7"; }
    bool BuiltIn() const { return builtIn_; }
    // Only while the form is being loaded.
    void SetBuiltIn(bool value);
    bool SkinDialogs = true;
    bool SkinAllForms() const { return skinAllForms_; }
    void SetSkinAllForms(bool value);
    bool NoChangeButtonsFontColor = false;
    const std::vector<std::string>& AutoSkinWndClassNames() const { return autoSkinNames_; }
    void SetAutoSkinWndClassNames(const std::vector<std::string>& names);
    TNotifyEvent OnSkinChanging;
    TNotifyEvent OnSkinChanged;

    const TSkinReader& Reader() const { return reader_; }
    // Skinning happens while the engine is active and has a skin.
    bool IsSkinning() const override { return active_ && Ready(); }
    bool Destroying() const override { return destroying_; }

    // attachment
    void SkinOwnerForm(TCustomForm* form);
    void SkinWindow(HWND wnd, bool activated);
    void UnskinWindow(HWND wnd) override;
    void SkinExistingForms();
    void UnskinOtherForms();
    void ApplySkin();
    TSkinWindow* FindSkinWindow(HWND wnd) const;
    int SkinWindowCount() const { return static_cast<int>(windows_.size()); }
    // The hook's decision for a window being activated.
    void WindowActivating(HWND wnd);
    // The main form has been shown for the first time.
    void MainFormShown() override;
    void SetSkipOnce(HWND wnd) override { skipOnce_ = wnd; }

    // the control walks
    void SkinFormControls(TCustomForm* form, TSkinWindow* window) override;
    void SkinChildWindows(HWND wnd, TSkinWindow* window) override;

    // what skinned windows draw with
    int OptOutTag() const override { return DisabledTag; }
    bool KeepsButtonFontColor() const override { return NoChangeButtonsFontColor; }
    bool SkinsScrollBars() const override { return DrawScrollBar; }
    const TSkinMetrics& Metrics() const override { return metrics_; }
    const TSkinControlLook& ControlLook() const override { return controlLook_; }
    HBRUSH FormBrush() const override { return formBrush_.Get(); }
    HFONT CaptionFont() const override { return captionFont_.Get(); }
    HICON ApplicationIcon() const override;
    int CaptionXOverride() const override { return captionX_; }
    const TSkinImage& CheckedMark() const override { return checkedMark_; }
    TPopupMenu* SystemMenu() const { return systemMenu_; }
    void ShowSystemMenu(TSkinWindow* window, POINT screen) override;
    void OwnerDrawMenu(TPopupMenu* menu);

    // The class names skinned when activated (process-wide).
    static std::vector<std::string>& AutoSkinClasses();

protected:
    void Loaded() override;

private:
    void InstallHook();
    void RemoveHook();
    void RegisterAutoSkinNames();
    void WalkControl(TControl* control, TSkinWindow* window);
    void BuildSystemMenu();
    void LoadProgramCheckedMark();

    TSkinReader reader_;
    bool active_ = false;
    bool builtIn_ = false;
    bool skinAllForms_ = true;
    bool loading_ = true;
    bool destroying_ = false;
    bool mainShown_ = false;
    std::string skinFile_;
    std::string resSysMenu_[3] = {"Mi&nimize", "Ma&ximize/Restore", "&Close"};
    std::vector<std::string> autoSkinNames_;
    std::vector<std::unique_ptr<TSkinWindow>> windows_;
    TSkinMetrics metrics_;
    TSkinControlLook controlLook_;
    TSkinImage checkedMark_;
    BrushHandle formBrush_;
    FontHandle captionFont_;
    TPopupMenu* systemMenu_ = nullptr;
    TMenuItem* menuItems_[4] = {};
    HWND menuTarget_ = nullptr;
    bool systemMenuOpen_ = false;  // the menu's loop runs: a second request waits for it to end
    HWND skipOnce_ = nullptr;
    int captionX_ = -10000;
};
