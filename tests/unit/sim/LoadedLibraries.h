// Both simulator libraries loaded from a fresh folder with a given control
// file, with a frame and an image buffer of the scanner's size.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SimApi.h"

namespace kv90sim_test {

class LoadedLibraries : public ::testing::Test {
protected:
    static constexpr int kSide = 640;

    // Writes the control file, then loads both libraries.
    void Load(const std::string& control) {
        folder_.WriteControl(control);
        capture_.emplace(folder_, L"GALS7302.dll");
        mosaic_.emplace(folder_, L"GAMC7302.dll");
        ASSERT_TRUE(capture_->loaded());
        ASSERT_TRUE(mosaic_->loaded());
        livescan_.emplace(*capture_);
        stitch_.emplace(*mosaic_);
    }

    SimFolder folder_;
    std::optional<SimLibrary> capture_;
    std::optional<SimLibrary> mosaic_;
    std::optional<Livescan> livescan_;
    std::optional<Mosaic> stitch_;
    std::vector<unsigned char> frame_ = std::vector<unsigned char>(kSide * kSide);
    std::vector<unsigned char> image_ = std::vector<unsigned char>(kSide * kSide);
};

}  // namespace kv90sim_test
