// The capture window's controls, placed to the pixel.
#include "forms/FingerSlots.h"
#include "forms/Main.h"

#include "common/SysOper.h"

namespace {

// The tag that tells the skin to leave a control, and all inside it, to itself.
constexpr int kPlainTag = 9999;
constexpr int kStripHeight = 12;  // the label strip at the top of a framed panel
constexpr int kBevelHeight = 2;
constexpr int kFrameWidth = 2;  // the two bevels around a framed panel

}  // namespace

TPanel* TFrm_Main::MakeFramedPanel(const char* name, TWinControl* parent, int left, int top, int width, int height) {
    auto panel = new TPanel(this);
    panel->SetName(name);
    panel->SetTag(kPlainTag);
    panel->SetBevels(TPanelBevel::bvRaised, TPanelBevel::bvLowered);
    panel->SetColor(colors::clWindow);
    panel->SetBounds(left, top, width, height);
    panel->SetParent(parent);
    return panel;
}

TLabel* TFrm_Main::MakeStripLabel(const char* name, TPanel* panel, const char* text) {
    auto label = new TLabel(this);
    label->SetName(name);
    label->SetTag(kPlainTag);
    label->SetAutoSize(false);
    label->SetAlignment(TAlignment::taCenter);
    label->SetTransparent(true);
    label->SetBounds(kFrameWidth, kFrameWidth, panel->Width() - 2 * kFrameWidth, kStripHeight);
    label->SetParent(panel);
    label->SetCaption(text);
    return label;
}

TBevel* TFrm_Main::MakeStripBevel(const char* name, TPanel* panel) {
    auto bevel = new TBevel(this);
    bevel->SetName(name);
    bevel->SetTag(kPlainTag);
    bevel->SetShape(TBevelShape::bsBottomLine);
    bevel->SetBounds(kFrameWidth, kFrameWidth + kStripHeight, panel->Width() - 2 * kFrameWidth, kBevelHeight);
    bevel->SetParent(panel);
    return bevel;
}

TButton* TFrm_Main::MakeButton(const char* name, const char* caption, int left, bool enabled) {
    auto button = new TButton(this);
    button->SetName(name);
    button->SetBounds(left, 317, 62, 25);
    button->SetCaption(caption);
    button->SetEnabled(enabled);
    button->SetParent(this);
    return button;
}

