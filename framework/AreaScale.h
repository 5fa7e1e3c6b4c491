// Scaling of pixel rows by area averaging (a box filter): each target pixel
// is the mean of the source area it covers, weighted by how much of each
// source pixel lies inside. Shrinking a fine pattern such as the ridges of a
// finger therefore smooths it instead of aliasing it. Free of any windowing
// API; fixed-point throughout, so it is cheap enough for every repaint.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class AreaScaler {
public:
    // Source row y (0 is the top row): `channels` bytes per pixel, one grey
    // level or blue, green, red. The row is either the picture's own memory or
    // written into `scratch`, which holds one row.
    using RowSource = std::function<const std::uint8_t*(int y, std::uint8_t* scratch)>;

    // Sizes must be positive; channels 1 or 3.
    AreaScaler(int sourceWidth, int sourceHeight, int channels, int targetWidth, int targetHeight);

    int TargetWidth() const { return targetWidth_; }
    int TargetHeight() const { return targetHeight_; }

    // Writes the next target row, top row first, as 32-bit 0x00RRGGBB pixels
    // (the memory layout of a 32-bit DIB row).
    void NextRow(const RowSource& source, std::uint32_t* out);

private:
    // The source pixels that make up one target pixel along one axis.
    struct Span {
        int first;
        int count;
        int weights;  // index of the first weight in the axis' weight list
    };
    static void BuildAxis(int source, int target, int scale, std::vector<Span>& spans,
                          std::vector<std::uint32_t>& weights);

    int sourceWidth_;
    int sourceHeight_;
    int channels_;
    int targetWidth_;
    int targetHeight_;
    int nextRow_ = 0;
    std::vector<Span> columns_, rows_;
    std::vector<std::uint32_t> columnWeights_, rowWeights_;
    std::vector<std::uint8_t> scratch_;
    // Source rows summed down one target row, then as 8.8 fixed-point levels.
    std::vector<std::uint32_t> sums_;
    std::vector<std::uint16_t> levels_;
};
