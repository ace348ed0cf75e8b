#include "pickers/ChannelSliderGeometry.h"

#include "colormodel/RGBHSLUtils.h"
#include "colormodel/RGBHSVUtils.h"

#include <algorithm>
#include <cstring>

namespace tintara {

namespace {

// The 12 is fixed; it does not follow the arrow style's edge inset.
double trackSpan(SliderChannel c, int trackLength)
{
    return static_cast<double>(trackLength - 12) / ownMaximum(c);
}

// The value at the start of the track: where every position lands when there is no track at all.
constexpr int startValue(SliderChannel c)
{
    return growsAlongTrack(c) ? 0 : ownMaximum(c);
}

} // namespace

int clampChannel(SliderChannel c, int slot, int v)
{
    ClampToRange(v, 0, channelMaxima(c)[static_cast<std::size_t>(slot)]);
    return v;
}

int sliderPosFromValue(SliderChannel c, int trackLength, int x)
{
    const double k = trackSpan(c, trackLength);
    const int steps = growsAlongTrack(c) ? x : ownMaximum(c) - x;
    int pos = Round(k * steps);
    pos = std::min(pos, trackLength - 7);
    return std::max(pos, 0);
}

int sliderValueFromPos(SliderChannel c, int trackLength, int pos)
{
    const double k = trackSpan(c, trackLength);
    // A control no longer than 12 pixels has no track to divide by.
    if (k <= 0)
        return startValue(c);
    const int v = growsAlongTrack(c) ? Round(pos / k) : Round(ownMaximum(c) - pos / k);
    return std::clamp(v, 0, ownMaximum(c));
}

TColor sliderColor(SliderChannel c, const SliderChannels& ch)
{
    if (c == SliderChannel::Luminance)
        return ColorFromScaledHsl(ch[0], ch[1], ch[2], Scale240);
    return ColorFromHsv(ch[0], ch[1], ch[2]);
}

SliderChannels sliderChannelsFromColor(SliderChannel c, TColor color)
{
    if (c == SliderChannel::Luminance) {
        const ScaledHsl hsl = ScaledHslFromColor(color, Scale240);
        return {hsl.h, hsl.s, hsl.l};
    }
    const Hsv hsv = HsvFromRgb(redOf(color), greenOf(color), blueOf(color));
    return {hsv.h, hsv.s, hsv.v};
}

TColor gradientColor(SliderChannel c, const SliderChannels& ch, int step)
{
    switch (c) {
    case SliderChannel::Hue:
        return ColorFromHsv(step, ch[1], ch[2]);
    case SliderChannel::Saturation:
        return ColorFromHsv(ch[0], step, ch[2]);
    case SliderChannel::Value:
        return ColorFromHsv(ch[0], ch[1], 255 - step);
    case SliderChannel::Luminance:
        return ColorFromScaledHsl(ch[0], ch[1], 240 - step, Scale240);
    }
    return clBlack;
}

void buildGradient(Bitmap32& into, SliderChannel c, TTrackBarLayout layout, const SliderChannels& ch)
{
    const int n = gradientSteps(c);
    if (layout == lyHorizontal) {
        into.setSize(n, GradientThickness);
        std::uint32_t* first = into.scanLine(0);
        for (int i = 0; i < n; ++i)
            first[i] = pixelFromColor(gradientColor(c, ch, i));
        for (int y = 1; y < GradientThickness; ++y)
            std::memcpy(into.scanLine(y), first, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
        return;
    }
    into.setSize(GradientThickness, n);
    for (int i = 0; i < n; ++i) {
        std::uint32_t* row = into.scanLine(i);
        std::fill(row, row + GradientThickness, pixelFromColor(gradientColor(c, ch, i)));
    }
}

void buildGradientShown(Bitmap32& into, SliderChannel c, TTrackBarLayout layout, const SliderChannels& channels,
                        int width, int height)
{
    into.setSize(width, height);
    if (into.empty())
        return;
    const long long n = gradientSteps(c);
    const auto stepAt = [n](int d, int length) { return static_cast<int>(d * n / length); };
    if (layout == lyHorizontal) {
        std::uint32_t* first = into.scanLine(0);
        for (int x = 0; x < width; ++x)
            first[x] = pixelFromColor(gradientColor(c, channels, stepAt(x, width)));
        for (int y = 1; y < height; ++y)
            std::memcpy(into.scanLine(y), first, sizeof(std::uint32_t) * static_cast<std::size_t>(width));
        return;
    }
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = into.scanLine(y);
        std::fill(row, row + width, pixelFromColor(gradientColor(c, channels, stepAt(y, height))));
    }
}

std::optional<int> commandTarget(SliderChannel c, TTrackBarCommand command, int own, int increment)
{
    const int top = ownMaximum(c);
    // 64-bit so that no Increment overflows; the setter would clamp to the range anyway.
    auto step = [&](int sign) {
        return static_cast<int>(std::clamp(static_cast<long long>(own) + static_cast<long long>(sign) * increment, 0LL,
                                           static_cast<long long>(top)));
    };
    // The arrow keys move the arrow the way they point: towards the start lowers a growing channel
    // and raises a shrinking one.
    const int towardsStart = growsAlongTrack(c) ? -1 : 1;
    switch (command) {
    case tcWheelUp:
        return step(1);
    case tcWheelDown:
        return step(-1);
    case tcArrowUp:
    case tcArrowLeft:
        return step(towardsStart);
    case tcArrowDown:
    case tcArrowRight:
        return step(-towardsStart);
    case tcCtrlArrowUp:
    case tcCtrlArrowLeft:
        return startValue(c);
    case tcCtrlArrowDown:
    case tcCtrlArrowRight:
        return top - startValue(c);
    default:
        return std::nullopt;
    }
}

} // namespace tintara
