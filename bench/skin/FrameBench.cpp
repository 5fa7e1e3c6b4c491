// Times the skinned frame: PaintFrame of a dialog-framed window the size of the
// main window and of a maximised sizeable window like the viewer, and a full
// activation repaint (deactivate and activate, each with its frame and shape).
// Needs a display; prints figures only. The goal is under 1 ms each.
#include "framework/Forms.h"
#include "skin/engine/SkinEngine.h"
#include "skin/frame/SkinWindow.h"

#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    TApplication application;
    auto main = new TForm(nullptr);
    main->SetBorderStyle(TFormBorderStyle::bsDialog);
    main->SetClientSize(748, 350);
    main->SetCaption("KV90 frame benchmark");
    auto engine = new TSkinEngine(main);
    engine->SetActive(true);
    engine->SetBuiltIn(true);
    engine->ReadSkinData();
    main->NotifyLoaded();
    main->Show();

    auto viewer = new TForm(nullptr);
    viewer->SetBorderStyle(TFormBorderStyle::bsSizeable);
    viewer->SetBorderIcons(biSystemMenu | biMaximize);
    viewer->SetCaption("viewer");
    viewer->SetBounds(0, 0, 664, 480);
    viewer->SetWindowState(TWindowState::wsMaximized);
    viewer->Show();
    Pump();

    TSkinWindow* mainFrame = engine->FindSkinWindow(main->Handle());
    TSkinWindow* viewerFrame = engine->FindSkinWindow(viewer->Handle());
    if (!mainFrame || !viewerFrame || !engine->IsSkinning()) {
        std::printf("the windows are not skinned\n");
        return 1;
    }
    Report("PaintFrame, main window 756 x 385", 300, [&] { mainFrame->PaintFrame(); });
    RECT r;
    GetWindowRect(viewer->Handle(), &r);
    char what[64];
    std::snprintf(what, sizeof what, "PaintFrame, maximised viewer %ld x %ld", r.right - r.left, r.bottom - r.top);
    Report(what, 300, [&] { viewerFrame->PaintFrame(); });
    Report("UpdateRegion, main window (unchanged shape)", 300, [&] { mainFrame->UpdateRegion(); });
    const HWND wnd = main->Handle();
    // What the frame does when the window loses and gains the activation, as the system tells it.
    bool active = true;
    Report("activation repaint, main window", 300, [&] {
        active = !active;
        SendMessageA(wnd, WM_NCACTIVATE, active, 0);
        SendMessageA(wnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    });
    delete viewer;
    delete main;
    return 0;
}
