#include "device/CollectThread.h"

#include "common/Prompts.h"
#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/ExtCtrls.h"
#include "framework/SysUtils.h"

namespace {

// Marks one frame's work on the stitched image and the preview file.
class PassInProgress {
public:
    explicit PassInProgress(std::atomic<bool>& busy) : busy_(busy) { busy_ = true; }
    ~PassInProgress() { busy_ = false; }
    PassInProgress(const PassInProgress&) = delete;
    PassInProgress& operator=(const PassInProgress&) = delete;

private:
    std::atomic<bool>& busy_;
};

}  // namespace

TCollectThread::TCollectThread(TImage* previewImage) : previewImage_(previewImage) {
    try {
        previewPath_ = DM->PreviewPath();
        if (DM->LIVESCAN_SetCaptWindow(0, 0, 0, DM->ImageWidth, DM->ImageHeight) != 1) {
            ShowWarning("设置图像采集大小失败");
            Terminate();
            return;
        }
        if (DM->MOSAIC_SetRollMode(DM->RollMode) < 0) {
            ShowWarning("设置拼接模式失败");
            Terminate();
            return;
        }
        FreeOnTerminate = true;
        CreateSuspended();
    } catch (const std::exception& e) {
        TSysOper::WriteLog("线程创建失败,错误:" + ExceptionMessage(e));
    }
}

void TCollectThread::Execute() {
    bool mosaicStarted = false;
    try {
        unsigned char* raw = DM->RawBuffer.get();
        unsigned char* mosaic = DM->MosaicBuffer.get();
        const int width = DM->ImageWidth, height = DM->ImageHeight;
        while (!Terminated()) {
            try {
                const int begun = DM->LIVESCAN_BeginCapture(0);
                if (begun != 1) {
                    ReportLostDevice(begun);
                    break;
                }
                const int fetched = DM->LIVESCAN_GetFPRawData(0, raw);
                DM->LIVESCAN_EndCapture(0);
                if (fetched != 1) {
                    mosaicStarted = false;
                    DM->MOSAIC_Stop();
                    ClearPreview();
                    continue;
                }
                const PassInProgress pass(DM->CollectPassBusy);
                if (!DM->CollectEnabled) continue;
                if (!mosaicStarted) {
                    // The frame on which the finger is found only starts the run.
                    if (DM->MOSAIC_IsFinger(raw, width, height) > 0) {
                        mosaicStarted = true;
                        DM->MOSAIC_Start(mosaic, width, height);
                    }
                } else {
                    MosaicStep(mosaicStarted);
                }
            } catch (const std::exception& e) {
                log_.Write("采集指纹出错:" + ExceptionMessage(e));
            }
        }
    } catch (const std::exception& e) {
        log_.Write("采集指纹出错:" + ExceptionMessage(e));
    }
    log_.Flush();
}

// The loop ends with the device and the program ends with it: the termination
// handler, on the GUI thread, tells the host and closes the window's side.
void TCollectThread::ReportLostDevice(int result) {
    log_.Write(DM->LIVESCAN_BeginCapture.Assigned()
                   ? "采集设备开始采集失败,返回值" + IntToStr(result) + ",采集程序退出"
                   : std::string("采集设备缺少开始采集函数LIVESCAN_BeginCapture,采集程序退出"));
}

void TCollectThread::MosaicStep(bool& mosaicStarted) {
    try {
        const int r = DM->MOSAIC_DoMosaic(DM->RawBuffer.get(), DM->ImageWidth, DM->ImageHeight);
        if (r < 1) {
            mosaicStarted = false;
            DM->MOSAIC_Stop();
            ClearPreview();
        } else if (r == 1) {
            DM->LIVESCAN_SaveToFile(DM->MosaicBuffer.get(), DM->ImageWidth, DM->ImageHeight, previewPath_.c_str(), 0);
            if (FileExists(previewPath_)) ShowPreviewFile();
        }
    } catch (const std::exception& e) {
        log_.Write("指纹拼接错误:" + ExceptionMessage(e));
    }
}

void TCollectThread::ClearPreview() {
    Synchronize([this] { previewImage_->Picture().Clear(); });
}

void TCollectThread::ShowPreviewFile() {
    Synchronize([this] {
        previewImage_->Picture().LoadFromFile(previewPath_);
        previewImage_->Repaint();
    });
}
