#include "LayoutSteps.h"

namespace qrt
{

namespace
{
constexpr float kGap = 100;
constexpr float kGridSide = 80;
constexpr float kGridTop = 200;
constexpr float kGridBottom = 80;
} // namespace

int arrangeLayout(LayoutBoxes &b, float W, float H)
{
    TwipsRect(&pic)[4] = b.pic;
    int step = 0;
    // Each step either takes effect or, for a negative size, ends the layout right there.
    auto pos = [&step](float &field, float value) {
        field = value;
        ++step;
        return true;
    };
    auto size = [&step](float &field, float value) {
        if (value < 0)
            return false;
        field = value;
        ++step;
        return true;
    };
    pos(pic[0].left, 0) && pos(pic[0].top, 0) &&
        pos(pic[1].left, pic[0].width + pic[0].left + kGap) && pos(pic[1].top, pic[0].top) &&
        pos(pic[2].left, pic[1].width + pic[1].left + kGap) && pos(pic[2].top, pic[1].top) &&
        pos(pic[3].left, pic[2].width + pic[2].left + kGap) && pos(pic[3].top, pic[2].top) &&
        pos(b.btnOpenFile.left, pic[3].width + pic[3].left + kGap) &&
        pos(b.btnOpenFile.top, pic[3].top) &&
        pos(b.btnDataValidate.left, b.btnOpenFile.width + b.btnOpenFile.left + kGap) &&
        pos(b.btnDataValidate.top, b.btnOpenFile.top) && size(b.frame.width, W) &&
        pos(b.frame.top, pic[0].height + pic[0].top + kGap) &&
        size(b.frame.height, H - b.frame.top) && pos(b.frame.left, 0) &&
        pos(b.grid.left, kGridSide) && size(b.grid.width, b.frame.width - 2 * kGridSide) &&
        pos(b.grid.top, kGridTop) && size(b.grid.height, b.frame.height - kGridTop - kGridBottom);
    return step;
}

} // namespace qrt
