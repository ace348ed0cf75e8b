#include "pickers/TrackBarGeometry.h"

#include <algorithm>

namespace tintara {

namespace {

// Upper limit first, then the lower one: on a control too small for its margins the result is 0.
constexpr int limit(int v, int lo, int hi)
{
    return std::max(std::min(v, hi), lo);
}

// Room the new arrow style adds between the arrow and the strip.
constexpr int extraDepth(bool newArrowStyle)
{
    return newArrowStyle ? 2 : 0;
}

ArrowPolygon makeArrow(std::initializer_list<TPoint> points)
{
    ArrowPolygon a;
    for (TPoint p : points)
        a.points[static_cast<std::size_t>(a.count++)] = p;
    return a;
}

ArrowPolygon horizontalBefore(int x, int e, bool newStyle)
{
    if (!newStyle)
        return makeArrow({{x, e}, {x - 4, e - 6}, {x + 4, e - 6}});
    return makeArrow(
        {{x, e}, {x + 4, e - 4}, {x + 4, e - 6}, {x + 3, e - 7}, {x - 3, e - 7}, {x - 4, e - 6}, {x - 4, e - 4}});
}

ArrowPolygon horizontalAfter(int x, int b, bool newStyle)
{
    if (!newStyle)
        return makeArrow({{x, b}, {x - 4, b + 6}, {x + 4, b + 6}});
    return makeArrow(
        {{x, b}, {x - 4, b + 4}, {x - 4, b + 6}, {x - 3, b + 7}, {x + 3, b + 7}, {x + 4, b + 6}, {x + 4, b + 4}});
}

ArrowPolygon verticalBefore(int e, int y, bool newStyle)
{
    if (!newStyle)
        return makeArrow({{e, y}, {e - 6, y - 4}, {e - 6, y + 4}});
    return makeArrow(
        {{e, y}, {e - 4, y - 4}, {e - 6, y - 4}, {e - 7, y - 3}, {e - 7, y + 3}, {e - 6, y + 4}, {e - 4, y + 4}});
}

ArrowPolygon verticalAfter(int r, int y, bool newStyle)
{
    if (!newStyle)
        return makeArrow({{r, y}, {r + 6, y - 4}, {r + 6, y + 4}});
    return makeArrow(
        {{r, y}, {r + 4, y - 4}, {r + 6, y - 4}, {r + 7, y - 3}, {r + 7, y + 3}, {r + 6, y + 4}, {r + 4, y + 4}});
}

} // namespace

TRect stripRect(const TrackBarShape& s)
{
    const int e = edgeInsetFor(s.newArrowStyle);
    const int room = arrowDepthFor(s.newArrowStyle) + extraDepth(s.newArrowStyle);
    const bool before = s.placement == spBefore || s.placement == spBoth;
    const bool after = s.placement == spAfter || s.placement == spBoth;
    if (s.layout == lyHorizontal)
        return {e, before ? room : 0, s.width - e, after ? s.height - room : s.height};
    return {before ? room : 0, e, after ? s.width - room : s.width, s.height - e};
}

int arrowPosFromPointer(const TrackBarShape& s, TPoint pointer)
{
    const int e = edgeInsetFor(s.newArrowStyle);
    if (s.layout == lyHorizontal)
        return limit(pointer.x - e, 0, s.width - e - 1);
    return limit(pointer.y - e, 0, s.height - e - 1);
}

int arrowTipAlongTrack(const TrackBarShape& s, int arrowPos)
{
    const int e = edgeInsetFor(s.newArrowStyle);
    if (s.layout == lyHorizontal)
        return limit(arrowPos + e, e, s.width - e);
    return limit(arrowPos + e - (s.newArrowStyle ? 1 : 0), e, s.height - e - 1);
}

ArrowPolygons arrowPolygonsAt(const TrackBarShape& s, int arrowPos)
{
    const int e = edgeInsetFor(s.newArrowStyle);
    const int tip = arrowTipAlongTrack(s, arrowPos);
    ArrowPolygons result;
    auto add = [&result](const ArrowPolygon& a) { result.arrows[static_cast<std::size_t>(result.count++)] = a; };

    // The after-arrow first: with spBoth the before-arrow is drawn over it.
    if (s.placement == spAfter || s.placement == spBoth) {
        if (s.layout == lyHorizontal)
            add(horizontalAfter(tip, s.height - e - 1, s.newArrowStyle));
        else
            add(verticalAfter(s.width - e - 1, tip, s.newArrowStyle));
    }
    if (s.placement == spBefore || s.placement == spBoth) {
        if (s.layout == lyHorizontal)
            add(horizontalBefore(tip, e, s.newArrowStyle));
        else
            add(verticalBefore(e, tip, s.newArrowStyle));
    }
    return result;
}

TRect arrowBounds(const TrackBarShape& shape, int arrowPos)
{
    const ArrowPolygons arrows = arrowPolygonsAt(shape, arrowPos);
    if (arrows.count == 0)
        return {};
    const TPoint first = arrows.arrows[0].points[0];
    TRect b{first.x, first.y, first.x, first.y}; // the corner points' extremes, inclusive
    for (int i = 0; i < arrows.count; ++i) {
        const ArrowPolygon& a = arrows.arrows[static_cast<std::size_t>(i)];
        for (int j = 0; j < a.count; ++j) {
            const TPoint p = a.points[static_cast<std::size_t>(j)];
            b = {std::min(b.Left, p.x), std::min(b.Top, p.y), std::max(b.Right, p.x), std::max(b.Bottom, p.y)};
        }
    }
    return {b.Left - 1, b.Top - 1, b.Right + 2, b.Bottom + 2};
}

TPoint hintPosition(const TrackBarShape& s, TPoint pointer)
{
    if (s.layout == lyHorizontal)
        return {pointer.x - 8, s.height + 2};
    return {s.width + 2, pointer.y - 8};
}

std::optional<TTrackBarCommand> commandForKey(TTrackBarLayout layout, TrackKey key, bool ctrl)
{
    if (layout == lyHorizontal) {
        if (key == TrackKey::Left)
            return ctrl ? tcCtrlArrowLeft : tcArrowLeft;
        if (key == TrackKey::Right)
            return ctrl ? tcCtrlArrowRight : tcArrowRight;
        return std::nullopt;
    }
    if (key == TrackKey::Up)
        return ctrl ? tcCtrlArrowUp : tcArrowUp;
    if (key == TrackKey::Down)
        return ctrl ? tcCtrlArrowDown : tcArrowDown;
    return std::nullopt;
}

int WheelAccumulator::add(int delta)
{
    constexpr int notch = 120;
    // 64 bits so that no delta the toolkit can report overflows the sum.
    long long sum = static_cast<long long>(accumulated_) + delta;
    const long long steps = sum / notch; // truncates toward zero: the remainder keeps the sign
    sum -= steps * notch;
    accumulated_ = static_cast<int>(sum);
    return static_cast<int>(steps);
}

} // namespace tintara
