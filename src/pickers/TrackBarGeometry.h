#pragma once
// Window-free geometry of the slider pickers: where the gradient strip lies, where the arrow points
// and what it looks like, how the pointer maps onto the track, and which key means which command.
// TktTrackBarPicker only turns Qt events into these calls and paints what they return.
#include "colormodel/TColor.h"

#include <array>
#include <optional>

namespace tintara {

enum TTrackBarLayout { lyHorizontal, lyVertical };

// Which side of the strip carries the arrow: before = above / left, after = below / right.
enum TSliderPlacement { spBefore, spAfter, spBoth };

// What a slider is asked to do; the codes are fixed.
enum TTrackBarCommand {
    tcResize = 0,
    tcPaint = 1,
    tcMouseMove = 2,
    tcMouseDown = 3,
    tcMouseUp = 4,
    tcWheelUp = 5,
    tcWheelDown = 6,
    tcArrowUp = 7,
    tcCtrlArrowUp = 8,
    tcArrowDown = 9,
    tcCtrlArrowDown = 10,
    tcArrowLeft = 11,
    tcCtrlArrowLeft = 12,
    tcArrowRight = 13,
    tcCtrlArrowRight = 14,
    tcLayoutChanged = 15,
};

// Everything the geometry depends on besides the arrow position.
struct TrackBarShape {
    int width = 267;
    int height = 22;
    TTrackBarLayout layout = lyHorizontal;
    TSliderPlacement placement = spAfter;
    bool newArrowStyle = false;
};

// Margin at both ends of the track.
constexpr int edgeInsetFor(bool newArrowStyle)
{
    return newArrowStyle ? 8 : 6;
}
// Room across the track for one arrow.
constexpr int arrowDepthFor(bool newArrowStyle)
{
    return newArrowStyle ? 9 : 10;
}

// Where the gradient is drawn (right and bottom exclusive).
TRect stripRect(const TrackBarShape& shape);

// Length of the track in pixels: the width of a horizontal slider, the height of a vertical one.
constexpr int trackLength(const TrackBarShape& shape)
{
    return shape.layout == lyHorizontal ? shape.width : shape.height;
}

// ArrowPos for a pointer at (x, y) in client pixels.
int arrowPosFromPointer(const TrackBarShape& shape, TPoint pointer);

// The arrow's tip coordinate along the track for an ArrowPos, held inside the track.
int arrowTipAlongTrack(const TrackBarShape& shape, int arrowPos);

// One arrow: a filled, outlined polygon of 3 (classic) or 7 (new style) points.
struct ArrowPolygon {
    std::array<TPoint, 7> points{};
    int count = 0;
    friend bool operator==(const ArrowPolygon&, const ArrowPolygon&) = default;
};

// The arrows to draw for ArrowPos, in drawing order (with spBoth the after-arrow comes first).
struct ArrowPolygons {
    std::array<ArrowPolygon, 2> arrows{};
    int count = 0;
    friend bool operator==(const ArrowPolygons&, const ArrowPolygons&) = default;
};
ArrowPolygons arrowPolygonsAt(const TrackBarShape& shape, int arrowPos);
// The area the arrows at arrowPos cover, with a pixel to spare round their corners for the outline's pen.
TRect arrowBounds(const TrackBarShape& shape, int arrowPos);

// Where the hint goes, in client pixels: under a horizontal slider, right of a vertical one.
TPoint hintPosition(const TrackBarShape& shape, TPoint pointer);

enum class TrackKey { Left, Up, Right, Down, Other };

// The command a key issues, or nothing when the slider leaves the key to the window (keys across
// the track and every other key). Only Ctrl is looked at.
std::optional<TTrackBarCommand> commandForKey(TTrackBarLayout layout, TrackKey key, bool ctrl);

// Wheel deltas add up until a full notch (120) is reached; each full notch is one step.
// Returns the number of steps (positive up, negative down) and keeps the remainder.
class WheelAccumulator {
public:
    int add(int delta);
    int remainder() const { return accumulated_; }

private:
    int accumulated_ = 0;
};

} // namespace tintara
