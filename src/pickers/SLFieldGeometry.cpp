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

namespace {

// One row of the field at value v: the clamped HSV conversion with the hue's sector and remainder
// fixed, so the channel order is settled at compile time and nothing branches per pixel. A zero
// saturation needs no case of its own: p, q and u all come out as v.
template <int Sector> void fillRow(std::uint32_t* row, const int* saturations, int count, int v, int f)
{
    // Everything is non-negative here, which spares the divisions their sign corrections.
    const auto uv = static_cast<unsigned>(v);
    const auto uf = static_cast<unsigned>(f);
    for (int x = 0; x < count; ++x) {
        const unsigned vs = uv * static_cast<unsigned>(saturations[x]);
        // 15300 = 60 * 255
        const int p = static_cast<int>(uv - vs / 255);
        const int q = static_cast<int>(uv - vs * uf / 15300);
        const int u = static_cast<int>(uv - vs * (60 - uf) / 15300);
        const detail::HsvChannels c = detail::channelsOfSector(Sector, v, p, q, u);
        row[x] = MakePixel(static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                           static_cast<std::uint8_t>(c.blue));
    }
}

using RowFiller = void (*)(std::uint32_t*, const int*, int, int, int);
constexpr RowFiller kRowFillers[6] = {fillRow<0>, fillRow<1>, fillRow<2>, fillRow<3>, fillRow<4>, fillRow<5>};

} // namespace

void buildSlFieldShown(Bitmap32& shown, int hue, int width, int height)
{
    shown.setSize(std::max(width, 0), std::max(height, 0));
    if (shown.empty())
        return;
    const int w = shown.width();
    const int h = shown.height();
    ClampToRange(hue, 0, 360);
    const int t = hue % 360;
    const RowFiller fill = kRowFillers[t / 60];
    // The saturation each shown column stands for; every row repeats the same columns. Kept between
    // calls: a colour moving through hues rebuilds the field 25 times a second.
    static thread_local std::vector<int> saturations;
    saturations.resize(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        saturations[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<long long>(x) * kSlFieldSize / w);
    int lastValue = -1;
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = shown.scanLine(y);
        const int value = 255 - static_cast<int>(static_cast<long long>(y) * kSlFieldSize / h);
        if (value == lastValue) {
            // An enlarged field repeats rows: copy the one above.
            std::copy_n(shown.scanLine(y - 1), w, row);
            continue;
        }
        lastValue = value;
        fill(row, saturations.data(), w, value, t % 60);
    }
}

} // namespace tintara
