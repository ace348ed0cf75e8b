#include "colormodel/HTMLColors.h"
#include "colormodel/RGBHSLUtils.h"
#include "colormodel/RGBHSVUtils.h"
#include "colormodel/TColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>

namespace tintara {

// Readable failure messages for the value types of the conversions.
void PrintTo(const ScaledHsl& v, std::ostream* os)
{
    *os << "hsl(" << v.h << ", " << v.s << ", " << v.l << ")";
}
void PrintTo(const Hsv& v, std::ostream* os)
{
    *os << "hsv(" << v.h << ", " << v.s << ", " << v.v << ")";
}
void PrintTo(const RGBTriple& t, std::ostream* os)
{
    *os << "rgb(" << int{t.red} << ", " << int{t.green} << ", " << int{t.blue} << ")";
}

namespace {

constexpr int intMax = std::numeric_limits<int>::max();
constexpr int intMin = std::numeric_limits<int>::min();

struct Rgb {
    int r, g, b;
};

std::string rgbText(TColor c)
{
    std::ostringstream os;
    os << "(" << redOf(c) << ", " << greenOf(c) << ", " << blueOf(c) << ")";
    return os.str();
}

TEST(Round, NearestWithTiesToEvenAndSaturation)
{
    const struct {
        double x;
        int expected;
    } cases[] = {
        {0.0, 0},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {127.5, 128},
        {128.5, 128},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999999999999996, 2},
        {0.49999999999999994, 0}, // floor(x + 0.5) would give 1
        {-0.49999999999999994, 0},
        {359.76, 360},
        {2147483646.5, 2147483646},
        {-2147483648.5, intMin},
        {2147483647.5, intMax}, // would round to 2^31
        {1e300, intMax},
        {-1e300, intMin},
        {std::numeric_limits<double>::infinity(), intMax},
        {-std::numeric_limits<double>::infinity(), intMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.x), c.expected) << "x = " << c.x;
    }
}

TEST(MulDiv, ExactProductHalvesAwayFromZeroAndFailures)
{
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {60, -1, 255, 0},
        {255, 1, 2, 128},
        {-255, 1, 2, -128},
        {255, -1, 2, -128},
        {5, 1, -2, -3},
        {-5, 1, -2, 3},
        {60, 1, 120, 1},
        {60, -1, 120, -1},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {1, 255, 6, 43}, // 42.5
        {0, 5, -7, 0},
        {intMax, intMax, intMax, intMax}, // the product needs 62 bits
        {intMin, intMin, intMin, intMin},
        {intMin, 1, 1, intMin},
        {intMin, -1, 1, -1}, // 2^31 does not fit
        {intMax, 2, 1, -1},
        {intMax, intMax, 1, -1},
        {1, 1, 0, -1},
        {0, 0, 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << "MulDiv(" << c.a << ", " << c.b << ", " << c.c << ")";
    }
}

