#include "pickers/SLFieldGeometry.h"

#include "colormodel/RGBHSLUtils.h"
#include "pickers/CompositePickerGeometry.h"
#include "raster/Raster.h"

#include <gmock/gmock.h>

namespace tintara {
namespace {

TEST(SLFieldGeometry, MarkerAndValuesMapWithMulDiv)
{
    struct Case {
        TPoint point;
        int width, height;
        SlValues values;
        TPoint marker; // where the values put the marker back
    };
    const Case cases[] = {
        {{100, 0}, 255, 255, {100, 255}, {100, 0}},
        // 255 * 100 / 200 = 127.5 goes up to 128; 128 * 200 / 255 = 100.39 puts the marker back at 100.
        {{100, 0}, 200, 200, {128, 255}, {100, 0}},
        // Wider than 255: the marker snaps to the values' own position.
        {{301, 150}, 600, 300, {128, 128}, {301, 149}},
        {{255, 255}, 255, 255, {255, 0}, {255, 255}},
        {{0, 0}, 1, 1, {0, 255}, {0, 0}},
        {{1, 1}, 1, 1, {255, 0}, {1, 1}},
    };
    for (const Case& c : cases) {
        const SlValues v = slValuesFromPoint(c.point, c.width, c.height);
        EXPECT_EQ(v, c.values) << c.point.x << ", " << c.point.y << " at " << c.width << " x " << c.height;
        EXPECT_EQ(slMarkerFromValues(v.saturation, v.luminance, c.width, c.height), c.marker);
    }
    // Red (saturation and value 255) sits one pixel beyond the last column.
    EXPECT_EQ(slMarkerFromValues(255, 255, 127, 127), (TPoint{127, 0}));
    // An empty field divides by nothing: MulDiv gives -1, which the setters clamp to 0.
    EXPECT_EQ(slValuesFromPoint({0, 0}, 0, 0), (SlValues{-1, -1}));
    EXPECT_EQ(slMarkerFromValues(200, 100, 0, 0), (TPoint{0, 0}));
}

TEST(SLFieldGeometry, ColourAtAPoint)
{
    // Hue 0 at the default size: (254, 0) is (255, 1, 1).
    EXPECT_EQ(slColorAt(0, {254, 0}, 255, 255), rgbColor(255, 1, 1));
    EXPECT_EQ(slColorAt(0, {255, 0}, 255, 255), rgbColor(255, 0, 0));
    EXPECT_EQ(slColorAt(0, {0, 255}, 255, 255), rgbColor(0, 0, 0));
    // The top-left corner is white for every hue.
    for (const int hue : {0, 60, 200, 360})
        EXPECT_EQ(slColorAt(hue, {0, 0}, 127, 127), rgbColor(255, 255, 255)) << hue;
    EXPECT_EQ(slColorAt(360, {100, 20}, 127, 127), slColorAt(0, {100, 20}, 127, 127));
    EXPECT_EQ(slColorAt(120, {0, 0}, 0, 0), rgbColor(0, 0, 0)); // values -1 clamp to 0
}

TEST(SLFieldGeometry, ArrowKeysAreRefusedAsAWholePastTheEdges)
{
    struct Case {
        TPoint marker;
        TrackKey key;
        bool ctrl;
        std::optional<TPoint> to;
    };
    const Case cases[] = {
        {{7, 50}, TrackKey::Left, true, std::nullopt}, // would reach -3
        {{7, 50}, TrackKey::Left, false, TPoint{6, 50}},
        {{10, 50}, TrackKey::Left, true, TPoint{0, 50}},
        {{0, 50}, TrackKey::Left, false, std::nullopt},
        {{255, 0}, TrackKey::Right, false, std::nullopt}, // red, at x = W
        {{255, 0}, TrackKey::Left, false, TPoint{254, 0}},
        {{254, 0}, TrackKey::Right, false, TPoint{255, 0}}, // x = W is allowed
        {{250, 0}, TrackKey::Right, true, std::nullopt},
        {{245, 0}, TrackKey::Right, true, TPoint{255, 0}},
        {{10, 0}, TrackKey::Up, false, std::nullopt},
        {{10, 9}, TrackKey::Up, true, std::nullopt},
        {{10, 10}, TrackKey::Up, true, TPoint{10, 0}},
        {{10, 254}, TrackKey::Down, false, TPoint{10, 255}},
        {{10, 255}, TrackKey::Down, false, std::nullopt},
        {{10, 250}, TrackKey::Down, true, std::nullopt},
        {{10, 10}, TrackKey::Other, false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(slKeyStep(c.marker, c.key, c.ctrl, 255, 255), c.to) << c.marker.x << ", " << c.marker.y;
    // An empty field has only (0, 0) and refuses every step.
    EXPECT_EQ(slKeyStep({0, 0}, TrackKey::Right, false, 0, 0), std::nullopt);
}

TEST(SLFieldGeometry, MarkerPenIsWhiteOverDarkColours)
{
    struct Case {
        TColor under;
        bool white;
    };
    const Case cases[] = {
        {rgbColor(255, 255, 255), false}, {rgbColor(255, 255, 0), false}, // white, yellow
        {rgbColor(0, 0, 0), true},        {rgbColor(128, 0, 0), true},    // black, dark red
        {rgbColor(128, 128, 128), true},  {rgbColor(255, 0, 0), true},    // mid grey, red: two channels low
        {rgbColor(190, 190, 255), true},  {rgbColor(191, 191, 0), false}, // the bound is inclusive
    };
    for (const Case& c : cases)
        EXPECT_EQ(slMarkerPenIsWhite(c.under), c.white) << std::hex << c.under;
    EXPECT_EQ(slMarkerRect({20, 30}), (TRect{15, 25, 25, 35}));
}

TEST(SLFieldGeometry, HintSpeaksHslOfThePointedColour)
{
    const std::string format = "H: %h S: %s L: %l\rHex: %hex";
    EXPECT_EQ(slHintText(format, slColorAt(0, {254, 0}, 255, 255)), "H: 0 S: 255 L: 128\rHex: FF0101");
    EXPECT_EQ(slHintText(format, rgbColor(255, 255, 255)), "H: 0 S: 0 L: 255\rHex: FFFFFF");
    EXPECT_EQ(slHintText(format, rgbColor(255, 0, 255)), "H: 300 S: 255 L: 128\rHex: FF00FF");
    EXPECT_EQ(slHintText("S: %s L: %l\rHex: %hex", rgbColor(0, 0, 0)), "S: 0 L: 0\rHex: 000000");
}

TEST(SLFieldGeometry, FieldImageAndWhatTheStretchShows)
{
    Bitmap32 full;
    buildSlField(full, 0);
    ASSERT_EQ(full.width(), 256);
    ASSERT_EQ(full.height(), 256);
    EXPECT_EQ(full.pixel(0, 0), 0xFFFFFFu);   // saturation 0, value 255
    EXPECT_EQ(full.pixel(255, 0), 0xFF0000u); // pixels are 0x00RRGGBB: red
    EXPECT_EQ(full.pixel(255, 255), 0u);
    EXPECT_EQ(full.pixel(100, 55), PixelFromClampedHsv(0, 100, 200));

    // Every pixel of every hue is the clamped HSV conversion of its column's saturation and row's value.
    for (int hue = 0; hue <= 360; ++hue) {
        buildSlField(full, hue);
        int wrong = 0;
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j < 256; ++j)
                wrong += full.pixel(j, i) != PixelFromClampedHsv(hue, j, 255 - i);
        EXPECT_EQ(wrong, 0) << "hue " << hue;
    }
    buildSlField(full, 0);

    Bitmap32 hue360;
    buildSlField(hue360, 360);
    EXPECT_TRUE(std::equal(full.bits(), full.bits() + 256 * 256, hue360.bits()));

    // Computing only the shown pixels gives what stretching the full image gives, at any size.
    for (const int hue : {0, 75, 300}) {
        buildSlField(full, hue);
        for (const auto& [w, h] : {std::pair{127, 127}, {255, 255}, {300, 97}, {1, 1}, {2, 600}}) {
            Bitmap32 shown;
            buildSlFieldShown(shown, hue, w, h);
            Bitmap32 stretched(w, h);
            stretchCopy(stretched, {0, 0, w, h}, {0, 0, w, h}, full, {0, 0, 256, 256});
            ASSERT_EQ(shown.width(), w);
            ASSERT_EQ(shown.height(), h);
            EXPECT_TRUE(std::equal(shown.bits(), shown.bits() + w * h, stretched.bits()))
                << "hue " << hue << " at " << w << " x " << h;
        }
    }
    Bitmap32 none;
    buildSlFieldShown(none, 0, 0, 5);
    EXPECT_TRUE(none.empty());
    buildSlFieldShown(none, 0, -3, -3);
    EXPECT_TRUE(none.empty());
}

TEST(CompositePickerGeometry, ChildrenFollowTheAnchors)
{
    EXPECT_EQ(compositeFieldPlace(297, 271), (ChildPlace{0, 8, 255, 255}));
    EXPECT_EQ(compositeSliderPlace(297, 271), (ChildPlace{257, 0, 26, 271}));
    // The main window's composites.
    EXPECT_EQ(compositeFieldPlace(169, 143), (ChildPlace{0, 8, 127, 127}));
    EXPECT_EQ(compositeSliderPlace(169, 143), (ChildPlace{129, 0, 26, 143}));
    EXPECT_EQ(compositeFieldPlace(30, 10), (ChildPlace{0, 8, 0, 0}));
    EXPECT_EQ(compositeSliderPlace(0, 0), (ChildPlace{-40, 0, 26, 0}));
}

} // namespace
} // namespace tintara
