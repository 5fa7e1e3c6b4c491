#include "forms/Main.h"

#include "common/FileOper.h"
#include "common/Prompts.h"
#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/SysUtils.h"

TFrm_Main* Frm_Main = nullptr;

TFrm_Main::TFrm_Main(TComponent* owner) : TForm(owner) {
    Frm_Main = this;
    BuildControls();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    Btn_Collect->OnClick = [this](TObject* sender) { Btn_CollectClick(sender); };
    Btn_Clear->OnClick = [this](TObject* sender) { Btn_ClearClick(sender); };
    Btn_View->OnClick = [this](TObject* sender) { Btn_ViewClick(sender); };
    Btn_SysConfig->OnClick = [this](TObject* sender) { Btn_SysConfigClick(sender); };
    Btn_CollectFinish->OnClick = [this](TObject* sender) { Btn_CollectFinishClick(sender); };
}

void TFrm_Main::FormCreate(TObject*) {
    if (!CreateMapFile()) {
        ShowWarning("创建映像文件失败,程序无法启动");
        Application->Terminate();
        return;
    }
    InitSlotImages();
    DM->PostMsgToActiveX(HOST_CODE_READY, static_cast<int>(reinterpret_cast<INT_PTR>(Handle())));
}

void TFrm_Main::FormClose(TObject*, TCloseAction& action) {
    try {
        // The host hears of the close once: a close repeated while the device stops (the
        // host's command again, the finish button, the close box) changes nothing more.
        if (DM->StationClosing) {
            TSysOper::WriteLog("采集窗口正在关闭,忽略重复的关闭请求");
            return;
        }
        DM->StationClosing = true;
        DM->TellHostClosing();
        // No frame may write the preview file again once it is deleted, also when this
        // close runs inside a capture whose pause ends later.
        DM->PauseCollection();
        DM->Func_DelFpInfo(-1);
        DM->CloseCollectMap();
        Screen->SetCursor(crHourGlass);
        if (DM->DeviceStarted) {
            // The thread's termination handler closes the device and ends the program.
            if (CaptureThread) CaptureThread->Terminate();
        } else {
            action = TCloseAction::caFree;
            Application->Terminate();
        }
    } catch (const std::exception& e) {
        TSysOper::WriteLog("释放KV90采集窗口出错,原因:" + ExceptionMessage(e));
    }
}

void TFrm_Main::UseStandardSettings() {
    DM->IsQuality = 1;
    DM->FQuality = 50;
    DM->PQuality = 75;
    DM->RollMode = 1;
}

bool TFrm_Main::LoadConfig() {
    DM->ImageWidth = kImageWidth;
    DM->ImageHeight = kImageHeight;
    try {
        const std::string path = DM->AppPath + kConfigFile;
        if (!FileExists(path)) {
            // Every key of a missing file would read 1, which lets any finger
            // through the gates: the standard settings are used instead, and
            // the device keeps its own brightness and contrast.
            UseStandardSettings();
            DM->Bright = 0;
            DM->Contrast = 0;
            TSysOper::WriteLog("配置文件不存在,使用默认设置:" + path);
            return true;
        }
        const struct {
            const char* key;
            int TDM::*field;
        } keys[] = {{"RollMode", &TDM::RollMode}, {"IsQuality", &TDM::IsQuality}, {"FQuality", &TDM::FQuality},
                    {"PQuality", &TDM::PQuality}, {"Bright", &TDM::Bright},       {"Contrast", &TDM::Contrast}};
        for (const auto& k : keys) {
            std::string value;
            TFileOper::ReadIniValue(path, kConfigSection, k.key, value);
            DM->*k.field = StrToInt(value);
        }
        return true;
    } catch (const std::exception& e) {
        UseStandardSettings();
        TSysOper::WriteLog("初始化KV90指纹采集类时出错,错误:" + ExceptionMessage(e));
        return false;
    }
}

void TFrm_Main::InitSlotImages() {
    for (TComponent* c : Components()) {
        auto image = dynamic_cast<TImage*>(c);
        if (!image || image->Hint().empty()) continue;
        image->OnClick = [this](TObject* sender) { SelectSlot(static_cast<TImage*>(sender)); };
        image->OnDblClick = [this](TObject* sender) { SlotDblClick(sender); };
    }
}

void TFrm_Main::SelectSlot(TImage* image) {
    if (!image) return;
    if (currentImage_ && currentImage_->Hint() == image->Hint()) return;
    currentImage_ = image;
    currentSlot_ = StrToInt(image->Hint());
    DM->ShowCurrentFinger(Lb_Info, currentSlot_);
    Btn_View->SetEnabled(!image->Picture().Empty());
    for (TComponent* c : Components()) {
        if (auto panel = dynamic_cast<TCustomPanel*>(c))
            panel->SetColor(panel == image->Parent() ? colors::clAqua : colors::clWindow);
    }
}

void TFrm_Main::SlotDblClick(TObject*) { Btn_View->Click(); }

void TFrm_Main::SelectNextSlot() {
    if (!currentImage_) return;
    const int n = StrToInt(Trim(currentImage_->Hint()));
    if (n < 0 || n > 9) return;
    const std::string next = IntToStr(n + 1);
    for (TComponent* c : Components()) {
        auto image = dynamic_cast<TImage*>(c);
        if (image && image->Hint() == next) {
            if (image->Picture().Empty()) SelectSlot(image);
            return;
        }
    }
}

void TFrm_Main::ShowFailure(const std::string& text) {
    Lb_Info->SetCaption(text);
    Btn_Collect->SetEnabled(false);
    Btn_View->SetEnabled(false);
}
