#include "colormodel/RGBHSLUtils.h"

namespace tintara {

namespace {

// Nearest doubles; the hue offsets of red and blue and the falling edge of a channel depend on exactly these.
constexpr double oneThird = 1.0 / 3.0;
constexpr double twoThirds = 2.0 / 3.0;

// 255 * V can leave 0..1 when a caller passes an unclamped saturation or luminance; only the low byte
// of the rounded value counts then.
inline int channelByte(double V)
{
    return Round(255.0 * V) & 0xFF;
}

inline int hslChannel(double m1, double m2, double t)
{
    if (t < 0) {
        t = t + 1;
    } else if (t > 1) {
        t = t - 1;
    }
    double V;
    if (6 * t < 1) {
        V = m1 + (m2 - m1) * t * 6;
    } else if (2 * t < 1) {
        V = m2;
    } else if (3 * t < 2) {
        V = m1 + (m2 - m1) * (twoThirds - t) * 6;
    } else {
        V = m1;
    }
    return channelByte(V);
}

} // namespace

TColor ColorFromHsl(double H, double S, double L)
{
    if (S == 0) {
        const int grey = channelByte(L);
        return static_cast<TColor>(grey | (grey << 8) | (grey << 16));
    }
    const double m2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
    const double m1 = 2 * L - m2;
    const int red = hslChannel(m1, m2, H + oneThird);
    const int green = hslChannel(m1, m2, H);
    const int blue = hslChannel(m1, m2, H - oneThird);
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}

TColor ColorFromScaledHsl(int h, int s, int l, const HslScale& scale)
{
    return ColorFromHsl(static_cast<double>(h) / scale.HueMax, static_cast<double>(s) / scale.SaturationMax,
                        static_cast<double>(l) / scale.LuminanceMax);
}

ScaledHsl ScaledHslFromColor(TColor c, const HslScale& scale)
{
    const double r = static_cast<double>(c & 0xFF) / 255;
    const double g = static_cast<double>((c >> 8) & 0xFF) / 255;
    const double b = static_cast<double>((c >> 16) & 0xFF) / 255;
    const double max = r > (g > b ? g : b) ? r : (g > b ? g : b);
    const double min = r < (g < b ? g : b) ? r : (g < b ? g : b);
    const double L = (max + min) / 2;
    double H = 0;
    double S = 0;
    if (max != min) {
        const double d = max - min;
        S = L < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (r == max) {
            H = (g - b) / d;
        } else if (g == max) {
            H = 2 + (b - r) / d;
        } else {
            H = 4 + (r - g) / d;
        }
        H = H / 6;
        if (H < 0) {
            H = H + 1;
        }
    }
    return {Round(scale.HueMax * H), Round(scale.SaturationMax * S), Round(scale.LuminanceMax * L)};
}

int HueFromColor(TColor c, const HslScale& scale)
{
    return ScaledHslFromColor(c, scale).h;
}
int SaturationFromColor(TColor c, const HslScale& scale)
{
    return ScaledHslFromColor(c, scale).s;
}
int LuminanceFromColor(TColor c, const HslScale& scale)
{
    return ScaledHslFromColor(c, scale).l;
}

Hsv HsvFromTriple(RGBTriple t)
{
    const int red = t.red;
    const int green = t.green;
    const int blue = t.blue;
    const int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    const int min = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
    if (max == min) {
        return {0, 0, max};
    }
    const int d = max - min;
    int h;
    if (red == max) {
        h = MulDiv(60, green - blue, d);
    } else if (green == max) {
        h = MulDiv(60, blue - red, d) + 120;
    } else {
        h = MulDiv(60, red - green, d) + 240;
    }
    if (h < 0) {
        h = h + 360;
    }
    return {h, MulDiv(d, 255, max), max};
}

} // namespace tintara
