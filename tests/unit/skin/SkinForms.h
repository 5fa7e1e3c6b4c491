// Forms for the skin's tests, the engine that skins them, their controls'
// skinners, and the pixels of their windows.
#pragma once

#include "framework/Forms.h"
#include "skin/controls/SkinControl.h"
#include "skin/engine/SkinEngine.h"
#include "skin/frame/SkinWindow.h"

#include "Pump.h"

#include <string>
#include <vector>

// Forms of classes of their own: the engine's owner, a class on the engine's auto-skin list and
// another class that is not.
class TFrm_Owner : public TForm {
    KV90_CLASS(TFrm_Owner, TForm)
public:
    using TForm::TForm;
};

class TFrm_Listed : public TForm {
    KV90_CLASS(TFrm_Listed, TForm)
public:
    using TForm::TForm;
};

class TFrm_Other : public TForm {
    KV90_CLASS(TFrm_Other, TForm)
public:
    using TForm::TForm;
};

// A form of class T with the given client size and caption, a dialog box's frame unless told, not
// yet shown.
template <typename T>
T* MakeForm(const std::string& caption = "form", int width = 220, int height = 120,
            TFormBorderStyle border = TFormBorderStyle::bsDialog) {
    auto form = new T(nullptr);
    form->SetBorderStyle(border);
    form->SetClientSize(width, height);
    form->SetCaption(caption);
    return form;
}

// Puts the program's own skin on a form, as the main window's engine does, and ends the form's
// loading; forms of the classes `autoSkin` names are skinned when they are activated.
inline TSkinEngine* SkinForm(TForm* form, const std::vector<std::string>& autoSkin = {}) {
    auto engine = new TSkinEngine(form);
    engine->SetActive(true);
    engine->SetBuiltIn(true);
    if (!autoSkin.empty()) engine->SetAutoSkinWndClassNames(autoSkin);
    engine->ReadSkinData();
    form->NotifyLoaded();
    return engine;
}

// Shows a form and handles what showing it queued.
inline void ShowNow(TCustomForm* form) {
    form->Show();
    Pump();
}

// The skinner of a control on a skinned form, as a T; none when there is no such skinner.
template <typename T = TSkinControlVCL>
T* SkinnerOf(TSkinEngine* engine, TCustomForm* form, const TControl* control) {
    TSkinWindow* window = engine->FindSkinWindow(form->Handle());
    if (!window) return nullptr;
    for (auto& c : window->Controls())
        if (auto vcl = dynamic_cast<TSkinControlVCL*>(c.get()); vcl && vcl->Control() == control)
            return dynamic_cast<T*>(vcl);
    return nullptr;
}

// A window's client area, or the whole window with its frame.
enum class Area { Client, Window };

inline RECT ClientRect(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return r;
}

// The colours of a rectangle of a window, row by row, every `step`th pixel of every `step`th row.
inline std::vector<COLORREF> Pixels(HWND wnd, const RECT& r, Area area = Area::Client, int step = 1) {
    std::vector<COLORREF> pixels;
    HDC dc = area == Area::Client ? GetDC(wnd) : GetWindowDC(wnd);
    for (LONG y = r.top; y < r.bottom; y += step)
        for (LONG x = r.left; x < r.right; x += step) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(wnd, dc);
    return pixels;
}

inline COLORREF PixelAt(HWND wnd, LONG x, LONG y, Area area = Area::Client) {
    return Pixels(wnd, RECT{x, y, x + 1, y + 1}, area)[0];
}

// Paints a rectangle of a window black, as the system's own drawing might paint over the skin's.
inline void PaintBlack(HWND wnd, const RECT& r, Area area = Area::Client) {
    HDC dc = area == Area::Client ? GetDC(wnd) : GetWindowDC(wnd);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(wnd, dc);
}
