#include "pickers/HSFieldGeometry.h"

#include "colormodel/RGBHSLUtils.h"

#include <gmock/gmock.h>

namespace tintara {
namespace {

TEST(HSFieldGeometry, MarkerFromHueAndSaturation)
{
    struct Case {
        int hue, saturation, width, height;
        TPoint marker;
    };
    const Case cases[] = {
        {0, 240, 239, 240, {0, 0}},     // red
        {159, 240, 239, 240, {159, 0}}, // blue
        {0, 0, 239, 240, {0, 240}},     // a grey: one row below the field
        {239, 1, 239, 240, {239, 239}},
        // The main window's 127 x 127 field: 159 * (127 / 239) = 84.49, 240 * (127 / 240) = 127.
        {159, 240, 127, 127, {84, 0}},
        {0, 0, 127, 127, {0, 127}},
        {120, 120, 127, 127, {64, 64}}, // 63.77, 63.5 (the half goes to the even 64)
        {200, 100, 0, 0, {0, 0}},
        {200, 100, 1, 1, {1, 1}}, // 0.84, 0.58
    };
    for (const Case& c : cases)
        EXPECT_EQ(hsMarkerFromValues(c.hue, c.saturation, c.width, c.height), c.marker)
            << c.hue << ", " << c.saturation << " at " << c.width << " x " << c.height;
}

TEST(HSFieldGeometry, LimitingToTheField)
{
    struct Case {
        TPoint p;
        int width, height;
        TPoint limited;
    };
    const Case cases[] = {
        {{0, 240}, 239, 240, {0, 239}}, // where a grey is drawn
        {{-6, 5}, 239, 240, {0, 5}},    {{300, -1}, 239, 240, {238, 0}},
        {{5, 5}, 1, 1, {0, 0}},         {{5, 5}, 0, 0, {0, 0}}, // never negative, even with nothing to show
        {{-5, -5}, 0, 0, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hsLimitToField(c.p, c.width, c.height), c.limited);
}

TEST(HSFieldGeometry, FieldImageHoldsHuesAcrossAndSaturationsDown)
{
    const Bitmap32& f = hsField();
    ASSERT_EQ(f.width(), 239);
    ASSERT_EQ(f.height(), 240);
    EXPECT_EQ(colorFromPixel(f.pixel(0, 0)), rgbColor(255, 0, 0));
    EXPECT_EQ(colorFromPixel(f.pixel(159, 0)), ColorFromScaledHsl(159, 240, 120, Scale240));
    EXPECT_EQ(colorFromPixel(f.pixel(80, 0)), rgbColor(0, 255, 2));
    // The bottom row is saturation 1, not the grey of saturation 0.
    EXPECT_EQ(colorFromPixel(f.pixel(0, 239)), ColorFromScaledHsl(0, 1, 120, Scale240));
    EXPECT_EQ(colorFromPixel(f.pixel(238, 120)), ColorFromScaledHsl(238, 120, 120, Scale240));
}

TEST(HSFieldGeometry, WhatTheControlShowsIsTheStretchedField)
{
    Bitmap32 shown;
    stretchHsField(shown, 239, 240);
    ASSERT_EQ(shown.width(), 239);
    EXPECT_TRUE(std::equal(shown.bits(), shown.bits() + 239 * 240, hsField().bits()));

    // Nearest neighbour: column x shows field column x * 239 / W, row y field row y * 240 / H.
    stretchHsField(shown, 127, 127);
    ASSERT_EQ(shown.width(), 127);
    ASSERT_EQ(shown.height(), 127);
    for (const TPoint p : {TPoint{0, 0}, TPoint{126, 126}, TPoint{84, 0}, TPoint{63, 64}})
        EXPECT_EQ(shown.pixel(p.x, p.y), hsField().pixel(p.x * 239 / 127, p.y * 240 / 127)) << p.x << ", " << p.y;

    EXPECT_EQ(hsShownColorAt(shown, {84, 0}), colorFromPixel(shown.pixel(84, 0)));
    // Reading holds the point on the field.
    EXPECT_EQ(hsShownColorAt(shown, {-10, 500}), colorFromPixel(shown.pixel(0, 126)));

    stretchHsField(shown, 0, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(hsShownColorAt(shown, {0, 0}), std::nullopt);
    stretchHsField(shown, 1, 1);
    EXPECT_EQ(hsShownColorAt(shown, {3, 3}), rgbColor(255, 0, 0));
}

TEST(HSFieldGeometry, CrossHairLeavesTheChosenPointUncovered)
{
    const auto arms = hsCrossHairArms({20, 30});
    EXPECT_EQ(arms[0], (TRect{10, 28, 15, 31}));
    EXPECT_EQ(arms[1], (TRect{18, 20, 21, 25}));
    EXPECT_EQ(arms[2], (TRect{24, 28, 29, 31}));
    EXPECT_EQ(arms[3], (TRect{18, 34, 21, 39}));
    for (int y = 25; y <= 33; ++y)
        for (int x = 15; x <= 23; ++x)
            for (const TRect& arm : arms)
                EXPECT_FALSE(PtInRect(arm, {x, y})) << x << ", " << y;
}

TEST(HSFieldGeometry, ArrowKeysAimOneOrTenPixelsFromTheDrawnMarker)
{
    struct Case {
        TrackKey key;
        bool ctrl;
        TPoint target;
    };
    const Case cases[] = {
        {TrackKey::Left, false, {49, 60}}, {TrackKey::Left, true, {40, 60}}, {TrackKey::Right, false, {51, 60}},
        {TrackKey::Right, true, {60, 60}}, {TrackKey::Up, false, {50, 59}},  {TrackKey::Up, true, {50, 50}},
        {TrackKey::Down, false, {50, 61}}, {TrackKey::Down, true, {50, 70}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hsKeyTarget({50, 60}, c.key, c.ctrl), c.target);
    EXPECT_EQ(hsKeyTarget({50, 60}, TrackKey::Other, false), std::nullopt);
    // Ctrl+Left at x = 4 aims at -6; taking the colour there holds it at 0.
    EXPECT_EQ(hsLimitToField(*hsKeyTarget({4, 0}, TrackKey::Left, true), 239, 240), (TPoint{0, 0}));
}

TEST(HSFieldGeometry, HintShowsThePointedHueAndSaturationAtTheCompositesLuminance)
{
    const std::string format = "H: %h S: %s\rHex: %hex";
    struct Case {
        TColor hover;
        int luminance;
        const char* text;
    };
    const Case cases[] = {
        {rgbColor(255, 0, 0), 120, "H: 0 S: 240\rHex: FF0000"},
        {rgbColor(255, 0, 0), 60, "H: 0 S: 240\rHex: 800000"},
        // Blue at half luminance is (159, 240, 120); the hint colour is formed from those numbers.
        {rgbColor(0, 0, 255), 120, "H: 159 S: 240\rHex: 0002FF"},
        // A grey keeps hue and saturation 0: white at full luminance, black at none.
        {rgbColor(128, 128, 128), 240, "H: 0 S: 0\rHex: FFFFFF"},
        {rgbColor(128, 128, 128), 0, "H: 0 S: 0\rHex: 000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hsHintText(format, c.hover, c.luminance), c.text);
    // Unknown placeholders stay as typed.
    EXPECT_EQ(hsHintText("%l %v", rgbColor(255, 0, 0), 120), "%l %v");
}

} // namespace
} // namespace tintara
