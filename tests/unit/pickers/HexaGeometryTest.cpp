#include "pickers/HexaGeometry.h"

#include <gmock/gmock.h>

#include <cmath>
#include <vector>

namespace tintara {
namespace {

// The hexagon on the main window's "Hex" tab: 142 x 138, slider width 12.
HexaCombModel mainWindowModel()
{
    HexaCombModel m;
    m.resizeTo(142, 138);
    return m;
}

std::vector<int> gridNumbers(const TCombArray& combs)
{
    std::vector<int> out;
    for (const TCombEntry& c : combs)
        out.push_back(c.GridNumber);
    return out;
}

// The outermost comb of each sector: magenta east, then red, yellow, green, cyan, blue clockwise.
constexpr int kCornerIndex[6] = {16, 37, 58, 79, 100, 121};
constexpr TColor kCornerColor[6] = {rgbColor(255, 0, 255), rgbColor(255, 0, 0),   rgbColor(255, 255, 0),
                                    rgbColor(0, 255, 0),   rgbColor(0, 255, 255), rgbColor(0, 0, 255)};

struct LayoutCase {
    int radius;
    HexaLayout expected;
};

TEST(HexaGeometry, LayoutOfTheThreeAreas)
{
    const LayoutCase cases[] = {
        // The main window's picker.
        {60, {11, {0, -7, 120, 113}, {0, 109, 147, 135}, {120, 11, 142, 102}}},
        // Before the window exists.
        {90, {16, {0, -11, 180, 169}, {0, 165, 214, 201}, {180, 16, 202, 153}}},
    };
    for (const LayoutCase& c : cases)
        EXPECT_EQ(CalculateLayout(c.radius, 12), c.expected) << c.radius;

    const HexaCombModel fresh;
    EXPECT_EQ(fresh.Radius(), 90);
    EXPECT_EQ(fresh.layout(), cases[1].expected);
    EXPECT_EQ(mainWindowModel().Radius(), 60);
    EXPECT_EQ(mainWindowModel().layout(), cases[0].expected);
}

TEST(HexaGeometry, RadiusFromTheControlSize)
{
    struct Case {
        int width, height, sliderWidth;
        std::optional<int> radius;
    };
    const Case cases[] = {
        {142, 138, 12, 60},
        {204, 206, 12, 91},          // the initial size, once the window exists
        {93, 85, 12, 36},            // the smallest size that counts
        {92, 138, 12, std::nullopt}, // narrower: the radius stays
        {142, 84, 12, std::nullopt},
        {0, 0, 12, std::nullopt},
        {-5, 300, 12, std::nullopt},
        {123, 400, 12, 50},            // Round(50.5) ties to even
        {125, 400, 12, 52},            // Round(51.5)
        {100, 100, 200, std::nullopt}, // a slider wider than the control leaves no honeycomb
    };
    for (const Case& c : cases)
        EXPECT_EQ(radiusForSize(c.width, c.height, c.sliderWidth), c.radius) << c.width << " x " << c.height;

    HexaCombModel m = mainWindowModel();
    m.resizeTo(50, 50);
    EXPECT_EQ(m.Radius(), 60);
}

TEST(HexaGeometry, GridNumbersInReadingOrder)
{
    const std::vector<int> expected = {
        64, 65, 66, 78,  67, 79,  90,  68,  80,  91,  101, 69,  81,  92,  102, 111, 70,  82,  93,  103, 112, 120,
        77, 89, 88, 100, 99, 98,  110, 109, 108, 107, 119, 118, 117, 116, 115, 127, 126, 125, 124, 123, 122, 76,
        87, 75, 97, 86,  74, 106, 96,  85,  73,  114, 105, 95,  84,  72,  121, 113, 104, 94,  83,  71,  63,  62,
        50, 61, 49, 38,  60, 48,  37,  27,  59,  47,  36,  26,  17,  58,  46,  35,  25,  16,  8,   51,  39,  40,
        28, 29, 30, 18,  19, 20,  21,  9,   10,  11,  12,  13,  1,   2,   3,   4,   5,   6,   52,  41,  53,  31,
        42, 54, 22, 32,  43, 55,  14,  23,  33,  44,  56,  7,   15,  24,  34,  45,  57};
    const HexaCombModel m = mainWindowModel();
    ASSERT_EQ(m.ColorCombs().size(), 127u);
    EXPECT_EQ(gridNumbers(m.ColorCombs()), expected);
    EXPECT_THAT(gridNumbers(m.BWCombs()),
                testing::ElementsAre(0, -1, -9, -2, -10, -3, -11, -4, -12, -5, -13, -6, -14, -7, -15, -8, 64));
    // The numbers follow the rounded pixels too: rows (7.5 pixels apart) top to bottom, each left to right.
    for (const TCombEntry& a : m.ColorCombs()) {
        for (const TCombEntry& b : m.ColorCombs()) {
            if (a.GridNumber >= b.GridNumber)
                continue;
            if (std::abs(a.Position.y - b.Position.y) <= 1) {
                EXPECT_LT(a.Position.x, b.Position.x) << a.GridNumber << " " << b.GridNumber;
            } else {
                EXPECT_LT(a.Position.y, b.Position.y) << a.GridNumber << " " << b.GridNumber;
            }
        }
    }
}

TEST(HexaGeometry, CombColoursAtAnyIntensity)
{
    HexaCombModel m = mainWindowModel();
    const TCombArray& combs = m.ColorCombs();
    EXPECT_EQ(combs[0].Color, clWhite);
    EXPECT_EQ(combs[0].Position, (TPoint{0, 0}));
    // Just east of the centre: (1, 5/6, 1).
    EXPECT_EQ(combs[1].Color, rgbColor(255, 212, 255));
    EXPECT_EQ(combs[1].Position, (TPoint{9, 0}));
    for (int intensity : {100, 75, 50, 1, 0}) {
        m.setIntensity(intensity);
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(m.ColorCombs()[kCornerIndex[c]].Color, kCornerColor[c]) << intensity << " corner " << c;
        const int g = Round(intensity * 255 / 100.0);
        EXPECT_EQ(m.ColorCombs()[0].Color, rgbColor(g, g, g)) << intensity;
    }
    m.setIntensity(50);
    EXPECT_EQ(m.ColorCombs()[1].Color, rgbColor(149, 106, 149));
    // The corners lie R cos 30 from the centre: the east one on the centre's row.
    EXPECT_EQ(m.ColorCombs()[kCornerIndex[0]].Position, (TPoint{52, 0}));
    EXPECT_EQ(m.ColorCombs()[kCornerIndex[3]].Position, (TPoint{-52, 0}));
}

TEST(HexaGeometry, GreyCombsAtCombSize11)
{
    const HexaCombModel m = mainWindowModel();
    ASSERT_EQ(m.CombSize(), 11);
    const TCombArray& greys = m.BWCombs();
    ASSERT_EQ(greys.size(), 17u);
    EXPECT_EQ(greys[0], (TCombEntry{{11, 11}, clWhite, 0}));
    EXPECT_EQ(greys[16], (TCombEntry{{124, 11}, clBlack, 64}));
    for (int i = 1; i <= 15; ++i) {
        const TCombEntry& e = greys[static_cast<std::size_t>(i)];
        const int level = 15 * (16 - i);
        EXPECT_EQ(e.Color, rgbColor(level, level, level)) << i;
        EXPECT_EQ(e.Position, (TPoint{33 + 5 * (i - 1), i % 2 == 1 ? 6 : 14})) << i;
    }
}

TEST(HexaGeometry, HitTestsAreCirclesOfHalfACombAroundEachCentre)
{
    const HexaCombModel m = mainWindowModel();
    // Client = position + (R + left, R + top) = position + (60, 53).
    EXPECT_EQ(m.FindColorComb(60, 53), 0);
    EXPECT_EQ(m.FindColorComb(60 + 9, 53), 1);
    EXPECT_EQ(m.FindColorComb(60 + 52, 53), kCornerIndex[0]);
    EXPECT_EQ(m.FindColorComb(60 + 52 + 5, 53), kCornerIndex[0]); // the boundary counts
    EXPECT_EQ(m.FindColorComb(60 + 52 + 6, 53), -1);
    EXPECT_EQ(m.FindColorComb(-1000000, 2000000000), -1);
    // Just between two combs of the top row, farther than 5 from every centre; a pixel to either side
    // is in one of them.
    const TPoint gap{60 - 13, 53 - 49};
    EXPECT_EQ(m.FindColorComb(gap.x, gap.y), -1);
    EXPECT_EQ(m.FindColorComb(gap.x - 1, gap.y), 101);
    EXPECT_EQ(m.FindColorComb(gap.x + 1, gap.y), 102);
    for (const TCombEntry& c : m.ColorCombs()) {
        const int dx = gap.x - 60 - c.Position.x;
        const int dy = gap.y - 53 - c.Position.y;
        EXPECT_GT(dx * dx + dy * dy, 25);
    }

    // Greys relative to the grey area's top-left (0, 109); the big combs take twice the radius.
    EXPECT_EQ(m.FindBWComb(11, 109 + 11), 0);
    EXPECT_EQ(m.FindBWComb(11 + 11, 109 + 11), 0);
    EXPECT_EQ(m.FindBWComb(33, 109 + 6), 1);
    EXPECT_EQ(m.FindBWComb(38, 109 + 14), 2);
    EXPECT_EQ(m.FindBWComb(124, 109 + 11 + 11), 16);
    EXPECT_EQ(m.FindBWComb(124, 109 + 11 + 12), -1);
}

TEST(HexaGeometry, CombShapes)
{
    // Pointy-topped: one vertex straight below the centre, one straight above, half a size away.
    const std::array<TPoint, 6> v = combPolygon(10, {20, 30});
    EXPECT_EQ(v[0], (TPoint{20, 35}));
    EXPECT_EQ(v[3], (TPoint{20, 25}));
    EXPECT_EQ(v[1], (TPoint{24, 32})); // (4.33, 2.5) from the centre: 32.5 rounds to even
    EXPECT_EQ(combPolygon(10, {20, 31})[1], (TPoint{24, 34}));
    // The shape worked out once per size is the shape at every centre, halves rounding to even.
    for (int a : {1, 2, 5, 10, 11, 16, 22, 32, 33}) {
        const CombShape shape(a);
        for (int x = -3; x <= 4; ++x)
            for (int y = -3; y <= 4; ++y)
                EXPECT_EQ(shape.at({x * 7, y * 5}), combPolygon(a, {x * 7, y * 5})) << a << " " << x << " " << y;
    }
}

TEST(HexaGeometry, GridNumberCycle)
{
    struct Case {
        int g, next, prev;
    };
    const Case cases[] = {{127, -1, 126}, {-15, 1, -14}, {1, 2, -15}, {-1, -2, 127}, {64, 65, 63}, {0, -1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(NextGridNumber(c.g), c.next) << c.g;
        EXPECT_EQ(PrevGridNumber(c.g), c.prev) << c.g;
    }
}

int selectedGrid(const HexaCombModel& m)
{
    const int s = m.SelectedComb();
    if (s > 0)
        return m.ColorCombs()[static_cast<std::size_t>(s - 1)].GridNumber;
    if (s < 0)
        return m.BWCombs()[static_cast<std::size_t>(-s - 1)].GridNumber;
    return 1000;
}

TEST(HexaGeometry, ArrowKeysWalkTheCombsInReadingOrderThenTheGreys)
{
    HexaCombModel m = mainWindowModel();
    // With nothing selected yet the keys step from the centre.
    m.arrowKey(HexaKey::Right, false);
    EXPECT_EQ(selectedGrid(m), 65);
    m.SelectByGridNumber(127);
    m.arrowKey(HexaKey::Right, false);
    EXPECT_EQ(m.SelectedColor(), rgbColor(225, 225, 225));
    EXPECT_EQ(selectedGrid(m), -1);
    m.arrowKey(HexaKey::Left, false);
    EXPECT_EQ(selectedGrid(m), 127);
    m.SelectByGridNumber(-15);
    EXPECT_EQ(m.SelectedColor(), rgbColor(30, 30, 30));
    m.arrowKey(HexaKey::Right, false);
    EXPECT_EQ(selectedGrid(m), 1);
    m.arrowKey(HexaKey::Left, false);
    EXPECT_EQ(selectedGrid(m), -15);
    // The white and black combs are outside the cycle: the keys step from the centre.
    m.arrowKey(HexaKey::Left, true);
    EXPECT_EQ(m.SelectedComb(), -1);
    m.arrowKey(HexaKey::Left, false);
    EXPECT_EQ(selectedGrid(m), 63);
    m.arrowKey(HexaKey::Right, true);
    EXPECT_EQ(m.SelectedComb(), -17);
    m.arrowKey(HexaKey::Right, false);
    EXPECT_EQ(selectedGrid(m), 65);
    // A colour no comb has leaves the keys where they were.
    m.setSelectedColor(rgbColor(1, 2, 3));
    m.arrowKey(HexaKey::Right, false);
    EXPECT_EQ(selectedGrid(m), 66);
    // No grey has grid number 0 or 64: nothing changes.
    const TColor before = m.SelectedColor();
    m.SelectByGridNumber(0);
    m.SelectByGridNumber(-16);
    m.SelectByGridNumber(128);
    EXPECT_EQ(m.SelectedColor(), before);
}

TEST(HexaGeometry, WhiteAndBlackOutlineTheCentreWhenItIsTheSameColour)
{
    HexaCombModel m = mainWindowModel();
    m.setSelectedColor(clWhite);
    EXPECT_EQ(m.SelectedComb(), -1);
    EXPECT_TRUE(m.SelectionMatched());
    EXPECT_TRUE(m.centerOutlined());
    m.setSelectedColor(clBlack);
    EXPECT_EQ(m.SelectedComb(), -17);
    EXPECT_FALSE(m.centerOutlined());

    m.setIntensity(0);
    EXPECT_EQ(m.SelectedComb(), -17);
    EXPECT_TRUE(m.centerOutlined());
    // Ctrl+Right selects the black comb, not the black centre.
    m.arrowKey(HexaKey::Up, true);
    m.arrowKey(HexaKey::Down, true);
    m.setSelectedColor(clWhite);
    m.arrowKey(HexaKey::Right, true);
    EXPECT_EQ(m.SelectedComb(), -17);
    EXPECT_EQ(m.Intensity(), 0);
}

TEST(HexaGeometry, AColourNoCombHasSelectsNothingAndAnIntensityChangeGivesNone)
{
    HexaCombModel m = mainWindowModel();
    int changes = 0;
    int intensityChanges = 0;
    m.OnChange = [&] { ++changes; };
    m.OnIntensityChange = [&] { ++intensityChanges; };
    m.setSelectedColor(rgbColor(255, 212, 255));
    EXPECT_EQ(m.SelectedComb(), 2);
    m.setSelectedColor(rgbColor(1, 2, 3));
    EXPECT_EQ(m.SelectedComb(), 0);
    EXPECT_FALSE(m.SelectionMatched());
    EXPECT_EQ(m.SelectedColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(changes, 2);
    m.setIntensity(40);
    EXPECT_EQ(m.SelectedColor(), clNone);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(intensityChanges, 1);

    // clNone and system colours never match a comb; a system colour resolves first.
    m.setSelectedColor(clNone);
    EXPECT_EQ(m.SelectedComb(), 0);
    m.setSelectedColor(0x8000000F); // unresolved: black
    EXPECT_EQ(m.SelectedComb(), -17);
    m.ResolveSystemColor = [](TColor c) { return c == 0x80000005 ? clWhite : rgbColor(9, 9, 9); };
    m.setSelectedColor(0x80000005);
    EXPECT_EQ(m.SelectedComb(), -1);
    EXPECT_EQ(m.SelectedColor(), 0x80000005u);
}

TEST(HexaGeometry, IntensityKeepsTheCombAndClamps)
{
    HexaCombModel m = mainWindowModel();
    m.setSelectedColor(rgbColor(255, 212, 255));
    const int comb = m.SelectedComb();
    m.setIntensity(50);
    EXPECT_EQ(m.SelectedComb(), comb);
    EXPECT_EQ(m.SelectedColor(), rgbColor(149, 106, 149));

    struct Case {
        int set, expected;
    };
    for (const Case c :
         {Case{150, 100}, Case{-5, 0}, Case{29, 29}, Case{75, 75}, Case{2147483647, 100}, Case{-2147483647 - 1, 0}}) {
        m.setIntensity(c.set);
        EXPECT_EQ(m.Intensity(), c.expected) << c.set;
    }
    m.setIntensity(98);
    m.setIntensityIncrement(5);
    m.StepIntensity(true);
    EXPECT_EQ(m.Intensity(), 100);
    m.StepIntensity(false);
    EXPECT_EQ(m.Intensity(), 95);
    m.setIntensityIncrement(2147483647);
    m.StepIntensity(true);
    EXPECT_EQ(m.Intensity(), 100);
    m.StepIntensity(false);
    EXPECT_EQ(m.Intensity(), 0);
}

TEST(HexaGeometry, HintTexts)
{
    HexaCombModel m = mainWindowModel();
    const std::string format = "RGB(%r, %g, %b)\rHex: %h";
    // Nothing under the last move and not over the slider: left to the toolkit.
    m.mouseMove({300, 300}, false);
    EXPECT_EQ(m.hint({300, 300}, false, format).kind, HexaHint::Kind::Untouched);

    m.mouseMove({69, 53}, false); // the comb east of the centre
    HexaHint h = m.hint({69, 53}, false, format);
    EXPECT_EQ(h.kind, HexaHint::Kind::Comb);
    EXPECT_EQ(h.text, "RGB(255, 212, 255)\rHex: FFD4FF");
    EXPECT_EQ(m.hint({69, 53}, false, "%hex %H %r%r").text, "FFD4FFex %H 255255");

    m.setIntensity(75);
    m.mouseMove({125, 40}, false);
    h = m.hint({125, 40}, false, format);
    EXPECT_EQ(h.kind, HexaHint::Kind::Intensity);
    EXPECT_EQ(h.text, "Intensity: 75%");
    EXPECT_EQ(h.at, (TPoint{142, 32}));

    // While the button is held over the honeycomb, the hint is the selected comb's.
    m.setSelectedColor(rgbColor(255, 0, 255));
    m.mouseMove({60, 53}, false);
    EXPECT_EQ(m.hint({60, 53}, true, "%h").text, "FF00FF");
    EXPECT_EQ(m.hint({60, 53}, false, "%h").text, "BFBFBF");
    // Held with a colour comb selected, over the greys: no comb, the owner may say something.
    EXPECT_EQ(m.hint({33, 115}, true, "%h").kind, HexaHint::Kind::NoComb);
    EXPECT_EQ(m.hint({33, 115}, false, "%h").text, "E1E1E1");
}

TEST(HexaGeometry, SliderGradientAndMarker)
{
    // n = 102 - 11 - 1 = 90.
    EXPECT_EQ(sliderGreyLevel(90, 0), 255);
    EXPECT_EQ(sliderGreyLevel(90, 45), 128); // Round(127.5) ties to even
    EXPECT_EQ(sliderGreyLevel(90, 90), 0);
    EXPECT_EQ(sliderGreyLevel(0, 0), 255);
    // The tip points left at Width - 8, held between the slider's ends.
    EXPECT_EQ(sliderMarker(142, 138, 1.0f, 90)[0], (TPoint{134, 11}));
    EXPECT_EQ(sliderMarker(142, 138, 0.0f, 90)[0], (TPoint{134, 101}));
    EXPECT_EQ(sliderMarker(142, 138, 0.5f, 90)[0], (TPoint{134, 56}));
    EXPECT_EQ(sliderMarker(142, 20, 0.0f, 90)[0], (TPoint{134, 18}));
}

TEST(HexaGeometry, EveryAllowedSizeAndSliderWidthIsSafe)
{
    for (int sliderWidth : {0, 1, 12, 40, 70, 80, 200}) {
        for (int w = 90; w <= 260; w += 7) {
            for (int h = 80; h <= 260; h += 11) {
                HexaCombModel m;
                m.setSliderWidth(sliderWidth);
                m.resizeTo(w, h);
                ASSERT_GE(m.Radius(), 1);
                const TRect& s = m.SliderRect();
                for (int y : {s.Top - 50, s.Top, s.Bottom, s.Bottom + 50}) {
                    m.mouseDown({s.Left, y}, {0, 0, w, h});
                    m.mouseMove({s.Left, y}, true);
                    m.mouseUp();
                    ASSERT_GE(m.Intensity(), 0);
                    ASSERT_LE(m.Intensity(), 100);
                }
                m.mouseDown({m.Radius(), m.Radius()}, {0, 0, w, h});
                m.mouseUp();
                ASSERT_EQ(m.ColorCombs().size(), 127u);
            }
        }
    }
    HexaCombModel tiny;
    tiny.SetRadius(-4);
    EXPECT_EQ(tiny.Radius(), 1);
    tiny.SetRadius(2147483647);
    EXPECT_EQ(tiny.FindColorComb(0, 0), -1);
}

} // namespace
} // namespace tintara
