#include "pickers/ChannelSliderGeometry.h"
#include "raster/Raster.h"

#include "colormodel/RGBHSVUtils.h"

#include <gmock/gmock.h>

#include <limits>

namespace tintara {
namespace {

using C = SliderChannel;

struct PosCase {
    C channel;
    int length;
    int value;
    int pos;
};

TEST(ChannelSliderGeometry, PositionOfAValue)
{
    const PosCase cases[] = {
        // The main window's sliders are 143 high: k = 131 / M.
        {C::Hue, 143, 0, 0},
        {C::Hue, 143, 360, 131},
        {C::Hue, 143, 100, 36}, // 36.39
        {C::Value, 143, 255, 0},
        {C::Value, 143, 0, 131},
        {C::Value, 143, 128, 65}, // Round(131 / 255 * 127) = Round(65.24)
        {C::Saturation, 143, 255, 131},
        {C::Saturation, 143, 0, 0},
        // The defaults: hue 267 wide, luminance 252 high (k = 1).
        {C::Hue, 267, 360, 255},
        // Exact halves go to the even neighbour.
        {C::Hue, 267, 180, 128}, // 127.5
        {C::Hue, 267, 12, 8},    // 8.5
        {C::Hue, 267, 36, 26},   // 25.5
        {C::Hue, 143, 180, 66},  // 65.5
        {C::Luminance, 252, 240, 0},
        {C::Luminance, 252, 120, 120},
        {C::Luminance, 252, 0, 240},
        {C::Luminance, 252, 1, 239},
        // Sliders too short for a track put every value at 0.
        {C::Hue, 12, 360, 0},
        {C::Value, 5, 0, 0},
        {C::Hue, 0, 200, 0},
    };
    for (const PosCase& c : cases)
        EXPECT_EQ(sliderPosFromValue(c.channel, c.length, c.value), c.pos)
            << "channel " << static_cast<int>(c.channel) << " length " << c.length << " value " << c.value;
}

TEST(ChannelSliderGeometry, ValueAtAPosition)
{
    const PosCase cases[] = {
        {C::Hue, 143, 0, 0},
        {C::Hue, 143, 360, 131},
        // The pointer at y = 142 gives position 134: Round(134 * 360 / 131) = 368, held at 360.
        {C::Hue, 143, 360, 134},
        {C::Hue, 143, 41, 15}, // 41.22
        {C::Value, 143, 255, 0},
        {C::Value, 143, 0, 131},
        {C::Value, 143, 0, 134},  // 255 - 260.8 held at 0
        {C::Value, 143, 128, 65}, // 255 - 126.53
        {C::Saturation, 143, 255, 134},
        {C::Luminance, 252, 240, 0},
        {C::Luminance, 252, 120, 120},
        {C::Luminance, 252, 0, 244},
        // No track: every position gives the value at the start of the track.
        {C::Hue, 12, 0, 5},
        {C::Value, 12, 255, 0},
        {C::Value, 10, 255, 3},
        {C::Luminance, 4, 240, 0},
    };
    for (const PosCase& c : cases)
        EXPECT_EQ(sliderValueFromPos(c.channel, c.length, c.pos), c.value)
            << "channel " << static_cast<int>(c.channel) << " length " << c.length << " pos " << c.pos;
}

TEST(ChannelSliderGeometry, ChannelsAreClampedToTheirClassRanges)
{
    EXPECT_EQ(clampChannel(C::Hue, 0, 400), 360);
    EXPECT_EQ(clampChannel(C::Hue, 0, -5), 0);
    EXPECT_EQ(clampChannel(C::Saturation, 1, 300), 255);
    EXPECT_EQ(clampChannel(C::Value, 2, 256), 255);
    EXPECT_EQ(clampChannel(C::Value, 0, 361), 360);
    // The luminance slider works on the 240 scale: hue 240 and above become 239.
    EXPECT_EQ(clampChannel(C::Luminance, 0, 240), 239);
    EXPECT_EQ(clampChannel(C::Luminance, 1, 255), 240);
    EXPECT_EQ(clampChannel(C::Luminance, 2, 241), 240);
}

TEST(ChannelSliderGeometry, SelectedColorRoundTrips)
{
    // Greys have hue 0 and saturation 0; black also value 0.
    EXPECT_EQ(sliderChannelsFromColor(C::Hue, rgbColor(128, 128, 128)), (SliderChannels{0, 0, 128}));
    EXPECT_EQ(sliderChannelsFromColor(C::Hue, clBlack), (SliderChannels{0, 0, 0}));
    // Red with a trace of blue rounds to hue 360, not 0.
    EXPECT_EQ(sliderChannelsFromColor(C::Value, rgbColor(255, 0, 1)), (SliderChannels{360, 255, 255}));
    EXPECT_EQ(sliderChannelsFromColor(C::Luminance, rgbColor(255, 0, 0)), (SliderChannels{0, 240, 120}));
    EXPECT_EQ(sliderChannelsFromColor(C::Luminance, clWhite), (SliderChannels{0, 0, 240}));

    EXPECT_EQ(sliderColor(C::Hue, {360, 255, 255}), sliderColor(C::Hue, {0, 255, 255}));
    EXPECT_EQ(sliderColor(C::Hue, {0, 255, 255}), rgbColor(255, 0, 0));
    EXPECT_EQ(sliderColor(C::Value, {120, 255, 200}), rgbColor(0, 200, 0));
    // Luminance 240 at saturation 0 is white.
    EXPECT_EQ(sliderColor(C::Luminance, {0, 0, 240}), clWhite);
}

TEST(ChannelSliderGeometry, GradientSizesFollowTheLayout)
{
    struct SizeCase {
        C channel;
        int steps;
    };
    for (SizeCase c :
         {SizeCase{C::Hue, 360}, SizeCase{C::Saturation, 255}, SizeCase{C::Value, 255}, SizeCase{C::Luminance, 240}}) {
        Bitmap32 b;
        buildGradient(b, c.channel, lyHorizontal, {0, 255, 255});
        EXPECT_EQ(b.width(), c.steps);
        EXPECT_EQ(b.height(), 12);
        buildGradient(b, c.channel, lyVertical, {0, 255, 255});
        EXPECT_EQ(b.width(), 12);
        EXPECT_EQ(b.height(), c.steps);
    }
}

TEST(ChannelSliderGeometry, HorizontalGradientHoldsStepIInColumnIOfEveryRow)
{
    Bitmap32 b;
    buildGradient(b, C::Hue, lyHorizontal, {77, 255, 255}); // the own hue does not matter
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(b.pixel(0, y), 0xFF0000u);
        EXPECT_EQ(b.pixel(120, y), 0x00FF00u);
        EXPECT_EQ(b.pixel(240, y), 0x0000FFu);
        EXPECT_EQ(b.pixel(359, y), pixelFromColor(ColorFromHsv(359, 255, 255)));
    }

