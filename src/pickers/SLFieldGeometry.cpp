#include "pickers/SLFieldGeometry.h"

#include "colormodel/HTMLColors.h"
#include "colormodel/RGBHSLUtils.h"
#include "pickers/HintFormat.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tintara {

TPoint slMarkerFromValues(int saturation, int luminance, int width, int height)
{
    return {MulDiv(saturation, width, 255), MulDiv(255 - luminance, height, 255)};
}

SlValues slValuesFromPoint(TPoint p, int width, int height)
{
    return {MulDiv(255, p.x, width), MulDiv(255, height - p.y, height)};
}

TColor slColorAt(int hue, TPoint p, int width, int height)
{
    const SlValues v = slValuesFromPoint(p, width, height);
    return ColorFromTriple(TripleFromClampedHsv(hue, v.saturation, v.luminance));
}

std::optional<TPoint> slKeyStep(TPoint marker, TrackKey key, bool ctrl, int width, int height)
{
    const int step = ctrl ? 10 : 1;
    TPoint to = marker;
    switch (key) {
    case TrackKey::Left:
        to.x -= step;
        break;
    case TrackKey::Right:
        to.x += step;
        break;
    case TrackKey::Up:
        to.y -= step;
        break;
    case TrackKey::Down:
        to.y += step;
        break;
    case TrackKey::Other:
        return std::nullopt;
    }
    if (to.x < 0 || to.x > width || to.y < 0 || to.y > height)
        return std::nullopt;
    return to;
}

TRect slMarkerRect(TPoint at)
{
    return {at.x - 5, at.y - 5, at.x + 5, at.y + 5};
}

bool slMarkerPenIsWhite(TColor under)
{
    const int dark = (redOf(under) <= 190) + (greenOf(under) <= 190) + (blueOf(under) <= 190);
    return dark >= 2;
}

std::string slHintText(std::string_view format, TColor c)
{
    const ScaledHsl hsl = ScaledHslFromColor(c, Scale360);
    const std::string hex = ColorToHexText(c);
    const std::string h = std::to_string(hsl.h);
    const std::string s = std::to_string(hsl.s);
    const std::string l = std::to_string(hsl.l);
    return formatHint(format, {{"%hex", hex}, {"%h", h}, {"%s", s}, {"%l", l}});
}

void buildSlField(Bitmap32& field, int hue)
{
    buildSlFieldShown(field, hue, kSlFieldSize, kSlFieldSize);
}

void buildSlFieldShown(Bitmap32& shown, int hue, int width, int height)
{
    shown.setSize(std::max(width, 0), std::max(height, 0));
    if (shown.empty())
        return;
    // The saturation each shown column stands for; every row repeats the same columns.
    std::vector<int> saturations(static_cast<std::size_t>(shown.width()));
    for (int x = 0; x < shown.width(); ++x)
        saturations[static_cast<std::size_t>(x)] =
            static_cast<int>(static_cast<long long>(x) * kSlFieldSize / shown.width());
    int lastValue = -1;
    for (int y = 0; y < shown.height(); ++y) {
        std::uint32_t* row = shown.scanLine(y);
        const int value = 255 - static_cast<int>(static_cast<long long>(y) * kSlFieldSize / shown.height());
        if (value == lastValue) {
            // An enlarged field repeats rows: copy the one above.
            std::copy_n(shown.scanLine(y - 1), shown.width(), row);
            continue;
        }
        lastValue = value;
        for (int x = 0; x < shown.width(); ++x)
            row[x] = PixelFromClampedHsv(hue, saturations[static_cast<std::size_t>(x)], value);
    }
}

} // namespace tintara
