#include "colormodel/RGBHSVUtils.h"

#include <cstdint>

namespace tintara {

Hsv HsvFromRgb(int R, int G, int B)
{
    const int V = R > G ? (R > B ? R : B) : (G > B ? G : B);
    const int min = R < G ? (R < B ? R : B) : (G < B ? G : B);
    // In doubles from the start: exact for every int, so out-of-range channels cannot overflow.
    const double d = static_cast<double>(V) - min;
    const double s = V == 0 ? 0.0 : d / V;
    double hue = 0;
    if (s != 0) {
        if (R == V) {
            hue = 60 * (static_cast<double>(G) - B) / d;
        } else if (G == V) {
            hue = 60 * (static_cast<double>(B) - R) / d + 120;
        } else {
            hue = 60 * (static_cast<double>(R) - G) / d + 240;
        }
        if (hue < 0) {
            hue = hue + 360;
        }
    }
    return {Round(hue), Round(s * 255), V};
}

RGBTriple TripleFromHsv(int h, int s, int v)
{
    if (s == 0) {
        const auto grey = static_cast<std::uint8_t>(v);
        return {grey, grey, grey};
    }
    if (h == 360) {
        h = 0;
    }
    const int f = h % 60;
    // Nothing is clamped here, so the products are formed in 64 bits; v * s * f could still exceed that,
    // hence vs * f / 15300 is split as (vs / 15300) * f + (vs % 15300) * f / 15300, which is exact
    // because both parts carry the sign of vs * f.
    const std::int64_t vs = static_cast<std::int64_t>(v) * s;
    const std::int64_t whole = vs / 15300;
    const std::int64_t rest = vs % 15300;
    const auto scaled = [&](std::int64_t k) { return whole * k + rest * k / 15300; };
    const auto low = [](std::int64_t x) { return static_cast<int>(x & 0xFF); };
    const detail::HsvChannels c =
        detail::channelsOfSector(h / 60, low(v), low(v - vs / 255), low(v - scaled(f)), low(v - scaled(60 - f)));
    return MakeTriple(static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                      static_cast<std::uint8_t>(c.blue));
}

TColor ColorFromHsv(int h, int s, int v)
{
    return ColorFromTriple(TripleFromHsv(h, s, v));
}

} // namespace tintara
