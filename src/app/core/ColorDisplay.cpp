#include "app/core/ColorDisplay.h"

#include "app/core/IntegerText.h"
#include "colormodel/HTMLColors.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tintara {

namespace {

// v * 100 in float, then to the nearest whole number with an exact half going to the even one.
// Spelled out rather than left to the floating-point rounding mode.
int percent(float v)
{
    const float p = v * 100.0f;
    const float lower = std::floor(p);
    const float fraction = p - lower; // exact: p is far below 2^23
    int result = static_cast<int>(lower);
    if (fraction > 0.5f || (fraction == 0.5f && (result % 2) != 0))
        ++result;
    return result;
}

} // namespace

Cmyk cmykPercentages(int red, int green, int blue)
{
    // Every intermediate is stored in a float variable so that no step is kept in higher precision.
    float c = 1.0f - static_cast<float>(red) / 255.0f;
    float m = 1.0f - static_cast<float>(green) / 255.0f;
    float y = 1.0f - static_cast<float>(blue) / 255.0f;
    float k;
    if (c == 1.0f && m == 1.0f && y == 1.0f) {
        c = m = y = 0.0f;
        k = 1.0f;
    } else {
        k = std::min({c, m, y});
        const float rest = 1.0f - k;
        const float dc = c - k;
        const float dm = m - k;
        const float dy = y - k;
        c = dc / rest;
        m = dm / rest;
        y = dy / rest;
    }
    return Cmyk{percent(c), percent(m), percent(y), percent(k)};
}

std::optional<int> webSnapChannel(int value)
{
    if (value < 0 || value > 255)
        return std::nullopt;
    const int q = value / 51;
    const int r = value % 51;
    return r <= 25 ? 51 * q : 51 * (q + 1);
}

std::optional<TColor> parseHexEntry(std::string_view text)
{
    if (text.size() != 6)
        return std::nullopt;
    const auto rgb = parseHexUInt32(text);
    if (!rgb)
        return std::nullopt;
    const int r = static_cast<int>((*rgb >> 16) & 0xFF);
    const int g = static_cast<int>((*rgb >> 8) & 0xFF);
    const int b = static_cast<int>(*rgb & 0xFF);
    return rgbColor(r, g, b);
}

std::optional<TColor> parseDecimalEntry(std::string_view text)
{
    const auto value = parseDigits(text, 0xFFFFFF);
    if (!value)
        return std::nullopt;
    return static_cast<TColor>(*value);
}

std::optional<int> parseChannelEntry(std::string_view text)
{
    const auto value = parseInt32(text);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return *value;
}

std::optional<TColor> parseChannelEntries(std::string_view red, std::string_view green, std::string_view blue)
{
    const auto r = parseChannelEntry(red);
    const auto g = parseChannelEntry(green);
    const auto b = parseChannelEntry(blue);
    if (!r || !g || !b)
        return std::nullopt;
    return rgbColor(*r, *g, *b);
}

std::string_view formatHexColor(TColor color, std::span<char, kHexTextSize> out)
{
    ColorToHexChars(color, out.data());
    return std::string_view(out.data(), out.size());
}

std::string_view formatDecimal(std::int32_t value, std::span<char, kDecimalTextSize> out)
{
    const auto result = std::to_chars(out.data(), out.data() + out.size(), value);
    return std::string_view(out.data(), static_cast<std::size_t>(result.ptr - out.data()));
}

} // namespace tintara
