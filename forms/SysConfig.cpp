#include "forms/SysConfig.h"

#include "common/Prompts.h"
#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

namespace {

// As the toolkit converts a typed number: leading blanks are skipped, anything
// else that is not a whole number fails.
int TypedNumber(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && text[first] == ' ') ++first;
    return StrToInt(text.substr(first));
}

}  // namespace

TFrm_SysConfig::TFrm_SysConfig(TComponent* owner) : TForm(owner) {
    BuildControls();
    OnShow = [this](TObject* sender) { FormShow(sender); };
    Tb_Bright->OnChange = [this](TObject* sender) { Tb_BrightChange(sender); };
    Tb_Contrast->OnChange = [this](TObject* sender) { Tb_ContrastChange(sender); };
    Chb_IsQuality->OnClick = [this](TObject* sender) { Chb_IsQualityClick(sender); };
    Btn_Save->OnClick = [this](TObject* sender) { Btn_SaveClick(sender); };
    Btn_Cancel->OnClick = [this](TObject* sender) { Btn_CancelClick(sender); };
}

void TFrm_SysConfig::FormShow(TObject*) {
    const auto level = [](int value) { return std::max(kMinDeviceLevel, std::min(kMaxDeviceLevel, value)); };
    int value = 0;
    if (DM->LIVESCAN_GetBright(0, &value) == 1) Tb_Bright->SetPosition(level(value));
    value = 0;
    if (DM->LIVESCAN_GetContrast(0, &value) == 1) Tb_Contrast->SetPosition(level(value));
    Chb_IsQuality->SetChecked(DM->IsQuality == 1);
    Ed_FQuality->SetText(IntToStr(DM->FQuality));
    Ed_PQuality->SetText(IntToStr(DM->PQuality));
    Chb_IsQualityClick(Chb_IsQuality);
}

void TFrm_SysConfig::Tb_BrightChange(TObject*) { Ed_Bright->SetText(IntToStr(Tb_Bright->Position())); }

void TFrm_SysConfig::Tb_ContrastChange(TObject*) { Ed_Contrast->SetText(IntToStr(Tb_Contrast->Position())); }

void TFrm_SysConfig::Chb_IsQualityClick(TObject*) {
    Ed_FQuality->SetEnabled(Chb_IsQuality->Checked());
    Ed_PQuality->SetEnabled(Chb_IsQuality->Checked());
}

bool TFrm_SysConfig::CheckQualityText(TEdit* edit, const char* field) {
    const std::string text = edit->Text();
    if (Trim(text).empty()) {
        ShowWarning(std::string("【") + field + "】不能为空");
        edit->SetFocus();
        return false;
    }
    const int value = TypedNumber(text);
    if (value < 30 || value > 100) {
        ShowWarning(std::string("【") + field + "】范围在【30~100】之间");
        edit->SetFocus();
        return false;
    }
    return true;
}

bool TFrm_SysConfig::CheckDeviceLevel(TTrackBar* slider, const char* field) {
    const int value = slider->Position();
    if (value >= kMinDeviceLevel && value <= kMaxDeviceLevel) return true;
    ShowWarning(std::string("【") + field + "】范围在【" + IntToStr(kMinDeviceLevel) + "~" + IntToStr(kMaxDeviceLevel) +
                "】之间");
    slider->SetFocus();
    return false;
}

void TFrm_SysConfig::Btn_SaveClick(TObject*) {
    try {
        const std::string path = DM->AppPath + kConfigFile;
        // Brightness and contrast are the sliders' whole numbers, which the device takes too:
        // the boxes beside them only show them, and another program can put any text there.
        if (!CheckDeviceLevel(Tb_Bright, "亮度") || !CheckDeviceLevel(Tb_Contrast, "对比度")) return;
        const int bright = Tb_Bright->Position();
        const int contrast = Tb_Contrast->Position();
        if (DM->LIVESCAN_SetBright(0, bright) != 1) {
            ShowWarning("设置设备亮度失败");
            return;
        }
        if (DM->LIVESCAN_SetContrast(0, contrast) != 1) {
            ShowWarning("设置设备对比度失败");
            return;
        }
        const bool gates = Chb_IsQuality->Checked();
        if (gates && (!CheckQualityText(Ed_FQuality, "指纹质量") || !CheckQualityText(Ed_PQuality, "图片质量"))) return;
        // Both thresholds are converted before anything is written, so that the
        // file never holds a threshold the configuration reader cannot take.
        const std::string fquality = Trim(Ed_FQuality->Text());
        const std::string pquality = Trim(Ed_PQuality->Text());
        const int fvalue = StrToInt(fquality);
        const int pvalue = StrToInt(pquality);
        // One replacement of the file: a save that fails leaves it and the gates in use as they were.
        TIniFile(path).WriteStrings({{kConfigSection, "Bright", IntToStr(bright)},
                                     {kConfigSection, "Contrast", IntToStr(contrast)},
                                     {kConfigSection, "IsQuality", gates ? "1" : "0"},
                                     {kConfigSection, "FQuality", fquality},
                                     {kConfigSection, "PQuality", pquality}});
        DM->IsQuality = gates ? 1 : 0;
        DM->FQuality = fvalue;
        DM->PQuality = pvalue;
        ShowInformation("保存设置成功");
        Close();
    } catch (const std::exception& e) {
        TSysOper::WriteLog("保存系统配置失败,原因:" + ExceptionMessage(e));
        ShowWarning("保存设置失败");
    }
}

void TFrm_SysConfig::Btn_CancelClick(TObject*) { Close(); }
