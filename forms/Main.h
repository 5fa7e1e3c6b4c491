// The capture window: the preview area on the left, the ten finger slots on
// the right, the status line and the operator's buttons.
#pragma once

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include "device/CollectThread.h"
#include "skin/engine/SkinEngine.h"

#include <array>
#include <string>

class TFrm_Main : public TForm {
    KV90_CLASS(TFrm_Main, TForm)
public:
    explicit TFrm_Main(TComponent* owner);

    // event handlers
    void Btn_CollectClick(TObject* sender);
    void Btn_ClearClick(TObject* sender);
    void Btn_ViewClick(TObject* sender);
    void Btn_SysConfigClick(TObject* sender);
    void Btn_CollectFinishClick(TObject* sender);
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    // Reads the six settings into the data module; false (with the fallback
    // values and a log line) when a value is not a number.
    bool LoadConfig();
    // The gates on at 50 and 75 and roll mode 1: what a settings file that cannot be used gives.
    void UseStandardSettings();

    // device start-up: 1 on success, a negative step number or 0 on failure
    int LoadDeviceLibs();
    int BindDeviceFuncs();
    int InitDevice();
    // Runs on the GUI thread when the capture thread has ended: closes the
    // device, frees the frame buffers and ends the program.
    void CollectThreadTerminate(TObject* sender);

    // host link
    bool CreateMapFile();
    void Mymessage(TMessage& message);

    // slot selection
    void InitSlotImages();
    void SelectSlot(TImage* image);
    void SlotDblClick(TObject* sender);
    void SelectNextSlot();
    void ShowFailure(const std::string& text);

    TImage* CurrentImage() const { return currentImage_; }
    int CurrentSlot() const { return currentSlot_; }
    TImage* SlotImage(int slot) const { return slotImages_.at(slot); }
    // The quality gates; true when the finger may be stored (the operator was told otherwise).
    bool PassesQualityGates();
    TCollectThread* CaptureThread = nullptr;

    // components, in creation order
    TPanel* Panel11;
    TLabel* Label1;
    TBevel* Bevel11;
    TPanel* Pnl_View;
    TImage* Img_View;
    TPanel* Panel1;
    TPanel* Panel2;
    TPanel* Panel3;
    TPanel* Panel4;
    TPanel* Panel5;
    TPanel* Panel6;
    TPanel* Panel7;
    TPanel* Panel8;
    TPanel* Panel9;
    TPanel* Panel10;
    TImage* Img_Left1;
    TImage* Img_Left2;
    TImage* Img_Left3;
    TImage* Img_Left4;
    TImage* Img_Left5;
    TImage* Img_Right1;
    TImage* Img_Right2;
    TImage* Img_Right3;
    TImage* Img_Right4;
    TImage* Img_Right5;
    TLabel* Lb_Info;
    TButton* Btn_Collect;
    TButton* Btn_Clear;
    TButton* Btn_View;
    TButton* Btn_SysConfig;
    TButton* Btn_CollectFinish;
    TSkinEngine* SkinEngine1;

protected:
    // Sees every message of the window before the framework does: the host's close command.
    void WndProc(TMessage& message) override;

private:
    void BuildControls();
    TPanel* MakeFramedPanel(const char* name, TWinControl* parent, int left, int top, int width, int height);
    TLabel* MakeStripLabel(const char* name, TPanel* panel, const char* text);
    TBevel* MakeStripBevel(const char* name, TPanel* panel);
    TButton* MakeButton(const char* name, const char* caption, int left, bool enabled);

    std::array<TImage*, 10> slotImages_{};
    TImage* currentImage_ = nullptr;
    int currentSlot_ = 0;
};

extern TFrm_Main* Frm_Main;
