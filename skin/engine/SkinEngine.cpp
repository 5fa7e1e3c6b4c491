#include "skin/engine/SkinEngine.h"

#include "framework/Exception.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "skin/archive/EmbeddedSkin.h"
#include "skin/draw/SkinMenuDraw.h"
#include "skin/archive/SkinNames.h"
#include "skin/draw/SkinMessages.h"
#include "skin/engine/SkinRules.h"
#include "skin/archive/SkinTempFile.h"
#include "skin/frame/SkinWindow.h"

#include <algorithm>

// ------------------------------------------------------------ construction

TSkinEngine::TSkinEngine(TComponent* owner) : TComponent(owner) {
    if (!owner || !owner->InheritsFrom("TCustomForm")) throw Exception("Must be placed on a Form");
    for (TComponent* c : owner->Components())
        if (c != this && c->Is<TSkinEngine>()) throw Exception("One form can only catch one TSkinEngine!");
    reader_.OnSkinLoaded = [this] { ApplySkin(); };
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        captionFont_.Reset(CreateFontIndirectA(&metrics.lfCaptionFont));
    LoadProgramCheckedMark();
    BuildSystemMenu();
    InstallHook();
}

void TSkinEngine::LoadProgramCheckedMark() {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "SKIN_MENU_CHECKED", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap.Get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24 ||
        !dib.dsBm.bmBits)
        return;
    const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    const auto* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    std::vector<SkinColor> pixels;
    for (int y = 0; y < height; ++y) {
        // Rows lie bottom-up in the section.
        const unsigned char* row = bits + static_cast<std::size_t>(height - 1 - y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<SkinColor>(row[3 * x + 2]) | (row[3 * x + 1] << 8) | (row[3 * x] << 16));
    }
    SkinBitmap mark(width, height, std::move(pixels), 24);
    mark.SetTransparentColor(0xFFFFFF);
    checkedMark_ = TSkinImage(mark);
}

TSkinEngine::~TSkinEngine() {
    destroying_ = true;
    RemoveHook();
    while (!windows_.empty()) {
        std::unique_ptr<TSkinWindow> window = std::move(windows_.back());
        windows_.pop_back();
        window->Done();
    }
}

void TSkinEngine::BuildSystemMenu() {
    systemMenu_ = new TPopupMenu(this);
    menuItems_[0] = systemMenu_->Add(resSysMenu_[0]);
    menuItems_[1] = systemMenu_->Add(resSysMenu_[1]);
    menuItems_[2] = systemMenu_->Add("-");
    menuItems_[3] = systemMenu_->Add(resSysMenu_[2]);
    const auto post = [this](WPARAM command) {
        if (menuTarget_ && IsWindow(menuTarget_)) PostMessageA(menuTarget_, WM_SYSCOMMAND, command, 0);
    };
    menuItems_[0]->OnClick = [this, post](TObject*) { post(IsIconic(menuTarget_) ? SC_RESTORE : SC_MINIMIZE); };
    menuItems_[1]->OnClick = [this, post](TObject*) {
        post((IsZoomed(menuTarget_) || IsIconic(menuTarget_)) ? SC_RESTORE : SC_MAXIMIZE);
    };
    menuItems_[3]->OnClick = [post](TObject*) { post(SC_CLOSE); };
    OwnerDrawMenu(systemMenu_);
}

void TSkinEngine::OwnerDrawMenu(TPopupMenu* menu) {
    if (!menu || (DisabledTag != 0 && menu->Tag() == DisabledTag)) return;
    menu->SetOwnerDraw(true);
    for (TMenuItem* item : menu->Items()) {
        item->OnMeasureItem = [this](TMenuItem* i, HDC dc, int& w, int& h) {
            MeasureSkinMenuItem(*this, *i, dc, w, h);
        };
        item->OnDrawItem = [this](TMenuItem* i, HDC dc, const RECT& r, UINT state) {
            DrawSkinMenuItem(*this, *i, dc, r, state);
        };
    }
}

