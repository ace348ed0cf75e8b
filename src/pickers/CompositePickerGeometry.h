#pragma once
// Where the two children of a composite picker sit. They are anchored: the field to all four sides,
// the slider to the top, right and bottom, so both follow the composite's size.
#include "colormodel/TColor.h"

namespace tintara {

// The composites' designed size, at which the field is 255 x 255 at (0, 8) and the slider 26 x 271 at x = 257.
inline constexpr int kCompositeWidth = 297;
inline constexpr int kCompositeHeight = 271;

// Left, top, width, height.
struct ChildPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const ChildPlace&, const ChildPlace&) = default;
};

// (0, 8, W - 42, H - 16); a composite too small for a field gives it no size rather than a negative one.
constexpr ChildPlace compositeFieldPlace(int width, int height)
{
    const int w = width - (kCompositeWidth - 255);
    const int h = height - (kCompositeHeight - 255);
    return {0, 8, w > 0 ? w : 0, h > 0 ? h : 0};
}

// (W - 40, 0, 26, H).
constexpr ChildPlace compositeSliderPlace(int width, int height)
{
    return {width - (kCompositeWidth - 257), 0, 26, height > 0 ? height : 0};
}

} // namespace tintara
