#pragma once
// The arithmetic of the current-colour displays and of typed colour entry. These run on every
// sampling tick, so nothing here allocates: texts go into buffers the caller owns.
#include "colormodel/TColor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tintara {

// Percentages 0..100.
struct Cmyk {
    int C = 0;
    int M = 0;
    int Y = 0;
    int K = 0;
    friend bool operator==(const Cmyk&, const Cmyk&) = default;
};

// CMYK computed in 32-bit floats step by step (C = 1 - R/255 ..., K the smallest, then
// (C - K) / (1 - K) ...), pure black as K = 100, each value times 100 rounded half to even.
Cmyk cmykPercentages(int red, int green, int blue);

// One channel snapped to the nearest multiple of 51 (remainder up to 25 rounds down); channels
// outside 0..255 give nothing.
std::optional<int> webSnapChannel(int value);

// Typed hex colour: exactly six hex digits RRGGBB of either case.
std::optional<TColor> parseHexEntry(std::string_view text);

// Typed decimal colour: digits only, at least one, value 0..16777215 (bits above the blue byte are
// refused like any other invalid entry).
std::optional<TColor> parseDecimalEntry(std::string_view text);

// Typed channel: a whole number 0..255, optionally signed ("+7", "-0"), without spaces.
std::optional<int> parseChannelEntry(std::string_view text);

// All three channel fields at once: a colour only when each of them is a valid channel.
std::optional<TColor> parseChannelEntries(std::string_view red, std::string_view green, std::string_view blue);

inline constexpr std::size_t kHexTextSize = 6;
inline constexpr std::size_t kDecimalTextSize = 11; // "-2147483648"

// RRGGBB in upper case, red first; returns the text inside `out`.
std::string_view formatHexColor(TColor color, std::span<char, kHexTextSize> out);

// Plain decimal, a minus sign when negative; returns the text inside `out`.
std::string_view formatDecimal(std::int32_t value, std::span<char, kDecimalTextSize> out);

// The decimal colour integer shown to the user: Red + 256 * Green + 65536 * Blue.
constexpr std::int32_t decimalColor(TColor color)
{
    return static_cast<std::int32_t>(color & 0xFFFFFF);
}

} // namespace tintara
