#include "pickers/TrackBarGeometry.h"

#include <gmock/gmock.h>

#include <limits>
#include <vector>

namespace tintara {
namespace {

// The sliders on the main window: 26 x 143, vertical, new arrow style, arrow after the strip.
constexpr TrackBarShape MainWindowSlider{26, 143, lyVertical, spAfter, true};
constexpr TrackBarShape MainWindowSliderClassic{26, 143, lyVertical, spAfter, false};
// The base's defaults.
constexpr TrackBarShape DefaultHorizontal{267, 22, lyHorizontal, spAfter, false};

std::vector<TPoint> pointsOf(const ArrowPolygon& a)
{
    return {a.points.begin(), a.points.begin() + a.count};
}

struct StripCase {
    TrackBarShape shape;
    TRect expected;
};

TEST(TrackBarGeometry, StripRectForEveryLayoutAndPlacement)
{
    const StripCase cases[] = {
        {MainWindowSlider, {0, 8, 15, 135}},
        {MainWindowSliderClassic, {0, 6, 16, 137}},
        {DefaultHorizontal, {6, 0, 261, 12}},
        {{267, 22, lyHorizontal, spBefore, false}, {6, 10, 261, 22}},
        {{267, 22, lyHorizontal, spBoth, false}, {6, 10, 261, 12}},
        {{267, 30, lyHorizontal, spBefore, true}, {8, 11, 259, 30}},
        {{267, 30, lyHorizontal, spBoth, true}, {8, 11, 259, 19}},
        {{267, 30, lyHorizontal, spAfter, true}, {8, 0, 259, 19}},
        {{26, 143, lyVertical, spBefore, true}, {11, 8, 26, 135}},
        {{26, 143, lyVertical, spBoth, true}, {11, 8, 15, 135}},
        {{30, 143, lyVertical, spBefore, false}, {10, 6, 30, 137}},
        {{30, 143, lyVertical, spBoth, false}, {10, 6, 20, 137}},
    };
    for (const StripCase& c : cases) {
        const TRect r = stripRect(c.shape);
        EXPECT_EQ(r, c.expected) << c.shape.width << "x" << c.shape.height << " layout " << c.shape.layout
                                 << " placement " << c.shape.placement << " new " << c.shape.newArrowStyle << " got ("
                                 << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
    }
}

TEST(TrackBarGeometry, PointerMapsOntoTheTrackWithinItsEnds)
{
    // Vertical, new style: ArrowPos = Y - 8 within 0..134.
    EXPECT_EQ(arrowPosFromPointer(MainWindowSlider, {5, 8}), 0);
    EXPECT_EQ(arrowPosFromPointer(MainWindowSlider, {5, 50}), 42);
    EXPECT_EQ(arrowPosFromPointer(MainWindowSlider, {5, 142}), 134);
    EXPECT_EQ(arrowPosFromPointer(MainWindowSlider, {5, 500}), 134);
    EXPECT_EQ(arrowPosFromPointer(MainWindowSlider, {-40, -3}), 0);
    // Horizontal, classic: ArrowPos = X - 6 within 0..260; Y does not matter.
    EXPECT_EQ(arrowPosFromPointer(DefaultHorizontal, {100, 300}), 94);
    EXPECT_EQ(arrowPosFromPointer(DefaultHorizontal, {266, 0}), 260);
    EXPECT_EQ(arrowPosFromPointer(DefaultHorizontal, {300, 0}), 260);
    // A control smaller than its margins maps everything to the start.
    EXPECT_EQ(arrowPosFromPointer({4, 4, lyHorizontal, spAfter, false}, {3, 3}), 0);
}

TEST(TrackBarGeometry, ArrowTipIsHeldInsideTheTrack)
{
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSlider, 0), 8); // 0 + 7 held at 8
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSlider, 60), 67);
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSlider, 127), 134);
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSlider, 134), 134);
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSliderClassic, 0), 6);
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSliderClassic, 60), 66);
    EXPECT_EQ(arrowTipAlongTrack(MainWindowSliderClassic, 134), 136);
    EXPECT_EQ(arrowTipAlongTrack(DefaultHorizontal, 0), 6);
    EXPECT_EQ(arrowTipAlongTrack(DefaultHorizontal, 255), 261);
    EXPECT_EQ(arrowTipAlongTrack(DefaultHorizontal, 260), 261);
    EXPECT_EQ(arrowTipAlongTrack(DefaultHorizontal, -5), 6);
}

TEST(TrackBarGeometry, MainWindowSliderArrowPointsLeftFromX17)
{
    const ArrowPolygons a = arrowPolygonsAt(MainWindowSlider, 50);
    ASSERT_EQ(a.count, 1);
    EXPECT_THAT(pointsOf(a.arrows[0]),
                testing::ElementsAre(TPoint{17, 57}, TPoint{21, 53}, TPoint{23, 53}, TPoint{24, 54}, TPoint{24, 60},
                                     TPoint{23, 61}, TPoint{21, 61}));
    // At the bottom end the tip stays on the track's last row.
    EXPECT_EQ(arrowPolygonsAt(MainWindowSlider, 134).arrows[0].points[0], (TPoint{17, 134}));
}

TEST(TrackBarGeometry, ClassicArrowsAreTriangles)
{
    const ArrowPolygons vertical = arrowPolygonsAt(MainWindowSliderClassic, 50);
    ASSERT_EQ(vertical.count, 1);
    EXPECT_THAT(pointsOf(vertical.arrows[0]), testing::ElementsAre(TPoint{19, 56}, TPoint{25, 52}, TPoint{25, 60}));

    // The defaults: tip at (ArrowPos + 6, 15), base on row 21.
    const ArrowPolygons horizontal = arrowPolygonsAt(DefaultHorizontal, 100);
    ASSERT_EQ(horizontal.count, 1);
    EXPECT_THAT(pointsOf(horizontal.arrows[0]),
                testing::ElementsAre(TPoint{106, 15}, TPoint{102, 21}, TPoint{110, 21}));
}

