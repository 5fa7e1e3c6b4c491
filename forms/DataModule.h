// The data module: the one holder of the state that the window, the capture
// thread and the host link share for the whole run.
#pragma once

#include "device/DeviceApi.h"
#include "device/DeviceGuard.h"
#include "framework/Forms.h"
#include "framework/Handles.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class TCustomLabel;

class TDM : public TDataModule {
    KV90_CLASS(TDM, TDataModule)
public:
    explicit TDM(TComponent* owner);
    ~TDM() override;

    void DataModuleCreate(TObject* sender);

    // Sets the label to the slot's current-finger text; empty for a number
    // outside 0 to 9. Never raises.
    void ShowCurrentFinger(TCustomLabel* label, int slot) noexcept;

    // Program folder, taken once at creation.
    std::string AppPath;

    // Settings from the configuration file, and the fixed capture size.
    int RollMode = 0;
    int IsQuality = 0;
    int FQuality = 0;
    int PQuality = 0;
    int Bright = 0;
    int Contrast = 0;
    int ImageWidth = 0;
    int ImageHeight = 0;

    // The scanner's two libraries, loaded from KV90DLL\ and never unloaded.
    HMODULE CaptureLib = nullptr;
    HMODULE MosaicLib = nullptr;
    TDeviceEntry<TLIVESCAN_Init> LIVESCAN_Init;
    TDeviceEntry<TLIVESCAN_Close> LIVESCAN_Close;
    TDeviceEntry<TLIVESCAN_SetVideoWindow> LIVESCAN_SetVideoWindow;
    TDeviceEntry<TLIVESCAN_SetCaptWindow> LIVESCAN_SetCaptWindow;
    TDeviceEntry<TLIVESCAN_SaveToFile> LIVESCAN_SaveToFile;
    TDeviceEntry<TLIVESCAN_BeginCapture> LIVESCAN_BeginCapture;
    TDeviceEntry<TLIVESCAN_GetFPRawData> LIVESCAN_GetFPRawData;
    TDeviceEntry<TLIVESCAN_EndCapture> LIVESCAN_EndCapture;
    TDeviceEntry<TLIVESCAN_GetErrorInfo> LIVESCAN_GetErrorInfo;
    TDeviceEntry<TLIVESCAN_GetBright> LIVESCAN_GetBright;
    TDeviceEntry<TLIVESCAN_SetBright> LIVESCAN_SetBright;
    TDeviceEntry<TLIVESCAN_GetContrast> LIVESCAN_GetContrast;
    TDeviceEntry<TLIVESCAN_SetContrast> LIVESCAN_SetContrast;
    TDeviceEntry<TMOSAIC_Init> MOSAIC_Init;
    TDeviceEntry<TMOSAIC_Close> MOSAIC_Close;
    TDeviceEntry<TMOSAIC_FingerQuality> MOSAIC_FingerQuality;
    TDeviceEntry<TMOSAIC_ImageQuality> MOSAIC_ImageQuality;
    TDeviceEntry<TMOSAIC_SetRollMode> MOSAIC_SetRollMode{-1};  // success is 0 or more
    TDeviceEntry<TMOSAIC_IsFinger> MOSAIC_IsFinger;
    TDeviceEntry<TMOSAIC_Start> MOSAIC_Start;
    TDeviceEntry<TMOSAIC_DoMosaic> MOSAIC_DoMosaic;
    TDeviceEntry<TMOSAIC_Stop> MOSAIC_Stop;

    // The latest raw frame and the stitched finger image, ImageWidth x ImageHeight bytes each.
    std::unique_ptr<unsigned char[]> RawBuffer;
    std::unique_ptr<unsigned char[]> MosaicBuffer;

    // The scanner is open and the capture thread runs.
    bool DeviceStarted = false;
    // Frame processing switch: read by the capture thread on every frame,
    // switched by the GUI thread while it stores a finger.
    std::atomic<bool> CollectEnabled{false};
    // Set by the capture thread for as long as one frame's work may touch the
    // stitched image or the preview file; raised before it reads CollectEnabled,
    // so that once the GUI thread has cleared that switch and sees this one
    // down, the thread stays off both until the switch is back on.
    std::atomic<bool> CollectPassBusy{false};
    // Switches frame processing off and waits, briefly, until the capture thread is
    // between frames, so that the preview file and the stitched image hold still.
    void PauseCollection();
    // Ends a pause: frame processing goes on, unless the station has begun to close
    // meanwhile (a close can run inside a paused command's message box or host wait),
    // for no frame may write the preview file again once the close has deleted it.
    void ResumeCollection();
    // Set by the first close of the capture window, never cleared: the station is ending.
    bool StationClosing = false;

    // Host link: the registered messages, the host's window and the
    // program's own shared block with its view, mapped while the data module
    // lives (until the program ends).
    UINT ActiveMsgId = 0;
    UINT FingerMsgId = 0;
    HWND HostWnd = nullptr;
    UniqueHandle CollectMapHandle;
    MappedView CollectMapView;
    // Closes the handle of the program's shared block (once, however often the window
    // closes). The view stays mapped until the program exits, so that the block lives on
    // for as long as a host that opened it holds it and the station runs.
    void CloseCollectMap() { CollectMapHandle.Reset(); }
    // Delivers a notification to the host: posted, or sent and waited for.
    void PostMsgToActiveX(int code, int value);
    void SendMsgToActiveX(int code, int value);
    // Posts the close notification, once for the station's window however many
    // closes and endings follow; false when it had been posted already.
    bool TellHostClosing();
    bool HostToldClosing = false;

    // Finger image files under Temp\: "N.bmp" for slot N (empty outside 0 to 9),
    // and the paths of the plain and person slot files, the plain file's JPEG
    // companion and the preview file.
    std::string Func_GetFpFileName(int slot) const;
    std::string PlainSlotPath(int slot) const;
    std::string CompanionPath(int slot) const;
    std::string PersonSlotFileName(int slot) const;
    std::string PersonSlotPath(int slot) const;
    std::string TempFolder() const { return AppPath + "Temp\\"; }
    std::string PreviewPath() const;
    // Deletes the plain slot files and companions of one slot (-1: all) and the preview file.
    // Never raises.
    void Func_DelFpInfo(int slot);
    // How Func_DelFpInfo deletes one file: false with the system's last error when
    // refused. The system's deletion; a test puts a failing one in its place.
    std::function<bool(const std::string&)> DeleteImageFile = [](const std::string& path) {
        return DeleteFileA(path.c_str()) != 0;
    };
    // Stores a finger's .bmp file as the slot's plain and person files: both
    // are replaced together, whole, or neither is (see StagedFile.h), so that
    // a finger the host was told of stays on disk until the new one is. The
    // slot's companion, made from the old finger, goes once they are. Raises
    // EFileError naming the file and the reason.
    void StoreSlotFiles(int slot, const std::string& bytes);

    // The person named by the host: parts of the person slot file names.
    std::string PersonKey;
    std::string PersonName;
};

extern TDM* DM;
