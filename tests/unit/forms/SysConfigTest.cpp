// The settings dialog against a scripted scanner: what it shows, what it
// refuses, and what it writes.
#include "MessageBoxWatcher.h"
#include "forms/MainFixture.h"

#include "common/FileOper.h"
#include "forms/SysConfig.h"

#include <memory>

namespace {

int g_bright = 0, g_contrast = 0, g_getResult = 1, g_setBrightResult = 1;
std::vector<std::string> g_calls;

int __stdcall GetBright(int, int* v) {
    *v = g_bright;
    return g_getResult;
}
int __stdcall GetContrast(int, int* v) {
    *v = g_contrast;
    return g_getResult;
}
int __stdcall SetBright(int, int v) {
    g_calls.push_back("SetBright " + std::to_string(v));
    return g_setBrightResult;
}
int __stdcall SetContrast(int, int v) {
    g_calls.push_back("SetContrast " + std::to_string(v));
    return 1;
}

class SysConfigTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        g_bright = 120, g_contrast = 300, g_getResult = 1, g_setBrightResult = 1;
        g_calls.clear();
        dm->LIVESCAN_GetBright = GetBright;
        dm->LIVESCAN_GetContrast = GetContrast;
        dm->LIVESCAN_SetBright = SetBright;
        dm->LIVESCAN_SetContrast = SetContrast;
        dm->IsQuality = 1, dm->FQuality = 50, dm->PQuality = 60;
        dialog.reset(new TFrm_SysConfig(nullptr));
        dialog->HandleNeeded();
        dialog->FormShow(dialog.get());
    }
    void TearDown() override {
        dialog.reset();
        MainFixture::TearDown();
    }
    std::string Ini(const char* key) {
        std::string value;
        TFileOper::ReadIniValue(folder.Path() + "Config\\Config.ini", "KV90", key, value);
        return value;
    }
    // Saves with the box ticked or not and the two quality texts; returns the boxes shown.
    std::vector<SeenBox> Save(bool gates, const std::string& f, const std::string& p) {
        dialog->Chb_IsQuality->SetChecked(gates);
        dialog->Ed_FQuality->SetText(f);
        dialog->Ed_PQuality->SetText(p);
        MessageBoxWatcher boxes;
        dialog->Btn_SaveClick(dialog.get());
        return boxes.Seen();
    }
    std::unique_ptr<TFrm_SysConfig> dialog;
};

}  // namespace

TEST_F(SysConfigTest, OpensWithTheDevicesValuesClampedAndTheGatesFromTheSettings) {
    EXPECT_EQ(dialog->Tb_Bright->Position(), 120);
    EXPECT_EQ(dialog->Ed_Bright->Text(), "120");
    EXPECT_EQ(dialog->Tb_Contrast->Position(), 255);
    EXPECT_EQ(dialog->Ed_Contrast->Text(), "255");
    EXPECT_TRUE(dialog->Chb_IsQuality->Checked());
    EXPECT_EQ(dialog->Ed_FQuality->Text(), "50");
    EXPECT_EQ(dialog->Ed_PQuality->Text(), "60");
    EXPECT_TRUE(dialog->Ed_FQuality->Enabled());
    dialog->Chb_IsQuality->SetChecked(false);
    EXPECT_FALSE(dialog->Ed_FQuality->Enabled());
    EXPECT_FALSE(dialog->Ed_PQuality->Enabled());
}

TEST_F(SysConfigTest, AFailedDeviceReadLeavesTheSliderAtZero) {
    g_getResult = 0;
    TFrm_SysConfig fresh(nullptr);
    fresh.HandleNeeded();
    fresh.FormShow(&fresh);
    EXPECT_EQ(fresh.Tb_Bright->Position(), 0);
    EXPECT_EQ(fresh.Ed_Bright->Text(), "0");
}

TEST_F(SysConfigTest, SavingAppliesWritesAndTakesOverTheGates) {
    dialog->Tb_Bright->SetPosition(200);
    const auto boxes = Save(true, " 30", "100");  // leading blanks are skipped
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "保存设置成功");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"SetBright 200", "SetContrast 255"}));
    EXPECT_EQ(Ini("Bright"), "200");
    EXPECT_EQ(Ini("Contrast"), "255");
    EXPECT_EQ(Ini("IsQuality"), "1");
    EXPECT_EQ(Ini("FQuality"), "30");
    EXPECT_EQ(Ini("PQuality"), "100");
    EXPECT_EQ(dm->FQuality, 30);
    EXPECT_EQ(dm->PQuality, 100);
}

