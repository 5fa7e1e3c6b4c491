#include "forms/DataModule.h"

#include "common/PublicConst.h"
#include "common/SysOper.h"
#include "forms/FingerSlots.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "framework/Thread.h"

TDM* DM = nullptr;

TDM::TDM(TComponent* owner) : TDataModule(owner) {
    SetName("DM");
    DM = this;
    OnCreate = [this](TObject* sender) { DataModuleCreate(sender); };
}

TDM::~TDM() {
    if (DM == this) DM = nullptr;
}

void TDM::DataModuleCreate(TObject*) {
    AppPath = TSysOper::GetAppPath();
    ActiveMsgId = RegisterWindowMessageA(kActiveMessageName);
    FingerMsgId = RegisterWindowMessageA(kFingerMessageName);
    CollectEnabled = true;
    // Every text, person name and file name of the station is GBK through the ANSI functions;
    // with another code page they all come out wrong. Said once, in the log: a box here would
    // hold up the host's start-up handshake.
    if (const UINT codePage = GetACP(); codePage != 936)
        TSysOper::WriteLog("系统的非Unicode程序代码页为" + IntToStr(static_cast<int>(codePage)) +
                           ",不是简体中文(936),程序的文字、日志和指纹文件名将不正确");
}

void TDM::PauseCollection() {
    // A stitch and a save of the preview file take a few milliseconds.
    constexpr DWORD kPassWaitMs = 2000;
    CollectEnabled = false;
    const DWORD since = GetTickCount();
    while (CollectPassBusy && GetTickCount() - since < kPassWaitMs) {
        // The frame may be waiting for this thread to show its preview.
        TThread::HandleSynchronize();
        Sleep(1);
    }
}

void TDM::ResumeCollection() { CollectEnabled = !StationClosing; }

void TDM::ShowCurrentFinger(TCustomLabel* label, int slot) noexcept {
    try {
        if (!label) return;
        label->SetCaption(slot >= 0 && slot < 10 ? kFingerSlots[slot].currentFinger : "");
    } catch (...) {
    }
}