TEST(TrackBarGeometry, BothArrowsDrawTheAfterArrowFirst)
{
    const ArrowPolygons h = arrowPolygonsAt({267, 22, lyHorizontal, spBoth, false}, 20);
    ASSERT_EQ(h.count, 2);
    EXPECT_THAT(pointsOf(h.arrows[0]), testing::ElementsAre(TPoint{26, 15}, TPoint{22, 21}, TPoint{30, 21}));
    EXPECT_THAT(pointsOf(h.arrows[1]), testing::ElementsAre(TPoint{26, 6}, TPoint{22, 0}, TPoint{30, 0}));

    const ArrowPolygons hn = arrowPolygonsAt({267, 30, lyHorizontal, spBoth, true}, 20);
    ASSERT_EQ(hn.count, 2);
    EXPECT_THAT(pointsOf(hn.arrows[0]),
                testing::ElementsAre(TPoint{28, 21}, TPoint{24, 25}, TPoint{24, 27}, TPoint{25, 28}, TPoint{31, 28},
                                     TPoint{32, 27}, TPoint{32, 25}));
    EXPECT_THAT(pointsOf(hn.arrows[1]), testing::ElementsAre(TPoint{28, 8}, TPoint{32, 4}, TPoint{32, 2}, TPoint{31, 1},
                                                             TPoint{25, 1}, TPoint{24, 2}, TPoint{24, 4}));

    const ArrowPolygons v = arrowPolygonsAt({26, 143, lyVertical, spBoth, false}, 20);
    ASSERT_EQ(v.count, 2);
    EXPECT_THAT(pointsOf(v.arrows[0]), testing::ElementsAre(TPoint{19, 26}, TPoint{25, 22}, TPoint{25, 30}));
    EXPECT_THAT(pointsOf(v.arrows[1]), testing::ElementsAre(TPoint{6, 26}, TPoint{0, 22}, TPoint{0, 30}));

    const ArrowPolygons vn = arrowPolygonsAt({26, 143, lyVertical, spBefore, true}, 20);
    ASSERT_EQ(vn.count, 1);
    EXPECT_THAT(pointsOf(vn.arrows[0]), testing::ElementsAre(TPoint{8, 27}, TPoint{4, 23}, TPoint{2, 23}, TPoint{1, 24},
                                                             TPoint{1, 30}, TPoint{2, 31}, TPoint{4, 31}));
}

TEST(TrackBarGeometry, HintSitsBelowOrBesideTheControl)
{
    EXPECT_EQ(hintPosition(DefaultHorizontal, {100, 5}), (TPoint{92, 24}));
    EXPECT_EQ(hintPosition(MainWindowSlider, {5, 60}), (TPoint{28, 52}));
}

TEST(TrackBarGeometry, OnlyTheArrowKeysAlongTheTrackAreCommands)
{
    using K = TrackKey;
    EXPECT_EQ(commandForKey(lyVertical, K::Up, false), tcArrowUp);
    EXPECT_EQ(commandForKey(lyVertical, K::Up, true), tcCtrlArrowUp);
    EXPECT_EQ(commandForKey(lyVertical, K::Down, false), tcArrowDown);
    EXPECT_EQ(commandForKey(lyVertical, K::Down, true), tcCtrlArrowDown);
    EXPECT_EQ(commandForKey(lyHorizontal, K::Left, false), tcArrowLeft);
    EXPECT_EQ(commandForKey(lyHorizontal, K::Left, true), tcCtrlArrowLeft);
    EXPECT_EQ(commandForKey(lyHorizontal, K::Right, false), tcArrowRight);
    EXPECT_EQ(commandForKey(lyHorizontal, K::Right, true), tcCtrlArrowRight);
    for (bool ctrl : {false, true}) {
        EXPECT_EQ(commandForKey(lyVertical, K::Left, ctrl), std::nullopt);
        EXPECT_EQ(commandForKey(lyVertical, K::Right, ctrl), std::nullopt);
        EXPECT_EQ(commandForKey(lyHorizontal, K::Up, ctrl), std::nullopt);
        EXPECT_EQ(commandForKey(lyHorizontal, K::Down, ctrl), std::nullopt);
        EXPECT_EQ(commandForKey(lyHorizontal, K::Other, ctrl), std::nullopt);
        EXPECT_EQ(commandForKey(lyVertical, K::Other, ctrl), std::nullopt);
    }
}

TEST(WheelAccumulator, StepsOncePerFullNotchAndKeepsTheRest)
{
    WheelAccumulator w;
    EXPECT_EQ(w.add(120), 1);
    EXPECT_EQ(w.add(-240), -2);
    EXPECT_EQ(w.add(60), 0);
    EXPECT_EQ(w.add(59), 0);
    EXPECT_EQ(w.add(1), 1);
    EXPECT_EQ(w.remainder(), 0);
    EXPECT_EQ(w.add(100), 0);
    EXPECT_EQ(w.add(-30), 0);
    EXPECT_EQ(w.remainder(), 70);
    EXPECT_EQ(w.add(-200), -1);
    EXPECT_EQ(w.remainder(), -10);
    // No delta the toolkit can report overflows the sum.
    EXPECT_EQ(w.add(std::numeric_limits<int>::min()), std::numeric_limits<int>::min() / 120);
}

} // namespace
} // namespace tintara
