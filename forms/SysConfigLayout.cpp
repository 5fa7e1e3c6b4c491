// The settings dialog's controls, placed to the pixel.
#include "forms/SysConfig.h"

namespace {

template <typename T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto control = new T(owner);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, const char* name, int left, int top, const char* text) {
    auto label = Make<TLabel>(owner, parent, name, left, top, 48, 12);
    label->SetCaption(text);
    label->SetTransparent(true);
    return label;
}

TLabel* MakeRangeHint(TComponent* owner, TWinControl* parent, const char* name, int left, int top) {
    auto label = MakeLabel(owner, parent, name, left, top, "(30~100)");
    label->SetTag(9999);  // the skin leaves the red hints as they are
    label->SetParentFont(false);
    label->Font().Assign(parent->Font());
    label->Font().SetColor(colors::clRed);
    label->FontChanged();
    return label;
}

TTrackBar* MakeSlider(TComponent* owner, TWinControl* parent, const char* name, int top) {
    auto slider = Make<TTrackBar>(owner, parent, name, 40, top, 343, 25);
    slider->SetRange(kMinDeviceLevel, kMaxDeviceLevel);
    slider->SetThumbLength(15);
    return slider;
}

TEdit* MakeNumberBox(TComponent* owner, TWinControl* parent, const char* name, int top) {
    auto box = Make<TEdit>(owner, parent, name, 328, top, 48, 20);
    box->SetColor(colors::cl3DLight);
    // The box only shows the slider's position: the device always takes the slider's value.
    box->SetReadOnly(true);
    box->SetText("0");
    return box;
}

}  // namespace

void TFrm_SysConfig::BuildControls() {
    SetName("Frm_SysConfig");
    SetCaption("系统设置");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    Font().SetName("宋体");
    Font().SetHeight(-12);
    SetClientSize(423, 244);

    // Created in tab order, which is the order of the focus through the dialog.
    Tb_Bright = MakeSlider(this, this, "Tb_Bright", 125);
    Ed_Bright = MakeNumberBox(this, this, "Ed_Bright", 103);
    Tb_Contrast = MakeSlider(this, this, "Tb_Contrast", 176);
    Ed_Contrast = MakeNumberBox(this, this, "Ed_Contrast", 156);
    Btn_Save = Make<TButton>(this, this, "Btn_Save", 112, 205, 75, 25);
    Btn_Save->SetCaption("确  定");
    Btn_Cancel = Make<TButton>(this, this, "Btn_Cancel", 248, 205, 75, 25);
    Btn_Cancel->SetCaption("取  消");
    GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 48, 17, 329, 80);
    Ed_FQuality = Make<TEdit>(this, GroupBox1, "Ed_FQuality", 93, 22, 121, 20);
    Ed_PQuality = Make<TEdit>(this, GroupBox1, "Ed_PQuality", 93, 49, 121, 20);
    Label4 = MakeLabel(this, GroupBox1, "Label4", 24, 27, "指纹质量");
    Label6 = MakeRangeHint(this, GroupBox1, "Label6", 232, 25);
    Label5 = MakeLabel(this, GroupBox1, "Label5", 24, 54, "图像质量");
    Label7 = MakeRangeHint(this, GroupBox1, "Label7", 232, 54);
    // The box lies over the group's top edge and serves as its title.
    Chb_IsQuality = Make<TCheckBox>(this, this, "Chb_IsQuality", 56, 14, 97, 17);
    Chb_IsQuality->SetCaption("控制指纹质量");
    Chb_IsQuality->BringToFront();
    Label1 = MakeLabel(this, this, "Label1", 48, 107, "亮  度：");
    Label2 = MakeLabel(this, this, "Label2", 48, 159, "对比度：");
}
