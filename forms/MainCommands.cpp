// The operator's commands: capture, clear, view, settings and finish.
#include "common/Prompts.h"
#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "forms/Main.h"
#include "forms/SysConfig.h"
#include "framework/SysUtils.h"
#include "images/ImgOper.h"
#include "images/PersonFileName.h"

#include <memory>

namespace {

// Frame processing stays paused for as long as a finger is being stored, and
// resumes however the command ends, unless the window closed meanwhile. The pause
// begins once the capture thread is between frames, so the preview file and the
// stitched image are whole when read.
class PausedCollection {
public:
    PausedCollection() { DM->PauseCollection(); }
    ~PausedCollection() { DM->ResumeCollection(); }
    PausedCollection(const PausedCollection&) = delete;
    PausedCollection& operator=(const PausedCollection&) = delete;
};

// The hourglass for one scope.
class HourGlass {
public:
    HourGlass() { Screen->SetCursor(crHourGlass); }
    ~HourGlass() { Screen->SetCursor(crDefault); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

// Log lines quote at most this much of a text the host sent.
std::string Excerpt(const std::string& text) { return text.size() <= 64 ? text : text.substr(0, 64) + "..."; }

}  // namespace

bool TFrm_Main::PassesQualityGates() {
    if (DM->IsQuality != 1) return true;
    unsigned char* image = DM->MosaicBuffer.get();
    const int fq = DM->MOSAIC_FingerQuality(image, DM->ImageWidth, DM->ImageHeight);
    const int iq = DM->MOSAIC_ImageQuality(image, DM->ImageWidth, DM->ImageHeight);
    if (fq < DM->FQuality) {
        ShowWarning("指纹质量不合格\r当前指采集指纹质量为【" + IntToStr(fq) + "】\r指纹质量应该达到【" +
                    IntToStr(DM->FQuality) + "~100】之间");
        return false;
    }
    if (iq < DM->PQuality) {
        ShowWarning("图像质量不合格\r当前图像采集质量为【" + IntToStr(iq) + "】\r图像质量应该达到【" +
                    IntToStr(DM->PQuality) + "~100】之间");
        return false;
    }
    return true;
}

void TFrm_Main::Btn_CollectClick(TObject*) {
    if (!DM->DeviceStarted) {
        ShowWarning("设备未初始化,不能采集指纹");
        return;
    }
    PausedCollection paused;
    if (Img_View->Picture().Empty() || !FileExists(DM->PreviewPath())) return;
    const int slot = currentSlot_;
    if (!IsWholeGbkText(DM->PersonKey) || !IsWholeGbkText(DM->PersonName) ||
        !IsSafeFileNameIn(DM->TempFolder(), DM->PersonSlotFileName(slot))) {
        TSysOper::WriteLog("人员编号或姓名不能用作文件名,未保存指纹:" + Excerpt(DM->PersonKey + "$" + DM->PersonName));
        ShowWarning("人员编号或姓名中含有不能用于文件名的字符,不能保存指纹");
        return;
    }
    if (!PassesQualityGates()) return;
    if (!currentImage_) {
        ShowWarning("请选择要采集的手指");
        return;
    }
    // A failure to load or store reaches the default error report. The slot
    // takes the new picture only once both files are in place, so a failed
    // store leaves its thumbnail and its files as they were.
    auto finger = std::make_unique<TBitmap>();
    finger->LoadFromFile(DM->PreviewPath());
    DM->StoreSlotFiles(slot, finger->FileBytes());
    currentImage_->Picture().SetGraphic(std::move(finger));
    DM->SendMsgToActiveX(HOST_CODE_COLLECTED, slot);
    Img_View->Picture().Clear();
    SelectNextSlot();
}

void TFrm_Main::Btn_ClearClick(TObject*) {
    Img_View->Picture().Clear();
    DM->Func_DelFpInfo(-1);
    // A slot whose file the system would not delete (another program holds it open) keeps
    // its finger on screen and viewable, as Temp\ keeps it; the log names the file.
    for (int slot = 0; slot < static_cast<int>(slotImages_.size()); ++slot)
        if (!FileExists(DM->PlainSlotPath(slot))) slotImages_[slot]->Picture().Clear();
    SelectSlot(Img_Left1);
    Btn_View->SetEnabled(!Img_Left1->Picture().Empty());
}

void TFrm_Main::Btn_ViewClick(TObject*) {
    HourGlass busy;
    if (!currentImage_ || currentImage_->Picture().Empty()) return;
    try {
        const std::string bmp = DM->PlainSlotPath(currentSlot_);
        const std::string jpg = DM->TempFolder() + "EditImage.jpg";
        if (FileExists(bmp) && TImgOper::BmpToJpg(bmp, jpg)) TImgOper::ShowImage(jpg);
    } catch (const std::exception& e) {
        TSysOper::WriteLog("查看图片文件失败,错误:" + ExceptionMessage(e));
    }
}

void TFrm_Main::Btn_SysConfigClick(TObject*) {
    std::unique_ptr<TFrm_SysConfig> dialog(new TFrm_SysConfig(Application));
    dialog->ShowModal();
}

void TFrm_Main::Btn_CollectFinishClick(TObject*) { Close(); }
