// The whole skin: every bitmap, colour, integer and flag that the program's
// windows use, in the order the skin resource file lists them.
#pragma once

#include "Canvas.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct SkinContents {
    std::vector<std::pair<std::string, Canvas>> bitmaps;
    std::vector<std::pair<std::string, std::int32_t>> colors;
    std::vector<std::pair<std::string, std::int32_t>> ints;  // the metrics, then two unread system colours
    std::vector<std::pair<std::string, bool>> flags;

    const Canvas& Bitmap(const std::string& name) const;
    std::int32_t Int(const std::string& name) const;  // colours and integers
    bool Flag(const std::string& name) const;
};

SkinContents BuildSkin();

// The skin resource file ("SKINDATA.SK2") of the skin.
std::vector<std::uint8_t> SkinResourceFile(const SkinContents& skin);
