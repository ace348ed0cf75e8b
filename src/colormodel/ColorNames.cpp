#include "colormodel/ColorNames.h"

#include <algorithm>
#include <array>

namespace tintara {

namespace {

constexpr NamedColor named(int r, int g, int b, const char* name)
{
    return {rgbColor(r, g, b), name};
}

// The CSS/SVG colour keywords, one name per value: the aqua/cyan and fuchsia/magenta pairs share an entry,
// the grey pairs use "Gray" except "LightGrey".
constexpr std::array<NamedColor, 138> alphabetical{{
    named(240, 248, 255, "AliceBlue"),
    named(250, 235, 215, "AntiqueWhite"),
    named(127, 255, 212, "Aquamarine"),
    named(240, 255, 255, "Azure"),
    named(245, 245, 220, "Beige"),
    named(255, 228, 196, "Bisque"),
    named(0, 0, 0, "Black"),
    named(255, 235, 205, "BlanchedAlmond"),
    named(0, 0, 255, "Blue"),
    named(138, 43, 226, "BlueViolet"),
    named(165, 42, 42, "Brown"),
    named(222, 184, 135, "BurlyWood"),
    named(95, 158, 160, "CadetBlue"),
    named(127, 255, 0, "Chartreuse"),
    named(210, 105, 30, "Chocolate"),
    named(255, 127, 80, "Coral"),
    named(100, 149, 237, "CornflowerBlue"),
    named(255, 248, 220, "Cornsilk"),
    named(220, 20, 60, "Crimson"),
    named(0, 255, 255, "Cyan or Aqua"),
    named(0, 0, 139, "DarkBlue"),
    named(0, 139, 139, "DarkCyan"),
    named(184, 134, 11, "DarkGoldenrod"),
    named(169, 169, 169, "DarkGray"),
    named(0, 100, 0, "DarkGreen"),
    named(189, 183, 107, "DarkKhaki"),
    named(139, 0, 139, "DarkMagenta"),
    named(85, 107, 47, "DarkOliveGreen"),
    named(255, 140, 0, "DarkOrange"),
    named(153, 50, 204, "DarkOrchid"),
    named(139, 0, 0, "DarkRed"),
    named(233, 150, 122, "DarkSalmon"),
    named(143, 188, 143, "DarkSeaGreen"),
    named(72, 61, 139, "DarkSlateBlue"),
    named(47, 79, 79, "DarkSlateGray"),
    named(0, 206, 209, "DarkTurquoise"),
    named(148, 0, 211, "DarkViolet"),
    named(255, 20, 147, "DeepPink"),
    named(0, 191, 255, "DeepSkyBlue"),
    named(105, 105, 105, "DimGray"),
    named(30, 144, 255, "DodgerBlue"),
    named(178, 34, 34, "FireBrick"),
    named(255, 250, 240, "FloralWhite"),
    named(34, 139, 34, "ForestGreen"),
    named(220, 220, 220, "Gainsboro"),
    named(248, 248, 255, "GhostWhite"),
    named(255, 215, 0, "Gold"),
    named(218, 165, 32, "Goldenrod"),
    named(128, 128, 128, "Gray"),
    named(0, 128, 0, "Green"),
    named(173, 255, 47, "GreenYellow"),
    named(240, 255, 240, "Honeydew"),
    named(255, 105, 180, "HotPink"),
    named(205, 92, 92, "IndianRed"),
    named(75, 0, 130, "Indigo"),
    named(255, 255, 240, "Ivory"),
    named(240, 230, 140, "Khaki"),
    named(230, 230, 250, "Lavender"),
    named(255, 240, 245, "LavenderBlush"),
    named(124, 252, 0, "LawnGreen"),
    named(255, 250, 205, "LemonChiffon"),
    named(173, 216, 230, "LightBlue"),
    named(240, 128, 128, "LightCoral"),
    named(224, 255, 255, "LightCyan"),
    named(250, 250, 210, "LightGoldenrodYellow"),
    named(144, 238, 144, "LightGreen"),
    named(211, 211, 211, "LightGrey"),
    named(255, 182, 193, "LightPink"),
    named(255, 160, 122, "LightSalmon"),
    named(32, 178, 170, "LightSeaGreen"),
    named(135, 206, 250, "LightSkyBlue"),
    named(119, 136, 153, "LightSlateGray"),
    named(176, 196, 222, "LightSteelBlue"),
    named(255, 255, 224, "LightYellow"),
    named(0, 255, 0, "Lime"),
    named(50, 205, 50, "LimeGreen"),
    named(250, 240, 230, "Linen"),
    named(255, 0, 255, "Magenta or Fuchia"),
    named(128, 0, 0, "Maroon"),
    named(102, 205, 170, "MediumAquamarine"),
    named(0, 0, 205, "MediumBlue"),
    named(186, 85, 211, "MediumOrchid"),
    named(147, 112, 219, "MediumPurple"),
    named(60, 179, 113, "MediumSeaGreen"),
    named(123, 104, 238, "MediumSlateBlue"),
    named(0, 250, 154, "MediumSpringGreen"),
    named(72, 209, 204, "MediumTurquoise"),
    named(199, 21, 133, "MediumVioletRed"),
    named(25, 25, 112, "MidnightBlue"),
    named(245, 255, 250, "MintCream"),
    named(255, 228, 225, "MistyRose"),
    named(255, 228, 181, "Moccasin"),
    named(255, 222, 173, "NavajoWhite"),
    named(0, 0, 128, "Navy"),
    named(253, 245, 230, "OldLace"),
    named(128, 128, 0, "Olive"),
    named(107, 142, 35, "OliveDrab"),
    named(255, 165, 0, "Orange"),
    named(255, 69, 0, "OrangeRed"),
    named(218, 112, 214, "Orchid"),
    named(238, 232, 170, "PaleGoldenrod"),
    named(152, 251, 152, "PaleGreen"),
    named(175, 238, 238, "PaleTurquoise"),
    named(219, 112, 147, "PaleVioletRed"),
    named(255, 239, 213, "PapayaWhip"),
    named(255, 218, 185, "PeachPuff"),
    named(205, 133, 63, "Peru"),
    named(255, 192, 203, "Pink"),
    named(221, 160, 221, "Plum"),
    named(176, 224, 230, "PowderBlue"),
    named(128, 0, 128, "Purple"),
    named(255, 0, 0, "Red"),
    named(188, 143, 143, "RosyBrown"),
    named(65, 105, 225, "RoyalBlue"),
    named(139, 69, 19, "SaddleBrown"),
    named(250, 128, 114, "Salmon"),
    named(244, 164, 96, "SandyBrown"),
    named(46, 139, 87, "SeaGreen"),
    named(255, 245, 238, "Seashell"),
    named(160, 82, 45, "Sienna"),
    named(192, 192, 192, "Silver"),
    named(135, 206, 235, "SkyBlue"),
    named(106, 90, 205, "SlateBlue"),
    named(112, 128, 144, "SlateGray"),
    named(255, 250, 250, "Snow"),
    named(0, 255, 127, "SpringGreen"),
    named(70, 130, 180, "SteelBlue"),
    named(210, 180, 140, "Tan"),
    named(0, 128, 128, "Teal"),
    named(216, 191, 216, "Thistle"),
    named(255, 99, 71, "Tomato"),
    named(64, 224, 208, "Turquoise"),
    named(238, 130, 238, "Violet"),
    named(245, 222, 179, "Wheat"),
    named(255, 255, 255, "White"),
    named(245, 245, 245, "WhiteSmoke"),
    named(255, 255, 0, "Yellow"),
    named(154, 205, 50, "YellowGreen"),
}};

constexpr bool valueLess(const NamedColor& a, const NamedColor& b)
{
    return a.value < b.value;
}

constexpr std::array<NamedColor, 138> sortByValue(std::array<NamedColor, 138> table)
{
    std::sort(table.begin(), table.end(), valueLess);
    return table;
}

constexpr std::array<NamedColor, 138> byValue = sortByValue(alphabetical);

static_assert(std::adjacent_find(byValue.begin(), byValue.end(),
                                 [](const NamedColor& a, const NamedColor& b) { return a.value == b.value; }) ==
                  byValue.end(),
              "one entry per colour value");

} // namespace

const char* ColorName(TColor c)
{
    const auto it = std::lower_bound(byValue.begin(), byValue.end(), NamedColor{c, nullptr}, valueLess);
    return it != byValue.end() && it->value == c ? it->name : "";
}

std::span<const NamedColor> colorNameTable()
{
    return byValue;
}

} // namespace tintara
