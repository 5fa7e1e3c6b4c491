// Starting the scanner when the capture window is first shown, and closing
// it when the capture thread has ended.
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "forms/Main.h"

#include <functional>

namespace {

template <typename Fn>
void Bind(TDeviceEntry<Fn>& entry, HMODULE library, const char* name) {
    entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void TFrm_Main::FormShow(TObject*) {
    try {
        if (!LoadConfig()) {
            ShowFailure("初始化设备参数失败");
            return;
        }
        if (DM->DeviceStarted) return;
        if (LoadDeviceLibs() != 1) return;
        if (BindDeviceFuncs() != 1) return;
        if (InitDevice() != 1) return;
        const size_t frameBytes = static_cast<size_t>(DM->ImageWidth) * DM->ImageHeight;
        DM->RawBuffer.reset(new unsigned char[frameBytes]);
        DM->MosaicBuffer.reset(new unsigned char[frameBytes]);
        CaptureThread = new TCollectThread(Img_View);
        CaptureThread->OnTerminate = [this](TObject* sender) { CollectThreadTerminate(sender); };
        CaptureThread->Start();
        DM->DeviceStarted = true;
        SelectSlot(Img_Left1);
    } catch (const std::exception& e) {
        TSysOper::WriteLog("初始化设备失败,函数KV90窗体显示事件中错误:" + ExceptionMessage(e));
    }
}

int TFrm_Main::LoadDeviceLibs() {
    try {
        // Dependencies of a library are looked for beside it first.
        DM->CaptureLib =
            LoadLibraryExA((DM->AppPath + "KV90DLL\\GALS7302.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        DM->MosaicLib =
            LoadLibraryExA((DM->AppPath + "KV90DLL\\GAMC7302.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!DM->CaptureLib) {
            ShowFailure("加载指纹采集动态库失败");
            return -1;
        }
        if (!DM->MosaicLib) {
            ShowFailure("加载指纹拼接动态库失败");
            return -2;
        }
        return 1;
    } catch (const std::exception& e) {
        TSysOper::WriteLog("加载KV90指纹采集动态库失败,错误：" + ExceptionMessage(e));
        return 0;
    }
}

int TFrm_Main::BindDeviceFuncs() {
    try {
        HMODULE capture = DM->CaptureLib, mosaic = DM->MosaicLib;
        Bind(DM->LIVESCAN_Init, capture, "LIVESCAN_Init");
        Bind(DM->LIVESCAN_Close, capture, "LIVESCAN_Close");
        Bind(DM->LIVESCAN_SetVideoWindow, capture, "LIVESCAN_SetVideoWindow");
        Bind(DM->LIVESCAN_SetCaptWindow, capture, "LIVESCAN_SetCaptWindow");
        Bind(DM->LIVESCAN_SaveToFile, capture, "LIVESCAN_SaveToFile");
        Bind(DM->LIVESCAN_BeginCapture, capture, "LIVESCAN_BeginCapture");
        Bind(DM->LIVESCAN_GetFPRawData, capture, "LIVESCAN_GetFPRawData");
        Bind(DM->LIVESCAN_EndCapture, capture, "LIVESCAN_EndCapture");
        Bind(DM->LIVESCAN_GetErrorInfo, capture, "LIVESCAN_GetErrorInfo");
        Bind(DM->LIVESCAN_GetBright, capture, "LIVESCAN_GetBright");
        Bind(DM->LIVESCAN_SetBright, capture, "LIVESCAN_SetBright");
        Bind(DM->LIVESCAN_GetContrast, capture, "LIVESCAN_GetContrast");
        Bind(DM->LIVESCAN_SetContrast, capture, "LIVESCAN_SetContrast");
        Bind(DM->MOSAIC_Init, mosaic, "MOSAIC_Init");
        Bind(DM->MOSAIC_Close, mosaic, "MOSAIC_Close");
        Bind(DM->MOSAIC_FingerQuality, mosaic, "MOSAIC_FingerQuality");
        Bind(DM->MOSAIC_ImageQuality, mosaic, "MOSAIC_ImageQuality");
        Bind(DM->MOSAIC_SetRollMode, mosaic, "MOSAIC_SetRollMode");
        Bind(DM->MOSAIC_IsFinger, mosaic, "MOSAIC_IsFinger");
        Bind(DM->MOSAIC_Start, mosaic, "MOSAIC_Start");
        Bind(DM->MOSAIC_DoMosaic, mosaic, "MOSAIC_DoMosaic");
        Bind(DM->MOSAIC_Stop, mosaic, "MOSAIC_Stop");
        return 1;
    } catch (const std::exception& e) {
        ShowFailure("初始化KV90指纹采集函数地址失败");
        TSysOper::WriteLog("初始化KV90指纹采集函数地址失败" + ExceptionMessage(e));
        return 0;
    }
}

int TFrm_Main::InitDevice() {
    try {
        if (DM->LIVESCAN_Init() != 1) {
            ShowFailure("打开KV90采集仪失败");
            return -1;
        }
        if (DM->MOSAIC_Init() != 1) {
            ShowFailure("初始化指纹拼接接口失败");
            return -2;
        }
        if (DM->LIVESCAN_SetVideoWindow(Pnl_View->Handle()) != 1) {
            ShowFailure("设置预览窗口失败");
            return -3;
        }
        if (DM->Bright != 0) DM->LIVESCAN_SetBright(0, DM->Bright);
        if (DM->Contrast != 0) DM->LIVESCAN_SetContrast(0, DM->Contrast);
        return 1;
    } catch (const std::exception& e) {
        ShowFailure("初始化KV90指纹采集设备失败");
        TSysOper::WriteLog("初始化KV90指纹采集设备失败:" + ExceptionMessage(e));
        return 0;
    }
}

void TFrm_Main::CollectThreadTerminate(TObject*) {
    // Each device step is tried on its own, so that a library that fails while closing
    // neither keeps the other one open nor the program from ending.
    const auto step = [](const std::function<int()>& close) {
        try {
            close();
        } catch (const std::exception& e) {
            TSysOper::WriteLog("关闭窗体失败,错误:" + ExceptionMessage(e));
        }
    };
    // A thread that ended on its own (the device was lost) leaves the host to be told
    // here, on this thread, as every notification is; after a close it was told already.
    DM->TellHostClosing();
    DM->CollectEnabled = false;
    if (DM->MosaicLib) {
        step([] { return DM->MOSAIC_Stop(); });
        step([] { return DM->MOSAIC_Close(); });
    }
    Sleep(100);
    if (DM->CaptureLib) step([] { return DM->LIVESCAN_Close(); });
    Sleep(100);
    DM->MosaicBuffer.reset();
    DM->RawBuffer.reset();
    // The vendor's libraries may still be finishing work of their own after they return.
    Sleep(100);
    DM->DeviceStarted = false;
    CaptureThread = nullptr;  // the thread frees itself once this handler returns
    Application->Terminate();
    Screen->SetCursor(crDefault);
}
