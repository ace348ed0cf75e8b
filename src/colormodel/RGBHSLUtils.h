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

TColor ColorFromHsl(double H, double S, double L);
TColor ColorFromScaledHsl(int h, int s, int l, const HslScale& scale);
ScaledHsl ScaledHslFromColor(TColor c, const HslScale& scale);
int HueFromColor(TColor c, const HslScale& scale);
int SaturationFromColor(TColor c, const HslScale& scale);
int LuminanceFromColor(TColor c, const HslScale& scale);

void ClampToRange(int& v, int lo, int hi);

RGBTriple TripleFromClampedHsv(int h, int s, int v);
Pixel32 PixelFromClampedHsv(int h, int s, int v);
Hsv HsvFromTriple(RGBTriple t);

constexpr TColor ColorFromTriple(RGBTriple t)
{
    return static_cast<TColor>(t.red | (t.green << 8) | (t.blue << 16));
}
constexpr RGBTriple MakeTriple(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return RGBTriple{b, g, r}; }
constexpr Pixel32 MakePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<Pixel32>(b | (g << 8) | (r << 16));
}

} // namespace tintara
