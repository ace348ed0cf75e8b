#include "pickers/HSFieldGeometry.h"

#include "colormodel/HTMLColors.h"
#include "colormodel/RGBHSLUtils.h"
#include "pickers/HintFormat.h"
#include "raster/Raster.h"

#include <algorithm>

namespace tintara {

void buildHsField(Bitmap32& field)
{
    field.setSize(kHsFieldWidth, kHsFieldHeight);
    // Saturation j goes to row 240 - j, so saturation 0 would fall below the image: it is left out.
    for (int j = 1; j <= kHsFieldHeight; ++j) {
        std::uint32_t* row = field.scanLine(kHsFieldHeight - j);
        for (int i = 0; i < kHsFieldWidth; ++i)
            row[i] = pixelFromColor(ColorFromScaledHsl(i, j, kHsFieldLuminance, Scale240));
    }
}

const Bitmap32& hsField()
{
    static const Bitmap32 field = [] {
        Bitmap32 f;
        buildHsField(f);
        return f;
    }();
    return field;
}

void stretchHsField(Bitmap32& shown, int width, int height)
{
    shown.setSize(std::max(width, 0), std::max(height, 0));
    if (shown.empty())
        return;
    shown.setResampler(Resampler::NearestNeighbour);
    const TRect all{0, 0, shown.width(), shown.height()};
    stretchCopy(shown, all, all, hsField(), {0, 0, kHsFieldWidth, kHsFieldHeight});
}

TPoint hsMarkerFromValues(int hue, int saturation, int width, int height)
{
    // Each quotient first, as a fraction.
    const double kx = static_cast<double>(width) / kHsFieldWidth;
    const double ky = static_cast<double>(height) / kHsFieldHeight;
    return {Round(hue * kx), Round((kHsFieldHeight - saturation) * ky)};
}

TPoint hsLimitToField(TPoint p, int width, int height)
{
    ClampToRange(p.x, 0, width - 1);
    ClampToRange(p.y, 0, height - 1);
    return {std::max(p.x, 0), std::max(p.y, 0)};
}

std::optional<TColor> hsShownColorAt(const Bitmap32& shown, TPoint p)
{
    if (shown.empty())
        return std::nullopt;
    p = hsLimitToField(p, shown.width(), shown.height());
    return colorFromPixel(shown.pixel(p.x, p.y));
}

std::array<TRect, 4> hsCrossHairArms(TPoint at)
{
    const int x = at.x, y = at.y;
    return {{
        {x - 10, y - 2, x - 5, y + 1},
        {x - 2, y - 10, x + 1, y - 5},
        {x + 4, y - 2, x + 9, y + 1},
        {x - 2, y + 4, x + 1, y + 9},
    }};
}

TRect hsCrossHairBounds(TPoint at)
{
    const std::array<TRect, 4> arms = hsCrossHairArms(at);
    return {arms[0].Left, arms[1].Top, arms[2].Right, arms[3].Bottom};
}

std::optional<TPoint> hsKeyTarget(TPoint drawn, TrackKey key, bool ctrl)
{
    const int step = ctrl ? 10 : 1;
    switch (key) {
    case TrackKey::Left:
        return TPoint{drawn.x - step, drawn.y};
    case TrackKey::Right:
        return TPoint{drawn.x + step, drawn.y};
    case TrackKey::Up:
        return TPoint{drawn.x, drawn.y - step};
    case TrackKey::Down:
        return TPoint{drawn.x, drawn.y + step};
    case TrackKey::Other:
        break;
    }
    return std::nullopt;
}

TColor hsHintColor(TColor hover, int hintLuminance)
{
    const ScaledHsl hsl = ScaledHslFromColor(hover, Scale240);
    return ColorFromScaledHsl(hsl.h, hsl.s, hintLuminance, Scale240);
}

std::string hsHintText(std::string_view format, TColor hover, int hintLuminance)
{
    const TColor c = hsHintColor(hover, hintLuminance);
    const ScaledHsl hsl = ScaledHslFromColor(c, Scale240);
    const std::string hex = ColorToHexText(c);
    const std::string h = std::to_string(hsl.h);
    const std::string s = std::to_string(hsl.s);
    return formatHint(format, {{"%hex", hex}, {"%h", h}, {"%s", s}});
}

} // namespace tintara
