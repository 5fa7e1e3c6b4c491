// The capture loop against a scripted scanner: which library calls it makes
// on which frame, and the preview changes it has the GUI thread make.
#include "MessageBoxWatcher.h"
#include "Pump.h"
#include "device/ScriptedDevice.h"
#include "forms/MainFixture.h"
#include "images/ImageTestFiles.h"

#include "device/CollectThread.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <map>

namespace {

using Journal = std::vector<std::string>;

class CollectThreadTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        ScriptedDevice::Reset();
        dm->ImageWidth = 640;
        dm->ImageHeight = 640;
        dm->RawBuffer.reset(new unsigned char[640 * 640]);
        dm->MosaicBuffer.reset(new unsigned char[640 * 640]);
        ScriptedDevice::Bind(*dm, script);
        main->Img_View->Picture().OnChange = [this] {
            ScriptedDevice::Note(main->Img_View->Picture().Empty() ? "Clear" : "Show");
        };
    }

    // A worker still running after a failed wait draws on the form: it is stopped before the form goes,
    // and if it will not stop, the form and the data module are left to it instead of being freed.
    void TearDown() override {
        if (TThread::LiveThreads() != 0) {
            ScriptedDevice::EndLoop();
            if (gate) SetEvent(gate.Get());
            if (!PumpUntil([] { return TThread::LiveThreads() == 0; }, kWaitMs)) {
                ADD_FAILURE() << "a capture thread is still running at the end of the test";
                main = nullptr;
                dm = nullptr;
            }
        }
        MainFixture::TearDown();
    }

    // Starts a worker and handles messages until its termination handler has run and it is gone.
    void RunToEnd() {
        auto thread = new TCollectThread(main->Img_View);
        thread->OnTerminate = [](TObject*) { ScriptedDevice::Note("Terminated"); };
        thread->Start();
        ASSERT_TRUE(PumpUntil([] { return TThread::LiveThreads() == 0; }, kWaitMs));
    }

    // How long a worker is waited for before the test fails.
    static constexpr DWORD kWaitMs = 20000;

    // The loop's journal without the worker's preparation and the Begin and End of every frame.
    static Journal Events() {
        Journal all = ScriptedDevice::Journal(), events;
        std::copy_if(all.begin(), all.end(), std::back_inserter(events), [](const std::string& e) {
            return e != "Begin" && e != "End" && e != "SetCaptWindow" && e != "SetRollMode";
        });
        return events;
    }

    static size_t Count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t p = 0; (p = text.find(part, p)) != std::string::npos; p += part.size()) ++n;
        return n;
    }

    DeviceScript script;
    UniqueHandle gate;  // what a fetch waits for, when a test holds the fetches
};

}  // namespace

TEST_F(CollectThreadTest, WithoutAFingerNoMosaicRunStarts) {
    script.begin = {1, 1, 1};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch", "IsFinger", "Fetch", "IsFinger", "Fetch", "IsFinger", "Terminated"}));
    EXPECT_TRUE(main->Img_View->Picture().Empty());
}

TEST_F(CollectThreadTest, AFingerStartsARunThatShowsEachNewImageAndClearsWhenLifted) {
    script.begin = {1, 1, 1, 1, 1};
    script.isFinger = {1};
    script.doMosaic = {2, 1, 0};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch", "IsFinger", "Start",          // the finding frame only starts
                                 "Fetch", "DoMosaic",                   // 2: nothing new
                                 "Fetch", "DoMosaic", "Save", "Show",   // 1: a new image
                                 "Fetch", "DoMosaic", "Stop", "Clear",  // 0: lifted
                                 "Fetch", "IsFinger", "Terminated"}));
    EXPECT_EQ(script.savePath, folder.Path() + "Temp\\FPTemp.bmp");
}

