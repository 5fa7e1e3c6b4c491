// The capture library as the program uses it: open, frames, brightness and
// contrast, saving, and the video window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

#include "SimApi.h"

namespace kv90sim_test {
namespace {

constexpr int kSide = 640;

double Mean(const std::vector<unsigned char>& frame) {
    return std::accumulate(frame.begin(), frame.end(), 0.0) / frame.size();
}

class CaptureLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.WriteControl("Pace=0\nFinger=hold\n");
        library_.emplace(folder_, L"GALS7302.dll");
        ASSERT_TRUE(library_->loaded());
        api_.emplace(*library_);
    }

    SimFolder folder_;
    std::optional<SimLibrary> library_;
    std::optional<Livescan> api_;
    std::vector<unsigned char> frame_ = std::vector<unsigned char>(kSide * kSide);
};

TEST_F(CaptureLibrary, NothingWorksBeforeInit) {
    EXPECT_LT(api_->BeginCapture(0), 0);
    EXPECT_LT(api_->GetFPRawData(0, frame_.data()), 0);
    int value = 0;
    EXPECT_LT(api_->GetBright(0, &value), 0);
}

TEST_F(CaptureLibrary, OpensAndDeliversFramesOfTheFinger) {
    ASSERT_EQ(api_->Init(), 1);
    EXPECT_EQ(api_->SetCaptWindow(0, 0, 0, kSide, kSide), 1);
    EXPECT_EQ(api_->Fetch(frame_.data()), 1);
    const auto dark = std::count_if(frame_.begin(), frame_.end(), [](unsigned char v) { return v < 100; });
    EXPECT_GT(dark, 20000);
    EXPECT_EQ(api_->Close(), 1);
    EXPECT_LT(api_->BeginCapture(0), 0);
}

TEST_F(CaptureLibrary, RefusesWrongChannelsAndWindows) {
    ASSERT_EQ(api_->Init(), 1);
    EXPECT_LT(api_->BeginCapture(1), 0);
    EXPECT_LT(api_->SetCaptWindow(0, 0, 0, 641, kSide), 0);
    EXPECT_LT(api_->SetBright(0, 256), 0);
    EXPECT_LT(api_->GetFPRawData(0, nullptr), 0);
}

TEST_F(CaptureLibrary, BrightnessAndContrastChangeTheFrames) {
    ASSERT_EQ(api_->Init(), 1);
    int bright = -1;
    int contrast = -1;
    EXPECT_EQ(api_->GetBright(0, &bright), 1);
    EXPECT_EQ(api_->GetContrast(0, &contrast), 1);
    EXPECT_EQ(bright, 128);
    EXPECT_EQ(contrast, 128);

    api_->Fetch(frame_.data());
    const double normal = Mean(frame_);
    EXPECT_EQ(api_->SetBright(0, 40), 1);
    api_->Fetch(frame_.data());
    EXPECT_LT(Mean(frame_), normal - 20);
    EXPECT_EQ(api_->GetBright(0, &bright), 1);
    EXPECT_EQ(bright, 40);

    EXPECT_EQ(api_->SetBright(0, 128), 1);
    EXPECT_EQ(api_->SetContrast(0, 0), 1);
    api_->Fetch(frame_.data());
    const auto [low, high] = std::minmax_element(frame_.begin(), frame_.end());
    EXPECT_GT(*low, 60);
    EXPECT_LT(*high - *low, 160);
    EXPECT_EQ(api_->GetContrast(0, &contrast), 1);
    EXPECT_EQ(contrast, 0);
}

TEST_F(CaptureLibrary, SavesAGreyBitmap) {
    for (int i = 0; i < kSide * kSide; ++i) frame_[i] = static_cast<unsigned char>(i / kSide);
    const std::string path = folder_.AnsiFile("saved.bmp");
    ASSERT_EQ(api_->SaveToFile(frame_.data(), kSide, kSide, path.c_str(), 0), 1);
    const std::string file = ReadWholeFile(folder_.File(L"saved.bmp"));
    ASSERT_EQ(file.size(), 14u + 40u + 1024u + kSide * kSide);
    EXPECT_EQ(file.substr(0, 2), "BM");
    BITMAPINFOHEADER info;
    std::memcpy(&info, file.data() + 14, sizeof(info));
    EXPECT_EQ(info.biWidth, kSide);
    EXPECT_EQ(info.biHeight, kSide);
    EXPECT_EQ(info.biBitCount, 8);
    // Bottom-up: the last image row (value 639 & 255) comes first.
    EXPECT_EQ(static_cast<unsigned char>(file[14 + 40 + 1024]), static_cast<unsigned char>(639));

    EXPECT_LT(api_->SaveToFile(frame_.data(), kSide, kSide, "Q:\\no\\such\\folder\\x.bmp", 0), 0);
    EXPECT_LT(api_->SaveToFile(nullptr, kSide, kSide, path.c_str(), 0), 0);
}

TEST_F(CaptureLibrary, DrawsIntoTheVideoWindowAndSurvivesItsDestruction) {
    ASSERT_EQ(api_->Init(), 1);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) GTEST_SKIP() << "no display to create a window on";
    EXPECT_EQ(api_->SetVideoWindow(window), 1);
    EXPECT_EQ(api_->Fetch(frame_.data()), 1);
    DestroyWindow(window);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(api_->Fetch(frame_.data()), 1);
    EXPECT_LT(api_->SetVideoWindow(reinterpret_cast<HWND>(0x1234)), 0);
}

TEST_F(CaptureLibrary, ExplainsItsErrorCodes) {
    char text[64] = {};
    EXPECT_EQ(api_->GetErrorInfo(-2, text), 1);
    EXPECT_STRNE(text, "");
}

}  // namespace
}  // namespace kv90sim_test