void TFrm_Main::BuildControls() {
    SetName("Frm_Main");
    SetCaption("KV90指纹采集");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetColor(colors::clBtnFace);
    Font().SetName("宋体");
    Font().SetHeight(-12);
    SetClientSize(748, 350);

    Panel11 = MakeFramedPanel("Panel11", this, 1, 1, 201, 349);
    Label1 = MakeStripLabel("Label1", Panel11, "图像预览");
    Bevel11 = MakeStripBevel("Bevel11", Panel11);
    Pnl_View = new TPanel(this);
    Pnl_View->SetName("Pnl_View");
    Pnl_View->SetTag(kPlainTag);
    Pnl_View->SetBevels(TPanelBevel::bvNone, TPanelBevel::bvNone);
    Pnl_View->SetColor(colors::clWindow);
    Pnl_View->SetBounds(2, 16, 197, 165);
    Pnl_View->SetParent(Panel11);
    Img_View = new TImage(this);
    Img_View->SetName("Img_View");
    Img_View->SetTag(kPlainTag);
    Img_View->SetStretch(true);
    Img_View->SetBounds(2, 181, 197, 165);
    Img_View->SetParent(Panel11);

    std::array<TPanel*, 10> panels{};
    for (int slot = 0; slot < 10; ++slot) {
        const TFingerSlot& s = kFingerSlots[slot];
        const bool leftHand = slot < 5;
        panels[slot] = MakeFramedPanel(s.panelName, this, s.left, leftHand ? 1 : 157, 110, leftHand ? 155 : 151);
    }
    Panel1 = panels[0], Panel2 = panels[1], Panel3 = panels[2], Panel4 = panels[3], Panel5 = panels[4];
    Panel6 = panels[5], Panel7 = panels[6], Panel8 = panels[7], Panel9 = panels[8], Panel10 = panels[9];

    for (int slot = 0; slot < 10; ++slot) {
        const TFingerSlot& s = kFingerSlots[slot];
        TPanel* panel = panels[slot];
        const std::string n = std::to_string(slot + 1);
        MakeStripLabel(("Label" + std::to_string(slot + 2)).c_str(), panel, s.fingerName);
        MakeStripBevel(("Bevel" + n).c_str(), panel);
        auto image = new TImage(this);
        image->SetName(s.imageName);
        image->SetTag(kPlainTag);
        image->SetStretch(true);
        image->SetHint(std::to_string(slot));
        const int top = kFrameWidth + kStripHeight + kBevelHeight;
        image->SetBounds(kFrameWidth, top, panel->Width() - 2 * kFrameWidth, panel->Height() - top - kFrameWidth);
        image->SetParent(panel);
        slotImages_[slot] = image;
    }
    Img_Left1 = slotImages_[0], Img_Left2 = slotImages_[1], Img_Left3 = slotImages_[2];
    Img_Left4 = slotImages_[3], Img_Left5 = slotImages_[4];
    Img_Right1 = slotImages_[5], Img_Right2 = slotImages_[6], Img_Right3 = slotImages_[7];
    Img_Right4 = slotImages_[8], Img_Right5 = slotImages_[9];

    Lb_Info = new TLabel(this);
    Lb_Info->SetName("Lb_Info");
    Lb_Info->SetTag(kPlainTag);
    Lb_Info->SetTransparent(true);
    Lb_Info->SetParentFont(false);
    Lb_Info->Font().SetName("宋体");
    Lb_Info->Font().SetHeight(-14);
    Lb_Info->Font().SetStyle(TFontStyle::Bold);
    Lb_Info->Font().SetColor(colors::clRed);
    Lb_Info->SetBounds(208, 322, 0, 14);
    Lb_Info->SetParent(this);
    Lb_Info->FontChanged();

    Btn_Collect = MakeButton("Btn_Collect", "采集指纹", 441, false);
    Btn_Clear = MakeButton("Btn_Clear", "清空指纹", 502, false);
    Btn_View = MakeButton("Btn_View", "查看指纹", 563, false);
    Btn_SysConfig = MakeButton("Btn_SysConfig", "系统设置", 624, false);
    Btn_CollectFinish = MakeButton("Btn_CollectFinish", "采集完成", 685, true);

    // The engine's stored values, set in order as loading the form sets them.
    SkinEngine1 = new TSkinEngine(this);
    SkinEngine1->SetName("SkinEngine1");
    SkinEngine1->SetActive(true);
    SkinEngine1->SetSkinFile("D:\\Skins\\KV90.ssk");  // where it was designed; not there at run time
    SkinEngine1->SetResSysMenuMin("Mi&nimize");
    SkinEngine1->SetResSysMenuMax("Ma&ximize/Restore");
    SkinEngine1->SetResSysMenuClose("&Close");
    SkinEngine1->DisabledTag = kPlainTag;
    SkinEngine1->DrawScrollBar = true;
    SkinEngine1->SetBuiltIn(true);
    SkinEngine1->SkinDialogs = true;
    SkinEngine1->SetSkinAllForms(true);
    SkinEngine1->NoChangeButtonsFontColor = false;
    SkinEngine1->SetAutoSkinWndClassNames({"TFrm_SysConfig", "TFrm_ImageEdit"});
    try {
        SkinEngine1->ReadSkinData();
    } catch (const std::exception& e) {
        // The window is still usable with the system's own drawing.
        TSysOper::WriteLog("加载皮肤失败,错误:" + ExceptionMessage(e));
    }
}