TEST_F(CollectThreadTest, AMalformedPreviewFileKeepsThePreviousPictureAndIsLogged) {
    // A 640 x 640 grey bitmap as the capture library writes it, then damaged.
    const std::string grey = imagetest::GreyBmp(640, 640);
    std::map<std::string, std::string> damaged;
    for (const auto& d : imagetest::DamagedBitmaps(grey)) damaged[d.name] = d.bytes;

    script.begin = std::deque<int>(8, 1);
    script.isFinger = {1};
    script.doMosaic = {1, 1, 1, 1, 1, 1, 1};
    script.saves = {grey,
                    damaged["half.bmp"],
                    damaged["100.bmp"],
                    damaged["jpeg.bmp"],
                    damaged["zero.bmp"],
                    damaged["huge.bmp"],
                    damaged["far.bmp"]};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch",    "IsFinger", "Start",    "Fetch",    "DoMosaic",  "Save",  "Show",
                                 "Fetch",    "DoMosaic", "Save",     "Fetch",    "DoMosaic",  "Save",  "Fetch",
                                 "DoMosaic", "Save",     "Fetch",    "DoMosaic", "Save",      "Fetch", "DoMosaic",
                                 "Save",     "Fetch",    "DoMosaic", "Save",     "Terminated"}));
    ASSERT_FALSE(main->Img_View->Picture().Empty());
    EXPECT_EQ(main->Img_View->Picture().Graphic()->Width(), 640);
    const std::string file = "\"" + folder.Path() + "Temp\\FPTemp.bmp\" ";
    const std::string log = Log();
    for (const std::string& line :
         {"指纹拼接错误:Bitmap file " + file + "is truncated", "指纹拼接错误:File " + file + "is not a bitmap file",
          "指纹拼接错误:Bitmap file " + file + "has an invalid bitmap header",
          "指纹拼接错误:Bitmap file " + file + "is too large"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
    // One line for each damaged file; the second of the two truncated files in a row is counted instead.
    size_t lines = 0;
    for (size_t p = 0; (p = log.find(" : 指纹拼接错误:", p)) != std::string::npos; ++p) ++lines;
    EXPECT_EQ(lines, 5u) << log;
    EXPECT_NE(log.find(" : 上一条信息又重复出现1次:指纹拼接错误:Bitmap file " + file + "is truncated"),
              std::string::npos)
        << log;
}

TEST_F(CollectThreadTest, ARunIsHeldNotStoppedWhileProcessingIsSwitchedOff) {
    script.begin = {1, 1, 1, 1, 1};
    script.collect = {1, 0, 0, 1, 1};
    script.isFinger = {1};
    script.doMosaic = {1, 0};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch", "IsFinger", "Start", "Fetch", "Fetch", "Fetch", "DoMosaic", "Save", "Show",
                                 "Fetch", "DoMosaic", "Stop", "Clear", "Terminated"}));
}

TEST_F(CollectThreadTest, AFailedFetchEndsTheRunEvenWhileProcessingIsOff) {
    script.begin = {1, 1, 1, 1, 1};
    script.collect = {1, 0, 1, 1, 1};
    script.fetch = {1, 0, 1, 1, 1};
    script.isFinger = {1, 1};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch", "IsFinger", "Start", "Fetch", "Stop", "Clear", "Fetch", "IsFinger", "Start",
                                 "Fetch", "DoMosaic", "Fetch", "DoMosaic", "Terminated"}));
}

TEST_F(CollectThreadTest, AFaultOnEveryFrameIsLoggedOnceThenCountedAndTheLoopGoesOn) {
    script.begin = {1, 1, 1};
    script.faultEveryFetch = true;
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), (Journal{"Fetch", "Fetch", "Fetch", "Terminated"}));
    const std::string log = Log();
    EXPECT_EQ(Count(log, "采集指纹出错:Access violation"), 2u) << log;  // the line, and its count when the loop ends
    EXPECT_EQ(Count(log, "上一条信息又重复出现2次:采集指纹出错:Access violation"), 1u) << log;
}

TEST_F(CollectThreadTest, AFaultInTheMosaicStepIsLoggedAndAMissingPreviewFileKeepsThePicture) {
    script.begin = {1, 1, 1, 1};
    script.isFinger = {1};
    script.doMosaic = {1, 1};
    script.saveWrites = {1, 0};
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    // The second image was not written: the first stays in the preview.
    EXPECT_EQ(Events(), (Journal{"Fetch", "IsFinger", "Start", "Fetch", "DoMosaic", "Save", "Show", "Fetch", "DoMosaic",
                                 "Save", "Fetch", "DoMosaic", "Terminated"}));
    EXPECT_FALSE(main->Img_View->Picture().Empty());

    ScriptedDevice::Reset();
    script.begin = {1, 1};
    script.isFinger = {1};
    script.faultInDoMosaic = true;
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Count(Log(), "指纹拼接错误:Access violation"), 1u) << Log();
}