    // Saturations 0..254: white to nearly pure red; 255 itself is not drawn.
    buildGradient(b, C::Saturation, lyHorizontal, {0, 9, 255});
    EXPECT_EQ(b.pixel(0, 5), 0xFFFFFFu);
    EXPECT_EQ(b.pixel(254, 11), 0xFF0101u);
}

TEST(ChannelSliderGeometry, VerticalGradientStartsAtTheBrightEnd)
{
    Bitmap32 b;
    // A red channel slider: hue 0, full saturation; values 255 down to 1.
    buildGradient(b, C::Value, lyVertical, {0, 255, 3});
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(b.pixel(x, 0), 0xFF0000u);
        EXPECT_EQ(b.pixel(x, 127), 0x800000u);
        EXPECT_EQ(b.pixel(x, 254), 0x010000u);
    }

    // Luminance 240 down to 1 at saturation 0: white at the top, grey 128 at luminance 120.
    buildGradient(b, C::Luminance, lyVertical, {0, 0, 55});
    EXPECT_EQ(b.pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(b.pixel(11, 120), 0x808080u);
    EXPECT_EQ(b.pixel(6, 239), pixelFromColor(ColorFromScaledHsl(0, 0, 1, Scale240)));
}

TEST(ChannelSliderGeometry, RebuildingAtTheSameSizeReplacesEveryPixel)
{
    Bitmap32 b;
    buildGradient(b, C::Hue, lyHorizontal, {0, 255, 255});
    buildGradient(b, C::Hue, lyHorizontal, {0, 0, 90});
    for (int x : {0, 100, 359})
        EXPECT_EQ(b.pixel(x, 3), 0x5A5A5Au);
}

TEST(ChannelSliderGeometry, TheShownGradientIsTheGradientStretchedIntoTheStrip)
{
    struct ShownCase {
        C channel;
        TTrackBarLayout layout;
        SliderChannels channels;
        int width, height;
    };
    // The main window's strips, a strip longer than the gradient, and one pixel.
    const ShownCase cases[] = {
        {C::Hue, lyVertical, {0, 200, 180}, 15, 127},      {C::Saturation, lyVertical, {40, 0, 90}, 15, 127},
        {C::Value, lyVertical, {0, 255, 0}, 15, 127},      {C::Luminance, lyVertical, {160, 200, 0}, 16, 236},
        {C::Hue, lyHorizontal, {0, 99, 255}, 253, 12},     {C::Value, lyHorizontal, {300, 128, 0}, 400, 7},
        {C::Saturation, lyHorizontal, {10, 0, 255}, 1, 1},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "channel " << static_cast<int>(c.channel) << " " << c.width << "x"
                                        << c.height);
        Bitmap32 full;
        buildGradient(full, c.channel, c.layout, c.channels);
        Bitmap32 stretched(c.width, c.height);
        stretchCopy(stretched, {0, 0, c.width, c.height}, {0, 0, c.width, c.height}, full,
                    {0, 0, full.width(), full.height()});
        Bitmap32 shown;
        buildGradientShown(shown, c.channel, c.layout, c.channels, c.width, c.height);
        ASSERT_EQ(shown.width(), c.width);
        ASSERT_EQ(shown.height(), c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(shown.pixel(x, y), stretched.pixel(x, y)) << x << "," << y;
    }
}

struct CommandCase {
    C channel;
    TTrackBarCommand command;
    int own;
    int increment;
    std::optional<int> target;
};

TEST(ChannelSliderGeometry, CommandTargets)
{
    const CommandCase cases[] = {
        // The wheel raises the value on "up", whichever way the track runs.
        {C::Hue, tcWheelUp, 10, 1, 11},
        {C::Value, tcWheelUp, 10, 1, 11},
        {C::Luminance, tcWheelDown, 10, 5, 5},
        {C::Hue, tcWheelUp, 360, 1, 360},
        {C::Saturation, tcWheelDown, 0, 1, 0},
        // Keys move the arrow the way they point: hue and saturation grow along the track,
        // value and luminance shrink.
        {C::Hue, tcArrowUp, 10, 1, 9},
        {C::Hue, tcArrowLeft, 10, 1, 9},
        {C::Hue, tcArrowDown, 10, 1, 11},
        {C::Saturation, tcArrowRight, 10, 2, 12},
        {C::Value, tcArrowUp, 10, 1, 11},
        {C::Value, tcArrowDown, 10, 1, 9},
        {C::Luminance, tcArrowLeft, 10, 1, 11},
        {C::Luminance, tcArrowRight, 0, 1, 0},
        {C::Hue, tcCtrlArrowUp, 100, 1, 0},
        {C::Hue, tcCtrlArrowDown, 100, 1, 360},
        {C::Saturation, tcCtrlArrowLeft, 100, 1, 0},
        {C::Saturation, tcCtrlArrowRight, 100, 1, 255},
        {C::Value, tcCtrlArrowUp, 100, 1, 255},
        {C::Value, tcCtrlArrowDown, 100, 1, 0},
        {C::Luminance, tcCtrlArrowLeft, 100, 1, 240},
        {C::Luminance, tcCtrlArrowRight, 100, 1, 0},
        // No Increment overflows.
        {C::Hue, tcWheelUp, 300, std::numeric_limits<int>::max(), 360},
        {C::Hue, tcWheelDown, 300, std::numeric_limits<int>::max(), 0},
        {C::Hue, tcWheelUp, 300, std::numeric_limits<int>::min(), 0},
        // The other commands are not value steps.
        {C::Hue, tcMouseDown, 10, 1, std::nullopt},
        {C::Value, tcPaint, 10, 1, std::nullopt},
        {C::Value, tcResize, 10, 1, std::nullopt},
        {C::Value, tcLayoutChanged, 10, 1, std::nullopt},
    };
    for (const CommandCase& c : cases)
        EXPECT_EQ(commandTarget(c.channel, c.command, c.own, c.increment), c.target)
            << "channel " << static_cast<int>(c.channel) << " command " << c.command << " own " << c.own;
}

} // namespace
} // namespace tintara