void TSkinEngine::ShowSystemMenu(TSkinWindow* window, POINT screen) {
    // Opening the menu runs its own message loop, in which another request can arrive.
    if (!window || systemMenuOpen_) return;
    const TFramePaintResult& shown = window->LastPaint();
    menuItems_[0]->SetEnabled(shown.showedMinimize);
    menuItems_[1]->SetEnabled(shown.showedMaximize);
    menuItems_[3]->SetEnabled(shown.showedClose);
    menuTarget_ = window->Handle();
    systemMenuOpen_ = true;
    try {
        systemMenu_->Popup(screen.x, screen.y, menuTarget_);
    } catch (...) {
        systemMenuOpen_ = false;
        throw;
    }
    systemMenuOpen_ = false;
}

// ------------------------------------------------------------ properties

void TSkinEngine::SetActive(bool value) {
    if (active_ == value) return;
    active_ = value;
    if (loading_) return;
    for (auto& w : windows_) {
        w->SetSkin(IsSkinning());
        if (IsSkinning()) w->LoadRegionSettings();
    }
}

void TSkinEngine::SetSkinFile(const std::string& path) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::string found = SkinFileExists(path) ? path : "";
    if (found.empty()) {
        const std::string name = ExtractFileName(path);
        char folder[MAX_PATH];
        std::vector<std::string> folders{ExtractFilePath(ModuleFileName())};
        if (GetWindowsDirectoryA(folder, MAX_PATH)) folders.push_back(std::string(folder) + "\\");
        if (GetSystemDirectoryA(folder, MAX_PATH)) folders.push_back(std::string(folder) + "\\");
        for (const std::string& f : folders)
            if (!name.empty() && SkinFileExists(f + name)) {
                found = f + name;
                break;
            }
    }
    SetErrorMode(oldMode);
    if (found.empty()) return;
    skinFile_ = found;
    try {
        reader_.LoadSkin(found, Password);
    } catch (...) {
        skinFile_.clear();
        throw;
    }
}

void TSkinEngine::ReadSkinData() {
    const EmbeddedSkinArchive archive = FindEmbeddedSkinArchive();
    if (archive.size == 0) return;
    TempSkinCopy copy(archive.data, archive.size);
    if (!copy.Saved()) return;
    const std::string remembered = skinFile_;
    SetSkinFile(copy.Path());
    skinFile_ = remembered;
}

void TSkinEngine::SetBuiltIn(bool value) {
    if (!loading_) throw Exception("BuiltIn property only can be specified at design time!");
    builtIn_ = value;
}

void TSkinEngine::SetSkinAllForms(bool value) {
    if (skinAllForms_ == value) return;
    skinAllForms_ = value;
    if (loading_) return;
    if (value)
        SkinExistingForms();
    else
        UnskinOtherForms();
}

void TSkinEngine::SetResSysMenuMin(const std::string& text) {
    resSysMenu_[0] = text;
    menuItems_[0]->SetCaption(text);
}

void TSkinEngine::SetResSysMenuMax(const std::string& text) {
    resSysMenu_[1] = text;
    menuItems_[1]->SetCaption(text);
}

void TSkinEngine::SetResSysMenuClose(const std::string& text) {
    resSysMenu_[2] = text;
    menuItems_[3]->SetCaption(text);
}

void TSkinEngine::SetAutoSkinWndClassNames(const std::vector<std::string>& names) {
    autoSkinNames_ = names;
    RegisterAutoSkinNames();
}

void TSkinEngine::RegisterAutoSkinNames() {
    for (const std::string& name : autoSkinNames_) AddAutoSkinClass(AutoSkinClasses(), name);
}

std::vector<std::string>& TSkinEngine::AutoSkinClasses() {
    static std::vector<std::string> classes = InitialAutoSkinClasses();
    return classes;
}

HICON TSkinEngine::ApplicationIcon() const {
    // Shared icons belong to the system; nothing frees them.
    static HICON icon = [] {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        auto h = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, LR_SHARED));
        if (!h) h = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 16, 16, LR_SHARED));
        return h;
    }();
    return icon;
}

// ------------------------------------------------------------ loading

void TSkinEngine::Loaded() {
    loading_ = false;
    if (auto form = dynamic_cast<TCustomForm*>(Owner())) SkinOwnerForm(form);
    RegisterAutoSkinNames();
}

