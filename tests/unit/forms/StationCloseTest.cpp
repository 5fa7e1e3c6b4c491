// The window's close arriving while a capture is under way: the close wins over the
// capture's pause, whenever that pause ends.
#include "MessageBoxWatcher.h"
#include "forms/MainFixture.h"

#include "common/PublicConst.h"

namespace {

int __stdcall PoorQuality(unsigned char*, int, int) { return 10; }

class StationCloseTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        // A started device with a finger image in the preview, and gates it fails.
        dm->DeviceStarted = true;
        dm->ImageWidth = dm->ImageHeight = 640;
        dm->MosaicBuffer.reset(new unsigned char[640 * 640]());
        dm->MOSAIC_FingerQuality = PoorQuality;
        dm->MOSAIC_ImageQuality = PoorQuality;
        dm->IsQuality = 1, dm->FQuality = 50, dm->PQuality = 50;
        dm->PersonKey = "1234", dm->PersonName = "XYZ";
        dm->CollectEnabled = true;
        Occupy(main->Img_View);
        folder.Write("Temp\\FPTemp.bmp", "a finger image");
        // The close handler runs as for any close; the test program itself goes on.
        main->OnClose = [this](TObject* sender, TCloseAction& action) {
            main->FormClose(sender, action);
            action = TCloseAction::caNone;
        };
    }
    void TearDown() override {
        dm->DeviceStarted = false;
        MainFixture::TearDown();
    }
};

}  // namespace

TEST_F(StationCloseTest, AHostCloseDuringTheQualityBoxKeepsFrameProcessingOff) {
    // The host's close command waits in the queue; the refusal's box handles it.
    PostMessageA(main->Handle(), dm->ActiveMsgId, HOST_CODE_CLOSE, 0);
    MessageBoxWatcher boxes;
    main->Btn_CollectClick(main->Btn_Collect);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text.rfind("指纹质量不合格", 0), 0u) << boxes.Seen()[0].text;
    EXPECT_TRUE(dm->StationClosing);
    EXPECT_FALSE(FileExists(dm->PreviewPath()));
    // The capture command's pause ended after the close: no frame may write the preview again.
    EXPECT_FALSE(dm->CollectEnabled);
}

TEST_F(StationCloseTest, APauseEndingAfterTheCloseLeavesProcessingOffAndBeforeItOn) {
    dm->PauseCollection();
    dm->ResumeCollection();
    EXPECT_TRUE(dm->CollectEnabled);
    dm->PauseCollection();
    main->Close();
    dm->ResumeCollection();
    EXPECT_FALSE(dm->CollectEnabled);
}
