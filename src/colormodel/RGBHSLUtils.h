#pragma once
// HSL on a caller-chosen integer scale, and the clamped HSV conversion that writes bitmap pixels.
#include "colormodel/TColor.h"

#include <cstdint>

namespace tintara {

struct HslScale {
    int HueMax;
    int SaturationMax;
    int LuminanceMax;
};
inline constexpr HslScale Scale240{239, 240, 240};
inline constexpr HslScale Scale360{360, 255, 255};

struct ScaledHsl {
    int h = 0;
    int s = 0;
    int l = 0;
    friend constexpr bool operator==(const ScaledHsl&, const ScaledHsl&) = default;
};

struct Hsv {
    int h = 0;
    int s = 0;
    int v = 0;
    friend constexpr bool operator==(const Hsv&, const Hsv&) = default;
};

// Bytes in memory order blue, green, red.
struct RGBTriple {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    friend constexpr bool operator==(const RGBTriple&, const RGBTriple&) = default;
};

// A 32-bit bitmap pixel: 0x00RRGGBB as an integer (bytes blue, green, red, 0 in memory).
using Pixel32 = std::uint32_t;

constexpr TColor ColorFromTriple(RGBTriple t)
{
    return static_cast<TColor>(t.red | (t.green << 8) | (t.blue << 16));
}
constexpr RGBTriple MakeTriple(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return RGBTriple{b, g, r};
}
constexpr Pixel32 MakePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<Pixel32>(b | (g << 8) | (r << 16));
}

// H, S, L as fractions 0..1. Nothing is clamped: a hue beyond -1..2 is corrected by one turn only, and
// each channel keeps the low byte of its rounded value.
TColor ColorFromHsl(double H, double S, double L);
// h / HueMax, s / SaturationMax, l / LuminanceMax through ColorFromHsl; callers clamp.
TColor ColorFromScaledHsl(int h, int s, int l, const HslScale& scale);
// The hue can come out as HueMax (the same colour as 0); only the low three bytes of c are read.
ScaledHsl ScaledHslFromColor(TColor c, const HslScale& scale);
int HueFromColor(TColor c, const HslScale& scale);
int SaturationFromColor(TColor c, const HslScale& scale);
int LuminanceFromColor(TColor c, const HslScale& scale);

// Lower bound first, so with lo > hi the variable ends at hi.
constexpr void ClampToRange(int& v, int lo, int hi)
{
    if (v < lo) {
        v = lo;
    }
    if (v > hi) {
        v = hi;
    }
}

namespace detail {

struct HsvChannels {
    int red;
    int green;
    int blue;
};

// The six hue sectors shared by both integer HSV conversions; outside 0..5 the colour is black.
constexpr HsvChannels channelsOfSector(int sector, int v, int p, int q, int u)
{
    switch (sector) {
    case 0:
        return {v, u, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, u};
    case 3:
        return {p, q, v};
    case 4:
        return {u, p, v};
    case 5:
        return {v, p, q};
    default:
        return {0, 0, 0};
    }
}

// Inline because the saturation-luminance field runs it for every pixel of its bitmap.
constexpr HsvChannels clampedHsvChannels(int h, int s, int v)
{
    ClampToRange(h, 0, 360);
    ClampToRange(s, 0, 255);
    ClampToRange(v, 0, 255);
    if (s == 0) {
        return {v, v, v};
    }
    const int t = h % 360;
    const int f = t % 60;
    const int vs = v * s;
    // 15300 = 60 * 255
    return channelsOfSector(t / 60, v, v - vs / 255, v - vs * f / 15300, v - vs * (60 - f) / 15300);
}

} // namespace detail

// h limited to 0..360, s and v to 0..255 first; the integer arithmetic of the saturation-luminance field.
constexpr RGBTriple TripleFromClampedHsv(int h, int s, int v)
{
    const detail::HsvChannels c = detail::clampedHsvChannels(h, s, v);
    return MakeTriple(static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                      static_cast<std::uint8_t>(c.blue));
}

constexpr Pixel32 PixelFromClampedHsv(int h, int s, int v)
{
    const detail::HsvChannels c = detail::clampedHsvChannels(h, s, v);
    return MakePixel(static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                     static_cast<std::uint8_t>(c.blue));
}

// Rounded with MulDiv (halves away from zero); the hue is 0..359.
Hsv HsvFromTriple(RGBTriple t);

} // namespace tintara