TEST_F(CollectThreadTest, AFailingBeginCaptureEndsTheLoopWithALogLineAndLeavesTheHostToTheGuiThread) {
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_EQ(Events(), Journal{"Terminated"});
    const std::string log = Log();
    EXPECT_NE(log.find("采集设备开始采集失败,返回值0,采集程序退出"), std::string::npos) << log;
    // The thread tells the host nothing itself: the termination handler does, on the GUI thread.
    EXPECT_EQ(log.find("异步发送消息到ActiveX控件中失败"), std::string::npos) << log;

    ScriptedDevice::Reset();
    dm->LIVESCAN_BeginCapture = nullptr;
    ASSERT_NO_FATAL_FAILURE(RunToEnd());
    EXPECT_NE(Log().find("采集设备缺少开始采集函数LIVESCAN_BeginCapture,采集程序退出"), std::string::npos) << Log();
}

TEST_F(CollectThreadTest, AFaultWhilePreparingTheThreadIsLoggedAndMakesNoThread) {
    script.faultInSetCaptWindow = true;
    TCollectThread broken(main->Img_View);
    EXPECT_THROW(broken.Start(), Exception);
    EXPECT_NE(Log().find("线程创建失败,错误:Access violation"), std::string::npos) << Log();
    EXPECT_EQ(TThread::LiveThreads(), 0);
}

TEST_F(CollectThreadTest, ATerminateRequestTakesEffectAfterTheBlockedFetch) {
    script.begin = std::deque<int>(100, 1);
    gate.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    script.fetchGate = gate.Get();
    auto thread = new TCollectThread(main->Img_View);
    thread->OnTerminate = [](TObject*) { ScriptedDevice::Note("Terminated"); };
    thread->Start();
    ASSERT_TRUE(PumpUntil(
        [] { return !ScriptedDevice::Journal().empty() && ScriptedDevice::Journal().back() == "Fetch"; }, kWaitMs));
    thread->Terminate();
    SetEvent(gate.Get());
    ASSERT_TRUE(PumpUntil([] { return TThread::LiveThreads() == 0; }, kWaitMs));
    EXPECT_EQ(ScriptedDevice::Journal(),
              (Journal{"SetCaptWindow", "SetRollMode", "Begin", "Fetch", "End", "IsFinger", "Terminated"}));
}

TEST_F(CollectThreadTest, ARefusedCaptureSizeOrRollModeTellsTheOperatorAndMakesNoThread) {
    {
        MessageBoxWatcher boxes;
        script.setCaptWindow = 0;
        TCollectThread refused(main->Img_View);
        EXPECT_THROW(refused.Start(), Exception);
        script.setCaptWindow = 1;
        script.setRollMode = -1;
        TCollectThread refusedMode(main->Img_View);
        EXPECT_THROW(refusedMode.Start(), Exception);
        const auto seen = boxes.Seen();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].text, "设置图像采集大小失败");
        EXPECT_EQ(seen[0].caption, "提示");
        EXPECT_EQ(seen[1].text, "设置拼接模式失败");
    }
    EXPECT_EQ(ScriptedDevice::Journal(), (Journal{"SetCaptWindow", "SetCaptWindow", "SetRollMode"}));
    EXPECT_EQ(TThread::LiveThreads(), 0);
}

TEST(DeviceEntry, AnEmptyEntryIsNeverCalledAndCountsAsFailure) {
    TDeviceEntry<TLIVESCAN_Init> init;
    EXPECT_FALSE(init.Assigned());
    EXPECT_EQ(init(), 0);
    TDeviceEntry<TMOSAIC_SetRollMode> rollMode(-1);
    EXPECT_LT(rollMode(1), 0);
}
