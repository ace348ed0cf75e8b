#include "app/core/ColorDisplay.h"

#include "app/core/IntegerText.h"

#include <array>
#include <gtest/gtest.h>

namespace tintara {
namespace {

TEST(ColorDisplay, Cmyk)
{
    struct Case {
        int r, g, b;
        Cmyk expected;
    };
    const Case cases[] = {
        {0, 0, 0, {0, 0, 0, 100}},
        {255, 255, 255, {0, 0, 0, 0}},
        {255, 128, 0, {0, 50, 100, 0}},
        {255, 0, 0, {0, 100, 100, 0}},
        {51, 102, 153, {67, 33, 0, 40}},
        {0, 0, 1, {100, 100, 0, 100}},
        // M works out to exactly 62.5 and 37.5 in float: halves go to the even neighbour.
        {0, 3, 8, {100, 62, 0, 97}},
        {0, 5, 8, {100, 38, 0, 97}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cmykPercentages(c.r, c.g, c.b), c.expected) << c.r << "," << c.g << "," << c.b;

    for (int v = 0; v < 256; v += 5) {
        const Cmyk grey = cmykPercentages(v, v, v);
        EXPECT_EQ(grey.C + grey.M + grey.Y, 0) << v;
    }
}

TEST(ColorDisplay, WebSnap)
{
    const std::pair<int, std::optional<int>> cases[] = {
        {0, 0},     {25, 0},    {26, 51},   {100, 102},         {150, 153},         {200, 204},
        {229, 204}, {230, 255}, {255, 255}, {-1, std::nullopt}, {256, std::nullopt}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(webSnapChannel(in), out) << in;
    for (int v = 0; v <= 255; ++v)
        EXPECT_EQ(*webSnapChannel(v) % 51, 0) << v;
}

TEST(ColorDisplay, HexEntry)
{
    const std::pair<const char*, std::optional<TColor>> cases[] = {
        {"FF8000", rgbColor(255, 128, 0)},
        {"ff8000", rgbColor(255, 128, 0)},
        {"0000aB", rgbColor(0, 0, 0xAB)},
        {"000000", clBlack},
        {"GG0000", std::nullopt},
        {"FF800", std::nullopt},
        {"FF80000", std::nullopt},
        {"#FF800", std::nullopt},
        {"+FF800", std::nullopt},
        {" FF800", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, color] : cases)
        EXPECT_EQ(parseHexEntry(text), color) << text;
}

TEST(ColorDisplay, DecimalEntry)
{
    const std::pair<const char*, std::optional<TColor>> cases[] = {
        {"255", 0x0000FFu},    {"65536", 0x010000u},    {"0", 0u},
        {"007", 7u},           {"16777215", 0xFFFFFFu}, {"16777216", std::nullopt},
        {"-1", std::nullopt},  {"+5", std::nullopt},    {"", std::nullopt},
        {"12a", std::nullopt}, {" 12", std::nullopt},   {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, color] : cases)
        EXPECT_EQ(parseDecimalEntry(text), color) << text;
}

TEST(ColorDisplay, ChannelEntry)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0", 0},
        {"255", 255},
        {"007", 7},
        {"+7", 7},
        {"-0", 0},
        {"-1", std::nullopt},
        {"256", std::nullopt},
        {"", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1a", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseChannelEntry(text), value) << text;

    EXPECT_EQ(parseChannelEntries("255", "128", "0"), rgbColor(255, 128, 0));
    EXPECT_EQ(parseChannelEntries("1", "2", ""), std::nullopt);
    EXPECT_EQ(parseChannelEntries("1", "256", "3"), std::nullopt);
}

TEST(ColorDisplay, WholeNumbersForTheSnap)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"+0", 0},
        {"--1", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseInt32(text), value) << text;
}

TEST(ColorDisplay, Texts)
{
    std::array<char, kHexTextSize> hex{};
    EXPECT_EQ(formatHexColor(rgbColor(255, 128, 0), hex), "FF8000");
    EXPECT_EQ(formatHexColor(rgbColor(0, 0, 1), hex), "000001");
    EXPECT_EQ(formatHexColor(0xAB0000CD, hex), "CD0000") << "bits above blue are not shown";

    std::array<char, kDecimalTextSize> dec{};
    EXPECT_EQ(formatDecimal(decimalColor(rgbColor(255, 0, 0)), dec), "255");
    EXPECT_EQ(formatDecimal(decimalColor(rgbColor(0, 0, 1)), dec), "65536");
    EXPECT_EQ(formatDecimal(decimalColor(clWhite), dec), "16777215");
    EXPECT_EQ(formatDecimal(0, dec), "0");
    EXPECT_EQ(formatDecimal(INT32_MIN, dec), "-2147483648");
}

} // namespace
} // namespace tintara
