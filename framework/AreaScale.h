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
    // The source pixels that make up one target pixel along one axis: the
    // first and the last are partly covered, those between wholly, so they
    // share one weight and are summed before a single multiplication.
    struct Span {
        int first;
        int last;
        std::uint32_t firstWeight;
        std::uint32_t innerWeight;
        std::uint32_t lastWeight;
    };
    static std::vector<Span> BuildAxis(int source, int target, std::uint32_t scale);
    void ScaleRowAcross(std::uint32_t* out);

    int sourceWidth_;
    int sourceHeight_;
    int channels_;
    int targetWidth_;
    int targetHeight_;
    int nextRow_ = 0;
    std::vector<Span> columns_, rows_;
    std::vector<std::uint8_t> scratch_[3];
    // Source rows summed down one target row; then, in place, 8.8 fixed-point levels.
    std::vector<std::uint32_t> sums_;
};
