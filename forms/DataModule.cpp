#include "forms/DataModule.h"

#include "common/SysOper.h"
#include "forms/FingerSlots.h"
#include "framework/StdCtrls.h"

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
    ActiveMsgId = RegisterWindowMessageA("ACTIVEMSG");
    FingerMsgId = RegisterWindowMessageA("FINGERMSG");
    CollectEnabled = true;
}

void TDM::ShowCurrentFinger(TCustomLabel* label, int slot) noexcept {
    try {
        if (!label) return;
        label->SetCaption(slot >= 0 && slot < 10 ? FINGER_SLOTS[slot].currentFinger : "");
    } catch (...) {
    }
}
