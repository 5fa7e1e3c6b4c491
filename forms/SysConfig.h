// The settings dialog: the scanner's brightness and contrast, and the
// quality gates of the capture command.
#pragma once

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

// The range of the device's brightness and contrast, and of their sliders.
constexpr int kMinDeviceLevel = 0;
constexpr int kMaxDeviceLevel = 255;

class TFrm_SysConfig : public TForm {
    KV90_CLASS(TFrm_SysConfig, TForm)
public:
    explicit TFrm_SysConfig(TComponent* owner);

    // event handlers
    void FormShow(TObject* sender);
    void Tb_BrightChange(TObject* sender);
    void Tb_ContrastChange(TObject* sender);
    void Chb_IsQualityClick(TObject* sender);
    void Btn_SaveClick(TObject* sender);
    void Btn_CancelClick(TObject* sender);

    // components
    TGroupBox* GroupBox1;
    TLabel* Label4;
    TEdit* Ed_FQuality;
    TLabel* Label6;
    TLabel* Label5;
    TEdit* Ed_PQuality;
    TLabel* Label7;
    TCheckBox* Chb_IsQuality;
    TLabel* Label1;
    TTrackBar* Tb_Bright;
    TEdit* Ed_Bright;
    TLabel* Label2;
    TTrackBar* Tb_Contrast;
    TEdit* Ed_Contrast;
    TButton* Btn_Save;
    TButton* Btn_Cancel;

private:
    void BuildControls();
    // False (the operator told, the edit focused) when a ticked gate's text is empty or out of range.
    bool CheckQualityText(TEdit* edit, const char* field);
    // False (the operator told, the slider focused) when a slider stands outside the device's range.
    bool CheckDeviceLevel(TTrackBar* slider, const char* field);
};
