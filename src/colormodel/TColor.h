#pragma once
// The colour value every part of Tintara passes around, and the small integer helpers that the
// colour arithmetic and the hit tests share.
#include <cmath>
#include <cstdint>
#include <limits>

namespace tintara {

// 0x00BBGGRR: red in the low byte, then green, then blue.
using TColor = std::uint32_t;

// "No colour": what the hexagon picker reports when no comb is under the cursor or selected.
inline constexpr TColor clNone = 0x1FFFFFFF;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;

constexpr TColor rgbColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

struct TPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(TPoint, TPoint) = default;
};

// Left, top inclusive; right, bottom exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr int width() const { return Right - Left; }
    constexpr int height() const { return Bottom - Top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// Nearest integer, an exact half going to the even neighbour (Round(2.5) = 2, Round(-0.5) = 0).
// Values beyond the int range saturate and NaN gives 0, so no input is undefined behaviour.
// Inline and libm-free: the gradient fields call it for every pixel.
inline int Round(double x)
{
    if (x >= -2147483648.5 && x < 2147483647.5) {
        // Adding and removing 1.5 * 2^52 leaves no fraction bits, so the FPU's own round-to-nearest-even
        // does the work (|x| < 2^51 here). Only valid without -ffast-math, which this project never uses.
        constexpr double shifter = 0x1.8p52;
        return static_cast<int>((x + shifter) - shifter);
    }
    if (std::isnan(x)) {
        return 0;
    }
    return x > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
}

// a * b / c from the exact 64-bit product, rounded to nearest with halves away from zero.
// Returns -1 when c is 0 or the result does not fit an int.
int MulDiv(int a, int b, int c);

// True when left <= x < right and top <= y < bottom.
constexpr bool PtInRect(const TRect& r, TPoint p)
{
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

} // namespace tintara
