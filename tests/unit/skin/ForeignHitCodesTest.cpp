// Presses that another program posts to a skinned frame: the window's own
// procedure is given the frame's answer at the point of the press, never the
// hit-test code the message came with (the system would size a fixed window
// for HTTOP, or track its close box for HTCLOSE).
#include "framework/Forms.h"
#include "skin/engine/SkinEngine.h"

#include "SkinForms.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The hit-test codes of the presses that reached the form's own procedure, in order.
std::vector<WPARAM> g_pressed;

class TFrm_Journaling : public TForm {
    KV90_CLASS(TFrm_Journaling, TForm)
public:
    using TForm::TForm;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_NCLBUTTONDOWN) {
            // Journaled only: the system's dragging would wait for a release that never comes.
            g_pressed.push_back(m.WParam);
            return;
        }
        TForm::WndProc(m);
    }
};

}  // namespace

TEST(ForeignHitCodes, TheFormsOwnProcedureGetsTheFramesAnswerAtThePointOfThePress) {
    auto form = MakeForm<TFrm_Journaling>("form", 220, 120, TFormBorderStyle::bsSizeable);
    TSkinEngine* engine = SkinForm(form);
    ShowNow(form);
    const HWND wnd = form->Handle();
    ASSERT_NE(nullptr, engine->FindSkinWindow(wnd));
    RECT window;
    GetWindowRect(wnd, &window);
    const int middle = (window.left + window.right) / 2;
    const LPARAM inside = MAKELPARAM(middle, (window.top + window.bottom) / 2);
    const LPARAM onCaption = MAKELPARAM(middle, window.top + engine->Metrics().titleHeight / 2);
    g_pressed.clear();
    for (const WPARAM code : {HTTOP, HTLEFT, HTBOTTOMRIGHT, HTCLOSE}) SendMessageA(wnd, WM_NCLBUTTONDOWN, code, inside);
    SendMessageA(wnd, WM_NCLBUTTONDOWN, HTCLIENT, onCaption);
    EXPECT_EQ((std::vector<WPARAM>{HTCLIENT, HTCLIENT, HTCLIENT, HTCLIENT, HTCAPTION}), g_pressed);
    delete form;
}