TEST_F(SysConfigTest, RefusesEmptyAndOutOfRangeThresholdsWhileTheGatesAreOn) {
    const struct {
        const char *f, *p, *message;
    } cases[] = {{"29", "60", "【指纹质量】范围在【30~100】之间"},
                 {"101", "60", "【指纹质量】范围在【30~100】之间"},
                 {"", "60", "【指纹质量】不能为空"},
                 {"   ", "60", "【指纹质量】不能为空"},
                 {"50", "29", "【图片质量】范围在【30~100】之间"},
                 {"50", " ", "【图片质量】不能为空"}};
    for (const auto& c : cases) {
        const auto boxes = Save(true, c.f, c.p);
        ASSERT_EQ(boxes.size(), 1u) << c.f << "/" << c.p;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, "提示");
    }
    EXPECT_FALSE(FileExists(folder.Path() + "Config\\Config.ini"));
}

TEST_F(SysConfigTest, ANonNumberIsLoggedAndNeverWrittenEvenWithTheGatesOff) {
    for (const auto& [gates, f] : {std::pair<bool, std::string>{true, "50 "}, {false, "5x"}}) {
        const auto boxes = Save(gates, f, "60");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "保存设置失败");
    }
    EXPECT_FALSE(FileExists(folder.Path() + "Config\\Config.ini"));
    EXPECT_NE(Log().find("保存系统配置失败,原因:'5x' is not a valid integer value"), std::string::npos);
    // With the gates off the thresholds are not range-checked, only converted.
    Save(false, "5", "200");
    EXPECT_EQ(Ini("FQuality"), "5");
    EXPECT_EQ(Ini("IsQuality"), "0");
    EXPECT_EQ(dm->IsQuality, 0);
}

TEST_F(SysConfigTest, ADeviceThatRefusesTheBrightnessStopsBeforeAnythingIsWritten) {
    g_setBrightResult = 0;
    const auto boxes = Save(true, "50", "60");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "设置设备亮度失败");
    EXPECT_EQ(g_calls, std::vector<std::string>{"SetBright 120"});
    EXPECT_FALSE(FileExists(folder.Path() + "Config\\Config.ini"));
}

TEST_F(SysConfigTest, ASaveTheFileSystemRefusesIsReportedWithItsReasonAndTakesNothingOver) {
    // A folder where the file should be: the system refuses to replace it.
    folder.MakeDir("Config\\Config.ini");
    const auto boxes = Save(false, "40", "45");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "保存设置失败");
    EXPECT_EQ(dm->IsQuality, 1);
    EXPECT_EQ(dm->FQuality, 50);
    EXPECT_EQ(dm->PQuality, 60);
    EXPECT_NE(Log().find("保存系统配置失败,原因:Cannot replace file \"" + folder.Path() + "Config\\Config.ini\". "),
              std::string::npos)
        << Log();
    EXPECT_EQ(folder.Files("Config\\"), std::set<std::string>{});
}

TEST_F(SysConfigTest, BrightnessAndContrastAreSavedFromTheSlidersWhateverTheBoxesSay) {
    dialog->Tb_Bright->SetPosition(90);
    // Another program can put any text into the read-only boxes.
    SendMessageA(dialog->Ed_Bright->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
    SendMessageA(dialog->Ed_Contrast->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" 7x"));
    const auto boxes = Save(true, "50", "60");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "保存设置成功");
    EXPECT_EQ(Ini("Bright"), "90");
    EXPECT_EQ(Ini("Contrast"), "255");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"SetBright 90", "SetContrast 255"}));
}

TEST_F(SysConfigTest, ASliderOutsideTheDevicesRangeIsRefusedAndNothingIsWrittenOrApplied) {
    dialog->Tb_Contrast->SetRange(0, 1000);
    dialog->Tb_Contrast->SetPosition(999);
    const auto boxes = Save(true, "50", "60");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "【对比度】范围在【0~255】之间");
    EXPECT_EQ(boxes[0].caption, "提示");
    EXPECT_TRUE(g_calls.empty());
    EXPECT_FALSE(FileExists(folder.Path() + "Config\\Config.ini"));
}
