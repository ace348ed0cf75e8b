#pragma once
// The channels, the web-safe and dark tests and the standard name of a colour, as the magnifier publishes
// them. The channel arithmetic is unsigned 32-bit on the whole value, so a non-zero high byte ends up in
// Blue (0xFFFFFFFF gives Blue 65535, Green 255, Red 255).
#include "colormodel/TColor.h"

#include <cstdint>
#include <span>

namespace tintara {

struct NamedColor {
    TColor value;
    const char* name;
};

constexpr std::uint32_t Blue(TColor c)
{
    return c >> 16;
}
constexpr std::uint32_t Green(TColor c)
{
    return (c >> 8) - 256u * Blue(c);
}
constexpr std::uint32_t Red(TColor c)
{
    return c - 65536u * Blue(c) - 256u * Green(c);
}

// Each channel a multiple of 51: the 216 colours of the web-safe cube.
constexpr bool WebSafe(TColor c)
{
    return Red(c) % 51 + Green(c) % 51 + Blue(c) % 51 == 0;
}

// Dark enough to need white text. Blue alone never makes a colour light; the thresholds are strict.
constexpr bool DarkColor(TColor c)
{
    if (Red(c) + Green(c) + Blue(c) > 350) {
        return false;
    }
    if (Green(c) > 200) {
        return false;
    }
    return Red(c) <= 200;
}

// The standard name of exactly this value, or "" (never null). No allocation: it runs on every tick.
const char* ColorName(TColor c);

// The 138 named colours, sorted by value, one entry per value.
std::span<const NamedColor> colorNameTable();

} // namespace tintara
