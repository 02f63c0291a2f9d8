#pragma once

namespace qrt
{

/// A child's place in twips, in single precision as the layout computes it.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

/// The children that the resize layout moves, with their designed sizes.
struct LayoutBoxes {
    TwipsRect pic[4] = {{0, 0, 1755, 495}, {0, 0, 915, 495}, {0, 0, 915, 495}, {0, 0, 915, 495}};
    TwipsRect btnOpenFile{0, 0, 1635, 495};
    TwipsRect btnDataValidate{0, 0, 1635, 495};
    TwipsRect frame{};
    TwipsRect grid{};
};

/// Arranges the button row along the top and the frame with the grid below it for a control
/// of @p scaleWidth × @p scaleHeight twips. A negative width or height is refused, as the
/// toolkit refuses it: the layout stops at that step, and what earlier steps set stays.
/// Returns the number of steps completed, 20 when the whole layout ran.
int arrangeLayout(LayoutBoxes &boxes, float scaleWidth, float scaleHeight);

} // namespace qrt
