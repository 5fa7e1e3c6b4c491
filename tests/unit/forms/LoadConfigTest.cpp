#include "forms/MainFixture.h"

#include "framework/SysUtils.h"

std::string MainFixture::ReadLog() {
    const std::string path = TSysOper::GetAppPath() + "LogFiles\\FINGER" + FormatDateTime("yyyymmdd", Now()) + ".txt";
    return FileExists(path) ? ReadFileBytes(path) : std::string();
}

void MainFixture::Occupy(TImage* image) const {
    // A 1 x 1 24-bit bitmap.
    std::string bmp = "BM";
    auto put32 = [&](unsigned v) { bmp.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](unsigned short v) { bmp.append(reinterpret_cast<const char*>(&v), 2); };
    put32(58), put32(0), put32(54);
    put32(40), put32(1), put32(1), put16(1), put16(24), put32(0), put32(4), put32(0), put32(0), put32(0), put32(0);
    bmp.append("\x80\x80\x80\x00", 4);
    folder.Write("Temp\\one.bmp", bmp);
    image->Picture().LoadFromFile(folder.Path() + "Temp\\one.bmp");
}

using LoadConfigTest = MainFixture;

TEST_F(LoadConfigTest, ReadsTheSixSettingsAndFixesTheCaptureSize) {
    folder.Write("Config\\Config.ini",
                 "[KV90]\r\nRollMode=1\r\nIsQuality=1\r\nFQuality=60\r\nPQuality=70\r\nBright=0\r\nContrast=0\r\n");
    EXPECT_TRUE(main->LoadConfig());
    EXPECT_EQ(dm->RollMode, 1);
    EXPECT_EQ(dm->IsQuality, 1);
    EXPECT_EQ(dm->FQuality, 60);
    EXPECT_EQ(dm->PQuality, 70);
    EXPECT_EQ(dm->Bright, 0);
    EXPECT_EQ(dm->Contrast, 0);
    EXPECT_EQ(dm->ImageWidth, 640);
    EXPECT_EQ(dm->ImageHeight, 640);
    EXPECT_EQ(Log(), "");
}

TEST_F(LoadConfigTest, AMissingFileGivesTheStandardGatesAndSaysSo) {
    dm->Bright = 7;
    EXPECT_TRUE(main->LoadConfig());
    EXPECT_EQ(dm->IsQuality, 1);
    EXPECT_EQ(dm->FQuality, 50);
    EXPECT_EQ(dm->PQuality, 75);
    EXPECT_EQ(dm->RollMode, 1);
    // The device keeps its own brightness and contrast.
    EXPECT_EQ(dm->Bright, 0);
    EXPECT_EQ(dm->Contrast, 0);
    EXPECT_NE(Log().find("配置文件不存在,使用默认设置:" + folder.Path() + "Config\\Config.ini"), std::string::npos)
        << Log();
}

TEST_F(LoadConfigTest, AMissingKeyReadsAsOneAndKeysMatchInAnyCase) {
    folder.Write("Config\\Config.ini", "[KV90]\r\n");
    EXPECT_TRUE(main->LoadConfig());
    EXPECT_EQ(dm->RollMode, 1);
    EXPECT_EQ(dm->FQuality, 1);
    EXPECT_EQ(dm->Contrast, 1);
    // As the settings dialog leaves it: no RollMode; other keys in another case.
    folder.Write("Config\\Config.ini",
                 "[kv90]\r\nbright=120\r\nCONTRAST=130\r\nisquality=0\r\nfquality=40\r\npquality=45\r\n"
                 "[Other]\r\nRollMode=7\r\n");
    EXPECT_TRUE(main->LoadConfig());
    EXPECT_EQ(dm->RollMode, 1);
    EXPECT_EQ(dm->IsQuality, 0);
    EXPECT_EQ(dm->FQuality, 40);
    EXPECT_EQ(dm->PQuality, 45);
    EXPECT_EQ(dm->Bright, 120);
    EXPECT_EQ(dm->Contrast, 130);
}

TEST_F(LoadConfigTest, ANonNumberFallsBackAndLogsTheConversionMessage) {
    folder.Write("Config\\Config.ini",
                 "[KV90]\r\nRollMode=3\r\nIsQuality=0\r\nFQuality=abc\r\nPQuality=90\r\nBright=10\r\nContrast=20\r\n");
    dm->Bright = 5;
    EXPECT_FALSE(main->LoadConfig());
    EXPECT_EQ(dm->IsQuality, 1);
    EXPECT_EQ(dm->FQuality, 50);
    EXPECT_EQ(dm->PQuality, 75);
    EXPECT_EQ(dm->RollMode, 1);
    EXPECT_EQ(dm->Bright, 5);  // not reached
    const std::string log = Log();
    const std::string expected = " : 初始化KV90指纹采集类时出错,错误:'abc' is not a valid integer value\r\n";
    ASSERT_EQ(log.size(), 19 + expected.size());
    EXPECT_EQ(log.substr(19), expected);
}

TEST_F(LoadConfigTest, AnEmptyValueIsAConversionFailure) {
    folder.Write("Config\\Config.ini", "[KV90]\r\nFQuality=\r\n");
    EXPECT_FALSE(main->LoadConfig());
    EXPECT_NE(Log().find("'' is not a valid integer value"), std::string::npos);
}

TEST_F(LoadConfigTest, ShowingTheWindowWithUnreadableSettingsShowsTheFailure) {
    folder.Write("Config\\Config.ini", "[KV90]\r\nPQuality=x\r\n");
    main->Btn_Collect->SetEnabled(true);
    main->FormShow(main);
    EXPECT_EQ(main->Lb_Info->Caption(), "初始化设备参数失败");
    EXPECT_FALSE(main->Btn_Collect->Enabled());
    EXPECT_FALSE(main->Btn_View->Enabled());
}
