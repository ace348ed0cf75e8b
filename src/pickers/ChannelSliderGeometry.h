#pragma once
// Window-free arithmetic of the four channel sliders (hue, saturation, value, luminance): channel
// ranges, value <-> arrow position, the gradient bitmaps and the value each command asks for.
#include "colormodel/TColor.h"
#include "pickers/TrackBarGeometry.h"
#include "raster/Bitmap32.h"

#include <array>
#include <optional>

namespace tintara {

// The channel a slider edits. Hue, Saturation and Value are HSV (0..360, 0..255, 0..255);
// Luminance is HSL on Scale240, and its slider's hue and saturation are Scale240 too.
enum class SliderChannel { Hue, Saturation, Value, Luminance };

// A slider's three channels in the order hue, saturation, value (or luminance).
using SliderChannels = std::array<int, 3>;

// Index of the slider's own channel in SliderChannels.
constexpr int ownSlot(SliderChannel c)
{
    return c == SliderChannel::Hue ? 0 : c == SliderChannel::Saturation ? 1 : 2;
}

// Upper limits of the three channels (all start at 0).
constexpr SliderChannels channelMaxima(SliderChannel c)
{
    return c == SliderChannel::Luminance ? SliderChannels{239, 240, 240} : SliderChannels{360, 255, 255};
}

// The own channel's range ends at this value; it is also the M in the track span (L - 12) / M.
constexpr int ownMaximum(SliderChannel c)
{
    return c == SliderChannel::Hue ? 360 : c == SliderChannel::Luminance ? 240 : 255;
}

// Hue and saturation grow along the track; value and luminance shrink (the bright end first).
constexpr bool growsAlongTrack(SliderChannel c)
{
    return c == SliderChannel::Hue || c == SliderChannel::Saturation;
}

int clampChannel(SliderChannel c, int slot, int v);

// Arrow position of the own channel's value x on a track of the given length, and back.
int sliderPosFromValue(SliderChannel c, int trackLength, int x);
int sliderValueFromPos(SliderChannel c, int trackLength, int pos);

// The colour the three channels describe (SelectedColor), and the channels of a colour.
TColor sliderColor(SliderChannel c, const SliderChannels& channels);
SliderChannels sliderChannelsFromColor(SliderChannel c, TColor color);

// Gradient: gradientSteps(c) steps of 12 pixels across the track; step i is gradientColor(c, ..., i).
inline constexpr int GradientThickness = 12;
constexpr int gradientSteps(SliderChannel c)
{
    return c == SliderChannel::Hue ? 360 : c == SliderChannel::Luminance ? 240 : 255;
}
TColor gradientColor(SliderChannel c, const SliderChannels& channels, int step);

// Builds the gradient into `into` (N x 12 horizontal, 12 x N vertical). It reads only the fixed
// channels. Reuses the bitmap's memory when the size is unchanged.
void buildGradient(Bitmap32& into, SliderChannel c, TTrackBarLayout layout, const SliderChannels& channels);

// The gradient as a strip of width x height pixels shows it: what stretching buildGradient's bitmap
// into the strip gives (nearest neighbour, strip pixel d along the track showing step d * N / length),
// with each step worked out only where it shows. A slider repaints its strip whole whenever a fixed
// channel changes, and its strip is shorter than the gradient has steps.
void buildGradientShown(Bitmap32& into, SliderChannel c, TTrackBarLayout layout, const SliderChannels& channels,
                        int width, int height);

// For the wheel and key commands: the value handed to the own channel's setter (already within the
// channel's range). Nothing for the other commands.
std::optional<int> commandTarget(SliderChannel c, TTrackBarCommand command, int own, int increment);

} // namespace tintara
