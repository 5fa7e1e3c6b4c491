// The data module: the one holder of the state that the window, the capture
// thread and the host link share for the whole run.
#pragma once

#include "framework/Forms.h"

#include <atomic>
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

    // The scanner is open and the capture thread runs.
    bool DeviceStarted = false;
    // Frame processing switch: read by the capture thread on every frame,
    // switched by the GUI thread while it stores a finger.
    std::atomic<bool> CollectEnabled{false};

    // The person named by the host: parts of the person slot file names.
    std::string PersonKey;
    std::string PersonName;
};

extern TDM* DM;