void TSkinEngine::ApplySkin() {
    formBrush_.Reset();
    if (OnSkinChanging) OnSkinChanging(this);
    LoadSkinMetrics(reader_, metrics_);
    LoadControlLook(reader_, controlLook_);
    formBrush_.Reset(CreateSolidBrush(metrics_.formColor));
    // Already transparent in the skin's transparency colour, as every skin bitmap is.
    if (const SkinBitmap* mark = reader_.GetSkinBitmap(SKIN_BMP_CHECKEDMENUICON)) checkedMark_ = TSkinImage(*mark);
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        TSkinWindow* w = windows_[i].get();
        if (active_) {
            const bool visible = IsWindowVisible(w->Handle()) != FALSE;
            w->SetSkin(false);
            w->SetSkin(IsSkinning());
            if (visible && i == 0) SetActiveWindow(w->Handle());
        }
        w->LoadRegionSettings();
    }
    if (OnSkinChanged) OnSkinChanged(this);
}

// ------------------------------------------------------------ attachment

TSkinWindow* TSkinEngine::FindSkinWindow(HWND wnd) const {
    for (const auto& w : windows_)
        if (w->Handle() == wnd) return w.get();
    return nullptr;
}

void TSkinEngine::SkinOwnerForm(TCustomForm* form) {
    if (!form) return;
    SkinWindow(form->Handle(), false);
}

void TSkinEngine::SkinWindow(HWND wnd, bool activated) {
    if (!wnd || FindSkinWindow(wnd)) return;
    auto form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(wnd));
    std::unique_ptr<TSkinWindow> window;
    if (form)
        window = std::make_unique<TSkinWindowVCL>(form, activated, this);
    else
        window = std::make_unique<TSkinWindowWnd>(wnd, activated, this);
    TSkinWindow* raw = window.get();
    windows_.push_back(std::move(window));
    try {
        raw->Init();
    } catch (...) {
        UnskinWindow(wnd);
        throw;
    }
    raw->LoadRegionSettings();
}

void TSkinEngine::UnskinWindow(HWND wnd) {
    for (auto it = windows_.begin(); it != windows_.end(); ++it) {
        if ((*it)->Handle() != wnd) continue;
        std::unique_ptr<TSkinWindow> window = std::move(*it);
        windows_.erase(it);
        window->Done();
        return;
    }
}

void TSkinEngine::SkinExistingForms() {
    if (!IsSkinning()) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if ((DisabledTag != 0 && form->Tag() == DisabledTag) || form->ClassName() == "TfrmMSNPopForm") continue;
        const HWND wnd = form->Handle();
        if (FindSkinWindow(wnd)) continue;
        if (SendMessageA(wnd, SKM_QUERYSKINNED, 0, 0) != 0) continue;
        SkinWindow(wnd, false);
    }
}

void TSkinEngine::UnskinOtherForms() {
    auto owner = dynamic_cast<TCustomForm*>(Owner());
    const HWND keep = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
    std::vector<HWND> others;
    for (const auto& w : windows_)
        if (w->Handle() != keep) others.push_back(w->Handle());
    for (HWND wnd : others) UnskinWindow(wnd);
}

void TSkinEngine::MainFormShown() {
    if (mainShown_) return;
    mainShown_ = true;
    if (skinAllForms_) SkinExistingForms();
}

void TSkinEngine::WindowActivating(HWND wnd) {
    char name[256] = "";
    GetClassNameA(wnd, name, sizeof name);
    const bool answers = SendMessageA(wnd, SKM_QUERYSKINNED, 0, 0) != 0;
    switch (ActivationRule(name, AutoSkinClasses())) {
    case TActivationRule::DockHost:
        if (!answers) SkinWindow(wnd, true);
        break;
    case TActivationRule::Dialog:
        if (wnd != skipOnce_ && SkinDialogs && !answers) SkinWindow(wnd, true);
        skipOnce_ = nullptr;
        break;
    case TActivationRule::AutoSkin:
        if (!answers) SkinWindow(wnd, false);
        break;
    case TActivationRule::None:
        break;
    }
}
