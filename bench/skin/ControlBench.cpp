// Times the control skinners: the paint of one push button and of one track
// bar, and a full repaint of a dialog laid out as the settings dialog is (frame,
// group box, check box, edits, labels, two track bars, two buttons). Needs a
// display; prints figures only. The goals are 0.3 ms, 0.5 ms and 5 ms.
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinEngine.h"
#include "skin/controls/SkinStdCtrl.h"
#include "skin/frame/SkinWindow.h"

#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename T>
T* Make(TWinControl* parent, int left, int top, int width, int height, const char* caption = "") {
    auto control = new T(parent->Owner() ? parent->Owner() : parent);
    control->SetBounds(left, top, width, height);
    control->SetCaption(caption);
    control->SetParent(parent);
    return control;
}

}  // namespace

int main() {
    TApplication application;
    auto dialog = new TForm(nullptr);
    dialog->SetBorderStyle(TFormBorderStyle::bsDialog);
    dialog->SetClientSize(423, 244);
    dialog->SetCaption("KV90 control benchmark");
    auto bright = Make<TTrackBar>(dialog, 40, 125, 343, 25);
    bright->SetRange(0, 255);
    bright->SetThumbLength(15);
    Make<TEdit>(dialog, 328, 103, 48, 20, "128");
    auto contrast = Make<TTrackBar>(dialog, 40, 176, 343, 25);
    contrast->SetRange(0, 255);
    contrast->SetThumbLength(15);
    Make<TEdit>(dialog, 328, 156, 48, 20, "128");
    auto save = Make<TButton>(dialog, 112, 205, 75, 25, "OK");
    Make<TButton>(dialog, 248, 205, 75, 25, "Cancel");
    auto group = Make<TGroupBox>(dialog, 48, 17, 329, 80);
    Make<TEdit>(group, 93, 22, 121, 20, "50");
    Make<TEdit>(group, 93, 49, 121, 20, "60");
    Make<TLabel>(group, 24, 27, 48, 12, "finger");
    Make<TLabel>(group, 24, 54, 48, 12, "image");
    Make<TCheckBox>(dialog, 56, 14, 97, 17, "quality")->BringToFront();
    Make<TLabel>(dialog, 48, 107, 48, 12, "bright");
    Make<TLabel>(dialog, 48, 159, 48, 12, "contrast");

    auto engine = new TSkinEngine(dialog);
    engine->SetActive(true);
    engine->SetBuiltIn(true);
    engine->ReadSkinData();
    dialog->NotifyLoaded();
    dialog->Show();
    Pump();

    TSkinWindow* window = engine->FindSkinWindow(dialog->Handle());
    if (!window || !engine->IsSkinning()) {
        std::printf("the dialog is not skinned\n");
        return 1;
    }
    TSkinControl* button = nullptr;
    TSkinControl* track = nullptr;
    for (auto& c : window->Controls()) {
        auto vcl = dynamic_cast<TSkinControlVCL*>(c.get());
        if (vcl && vcl->Control() == save) button = vcl;
        if (vcl && vcl->Control() == bright) track = vcl;
    }
    if (!button || !track) {
        std::printf("the controls are not skinned\n");
        return 1;
    }
    Report("paint, one push button 75 x 25", 500, [&] { button->Repaint(); });
    Report("paint, one track bar 343 x 25", 500, [&] { track->Repaint(); });
    Report("full repaint, settings dialog", 200, [&] {
        RedrawWindow(dialog->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    // The same repaint with the skin switched off: what the controls cost when they draw themselves.
    engine->SetActive(false);
    Pump();
    Report("full repaint, settings dialog, skin off", 200, [&] {
        RedrawWindow(dialog->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    delete dialog;
    return 0;
}
