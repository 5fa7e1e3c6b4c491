#include "records/wsq/SubbandLayout.h"

namespace kv90rec::wsq {
namespace {

// How far a region is split below it.
enum class Shape {
    Whole,        // the image
    LowQuarter,   // the image's lowpass quarter
    LowSixteenth, // that quarter's lowpass quarter
    LowSixtyFourth,
    Twice,        // split, and each part split again
    Once,         // split into four subbands
    Uncoded,      // four subbands that are never computed
    Subband,
};

class LayoutBuilder {
public:
    explicit LayoutBuilder(SubbandLayout& layout) : layout_(layout) {}

    void Visit(const Region& region, bool reversedX, bool reversedY, Shape shape) {
        if (shape == Shape::Subband) {
            layout_.subbands[next_++] = region;
            return;
        }
        if (shape != Shape::Uncoded) layout_.splits.push_back(region);
        const int lowWidth = (region.width + 1) / 2;
        const int lowHeight = (region.height + 1) / 2;
        for (int yPart = 0; yPart < 2; ++yPart) {
            const bool highY = reversedY ? yPart == 0 : yPart == 1;
            for (int xPart = 0; xPart < 2; ++xPart) {
                const bool highX = reversedX ? xPart == 0 : xPart == 1;
                Region part;
                part.x = highX ? region.x + lowWidth : region.x;
                part.width = highX ? region.width - lowWidth : lowWidth;
                part.y = highY ? region.y + lowHeight : region.y;
                part.height = highY ? region.height - lowHeight : lowHeight;
                Visit(part, reversedX != highX, reversedY != highY, PartShape(shape, highX, highY));
            }
        }
    }

private:
    static Shape PartShape(Shape shape, bool highX, bool highY) {
        const bool low = !highX && !highY;
        const bool diagonal = highX && highY;
        switch (shape) {
        case Shape::Whole:
            return low ? Shape::LowQuarter : diagonal ? Shape::Uncoded : Shape::Once;
        case Shape::LowQuarter:
            return low ? Shape::LowSixteenth : diagonal ? Shape::Subband : Shape::Twice;
        case Shape::LowSixteenth:
            return low ? Shape::LowSixtyFourth : Shape::Once;
        case Shape::LowSixtyFourth:
            return low ? Shape::Once : Shape::Subband;
        case Shape::Twice:
            return Shape::Once;
        default:
            return Shape::Subband;
        }
    }

    SubbandLayout& layout_;
    int next_ = 0;
};

}  // namespace

bool MakeSubbandLayout(int width, int height, SubbandLayout& layout) {
    layout = SubbandLayout{};
    if (width < kMinImageSide || height < kMinImageSide) return false;
    LayoutBuilder(layout).Visit(Region{0, 0, width, height}, false, false, Shape::Whole);
    return true;
}

}  // namespace kv90rec::wsq