TEST(ColorToHexText, RedFirstUpperCaseIgnoringTheHighByte)
{
    const struct {
        TColor c;
        const char* text;
    } cases[] = {
        {rgbColor(255, 0, 0), "FF0000"},
        {rgbColor(64, 128, 192), "4080C0"},
        {clBlack, "000000"},
        {clWhite, "FFFFFF"},
        {rgbColor(10, 11, 12), "0A0B0C"},
        {0xFF123456, "563412"},
        {0x1F000000, "000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToHexText(c.c), c.text);
        char out[7] = {'x', 'x', 'x', 'x', 'x', 'x', '!'};
        ColorToHexChars(c.c, out);
        EXPECT_EQ(std::string(out, 6), c.text);
        EXPECT_EQ(out[6], '!') << "wrote past six characters";
    }
}

struct HslCase {
    Rgb rgb;
    ScaledHsl hsl;
};

TEST(ScaledHslFromColor, Scale240)
{
    const HslCase cases[] = {
        {{255, 0, 0}, {0, 240, 120}},     {{0, 255, 0}, {80, 240, 120}},    {{0, 0, 255}, {159, 240, 120}},
        {{255, 0, 255}, {199, 240, 120}}, {{255, 128, 0}, {20, 240, 120}},  {{128, 128, 128}, {0, 0, 120}},
        {{255, 255, 255}, {0, 0, 240}},   {{0, 0, 0}, {0, 0, 0}},           {{255, 0, 1}, {239, 240, 120}},
        {{255, 255, 0}, {40, 240, 120}},  {{0, 255, 255}, {120, 240, 120}}, {{128, 0, 0}, {0, 240, 60}},
    };
    for (const auto& c : cases) {
        const TColor color = rgbColor(c.rgb.r, c.rgb.g, c.rgb.b);
        EXPECT_EQ(ScaledHslFromColor(color, Scale240), c.hsl) << rgbText(color);
        EXPECT_EQ(HueFromColor(color, Scale240), c.hsl.h);
        EXPECT_EQ(SaturationFromColor(color, Scale240), c.hsl.s);
        EXPECT_EQ(LuminanceFromColor(color, Scale240), c.hsl.l);
    }
    // Only the low three bytes count.
    EXPECT_EQ(ScaledHslFromColor(0xFF0000FF, Scale240), (ScaledHsl{0, 240, 120}));
}

TEST(ScaledHslFromColor, Scale360)
{
    const HslCase cases[] = {
        {{255, 0, 0}, {0, 255, 128}}, // 127.5 goes to 128
        {{0, 255, 0}, {120, 255, 128}}, {{0, 0, 255}, {240, 255, 128}}, {{255, 0, 255}, {300, 255, 128}},
        {{128, 128, 128}, {0, 0, 128}}, {{255, 255, 255}, {0, 0, 255}}, {{255, 0, 1}, {360, 255, 128}},
        {{1, 0, 0}, {0, 255, 0}}, // luminance 0.5 goes to the even 0
        {{3, 0, 0}, {0, 255, 2}},       {{5, 0, 0}, {0, 255, 2}},
    };
    for (const auto& c : cases) {
        const TColor color = rgbColor(c.rgb.r, c.rgb.g, c.rgb.b);
        EXPECT_EQ(ScaledHslFromColor(color, Scale360), c.hsl) << rgbText(color);
        EXPECT_EQ(HueFromColor(color, Scale360), c.hsl.h);
        EXPECT_EQ(SaturationFromColor(color, Scale360), c.hsl.s);
        EXPECT_EQ(LuminanceFromColor(color, Scale360), c.hsl.l);
    }
}

TEST(ColorFromScaledHsl, BothScales)
{
    const struct {
        ScaledHsl hsl;
        const HslScale& scale;
        Rgb rgb;
    } cases[] = {
        {{0, 240, 120}, Scale240, {255, 0, 0}},
        {{80, 240, 120}, Scale240, {0, 255, 2}},
        {{160, 240, 120}, Scale240, {4, 0, 255}},
        {{0, 0, 120}, Scale240, {128, 128, 128}},
        {{0, 0, 240}, Scale240, {255, 255, 255}},
        {{0, 240, 240}, Scale240, {255, 255, 255}},
        {{0, 240, 60}, Scale240, {128, 0, 0}},
        {{239, 240, 120}, Scale240, {255, 0, 0}},
        {{0, 0, 8}, Scale240, {8, 8, 8}},     // 8.5 goes to the even 8
        {{0, 0, 24}, Scale240, {26, 26, 26}}, // 25.5 goes to the even 26
        {{0, 0, 40}, Scale240, {42, 42, 42}},
        {{0, 0, 300}, Scale240, {63, 63, 63}}, // unclamped: 319 kept to its low byte
        {{0, 255, 128}, Scale360, {255, 1, 1}},
        {{300, 255, 128}, Scale360, {255, 1, 255}},
        {{120, 255, 128}, Scale360, {1, 255, 1}},
        {{0, 0, 0}, Scale360, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rgbText(ColorFromScaledHsl(c.hsl.h, c.hsl.s, c.hsl.l, c.scale)),
                  rgbText(rgbColor(c.rgb.r, c.rgb.g, c.rgb.b)))
            << "hsl(" << c.hsl.h << ", " << c.hsl.s << ", " << c.hsl.l << ") on scale " << c.scale.HueMax;
    }
}

TEST(ColorFromHsl, HueIsCorrectedAtMostOnce)
{
    EXPECT_EQ(ColorFromHsl(0.1, 1.0, 0.5), rgbColor(255, 153, 0));
    // 2.1 becomes 1.1 for green, not 0.1, so every channel ends on the low level.
    EXPECT_EQ(ColorFromHsl(2.1, 1.0, 0.5), clBlack);
    // Blue's argument -1.23 is still negative after one correction: its level -1.4 gives 255 * -1.4 = -357,
    // whose low byte is 155.
    EXPECT_EQ(ColorFromHsl(-0.9, 1.0, 0.5), rgbColor(255, 153, 155));
    EXPECT_EQ(ColorFromHsl(1.0, 1.0, 0.5), rgbColor(255, 0, 0));
}

TEST(ClampToRange, LowerBoundFirst)
{
    const struct {
        int v, lo, hi, expected;
    } cases[] = {
        {5, 0, 10, 5}, {-1, 0, 10, 0},  {11, 0, 10, 10},
        {0, 0, 10, 0}, {10, 0, 10, 10}, {5, 10, 0, 0}, // inverted bounds: raised to 10, then lowered to 0
    };
    for (const auto& c : cases) {
        int v = c.v;
        ClampToRange(v, c.lo, c.hi);
        EXPECT_EQ(v, c.expected) << c.v << " in " << c.lo << ".." << c.hi;
    }
}

struct HsvToRgbCase {
    Hsv hsv;
    Rgb rgb;
};

TEST(ColorFromHsv, SectorsGreysAndHuesBeyondAFullTurn)
{
    const HsvToRgbCase cases[] = {
        {{0, 255, 255}, {255, 0, 0}},      {{30, 255, 255}, {255, 128, 0}},  {{120, 255, 255}, {0, 255, 0}},
        {{240, 255, 255}, {0, 0, 255}},    {{300, 255, 128}, {128, 0, 128}}, {{360, 255, 255}, {255, 0, 0}},
        {{359, 255, 255}, {255, 0, 5}},    {{0, 0, 77}, {77, 77, 77}},       {{361, 255, 255}, {0, 0, 0}},
        {{420, 255, 255}, {0, 0, 0}},      {{60, 255, 255}, {255, 255, 0}},  {{180, 255, 255}, {0, 255, 255}},
        {{90, 128, 200}, {150, 200, 100}}, {{0, 0, 256}, {0, 0, 0}}, // a grey keeps the low byte of v
    };
    for (const auto& c : cases) {
        const RGBTriple expected = MakeTriple(static_cast<std::uint8_t>(c.rgb.r), static_cast<std::uint8_t>(c.rgb.g),
                                              static_cast<std::uint8_t>(c.rgb.b));
        EXPECT_EQ(TripleFromHsv(c.hsv.h, c.hsv.s, c.hsv.v), expected)
            << "hsv(" << c.hsv.h << ", " << c.hsv.s << ", " << c.hsv.v << ")";
        EXPECT_EQ(ColorFromHsv(c.hsv.h, c.hsv.s, c.hsv.v), ColorFromTriple(expected));
    }
}

TEST(TripleFromHsv, ArgumentsFarOutOfRangeAreDefined)
{
    // Nothing is clamped, so huge products must neither overflow nor trap (this runs under UBSan too).
    const int extremes[] = {intMin, -1000000, -61, -1, 0, 1, 59, 359, 360, 1000000, intMax};
    for (const int h : extremes) {
        for (const int s : extremes) {
            for (const int v : extremes) {
                (void)TripleFromHsv(h, s, v);
            }
        }
    }
    // Channels are the low bytes of the exact integer arithmetic.
    EXPECT_EQ(TripleFromHsv(0, 255, 511), MakeTriple(255, 0, 0)); // (511, 0, 0)
    EXPECT_EQ(TripleFromHsv(0, 0, -1), MakeTriple(255, 255, 255));
}

TEST(TripleFromClampedHsv, ClampsEveryArgument)
{
    const HsvToRgbCase cases[] = {
        {{400, 300, -5}, {0, 0, 0}},      {{360, 255, 255}, {255, 0, 0}}, {{-10, 255, 255}, {255, 0, 0}},
        {{30, 255, 255}, {255, 128, 0}},  {{0, 0, 300}, {255, 255, 255}}, {{0, -5, 200}, {200, 200, 200}},
        {{240, 255, 255}, {0, 0, 255}},   {{359, 255, 255}, {255, 0, 5}}, {{90, 128, 200}, {150, 200, 100}},
        {{200, 400, 255}, {0, 170, 255}},
    };
    for (const auto& c : cases) {
        const auto r = static_cast<std::uint8_t>(c.rgb.r);
        const auto g = static_cast<std::uint8_t>(c.rgb.g);
        const auto b = static_cast<std::uint8_t>(c.rgb.b);
        EXPECT_EQ(TripleFromClampedHsv(c.hsv.h, c.hsv.s, c.hsv.v), MakeTriple(r, g, b))
            << "hsv(" << c.hsv.h << ", " << c.hsv.s << ", " << c.hsv.v << ")";
        EXPECT_EQ(PixelFromClampedHsv(c.hsv.h, c.hsv.s, c.hsv.v), MakePixel(r, g, b));
    }
}

TEST(HsvConversions, SameForBothUnlessTheRoundingDiffers)
{
    const struct {
        Rgb rgb;
        Hsv fromRgb;    // doubles, ties to even
        Hsv fromTriple; // MulDiv, halves away from zero
    } cases[] = {
        {{255, 128, 0}, {30, 255, 255}, {30, 255, 255}},
        {{128, 128, 128}, {0, 0, 128}, {0, 0, 128}},
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {{255, 0, 1}, {360, 255, 255}, {0, 255, 255}}, // MulDiv(60, -1, 255) is 0, never negative
        {{0, 255, 0}, {120, 255, 255}, {120, 255, 255}},
        {{0, 0, 255}, {240, 255, 255}, {240, 255, 255}},
        {{255, 0, 255}, {300, 255, 255}, {300, 255, 255}},
        {{128, 0, 128}, {300, 255, 128}, {300, 255, 128}},
        {{120, 1, 0}, {0, 255, 120}, {1, 255, 120}}, // hue 0.5
        {{24, 1, 0}, {2, 255, 24}, {3, 255, 24}},    // hue 2.5
        {{40, 1, 0}, {2, 255, 40}, {2, 255, 40}},    // hue 1.5
        {{6, 5, 5}, {0, 42, 6}, {0, 43, 6}},         // saturation 42.5
        {{2, 1, 1}, {0, 128, 2}, {0, 128, 2}},       // saturation 127.5
        {{100, 150, 200}, {210, 128, 200}, {210, 128, 200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HsvFromRgb(c.rgb.r, c.rgb.g, c.rgb.b), c.fromRgb)
            << "(" << c.rgb.r << ", " << c.rgb.g << ", " << c.rgb.b << ")";
        EXPECT_EQ(HsvFromTriple(MakeTriple(static_cast<std::uint8_t>(c.rgb.r), static_cast<std::uint8_t>(c.rgb.g),
                                           static_cast<std::uint8_t>(c.rgb.b))),
                  c.fromTriple)
            << "(" << c.rgb.r << ", " << c.rgb.g << ", " << c.rgb.b << ")";
    }
}

TEST(HsvConversions, EveryColourComesBackFromItsHsv)
{
    // A coarse lattice through the cube: HSV of a colour converted back must land within rounding distance.
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 13) {
                const Hsv hsv = HsvFromRgb(r, g, b);
                const TColor back = ColorFromHsv(hsv.h, hsv.s, hsv.v);
                ASSERT_LE(std::abs(redOf(back) - r) + std::abs(greenOf(back) - g) + std::abs(blueOf(back) - b), 9)
                    << "(" << r << ", " << g << ", " << b << ") -> " << rgbText(back);
            }
        }
    }
}

TEST(TriplesAndPixels, ByteOrder)
{
    const RGBTriple t = MakeTriple(0x11, 0x22, 0x33);
    unsigned char bytes[3];
    static_assert(sizeof(RGBTriple) == 3);
    std::memcpy(bytes, &t, 3);
    EXPECT_EQ(bytes[0], 0x33); // blue first in memory
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x11);
    EXPECT_EQ(ColorFromTriple(t), 0x332211u);
    EXPECT_EQ(MakePixel(0x11, 0x22, 0x33), 0x00112233u);
    EXPECT_EQ(ColorFromTriple(MakeTriple(255, 255, 255)), clWhite);
}

} // namespace
} // namespace tintara
