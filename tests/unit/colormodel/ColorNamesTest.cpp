#include "colormodel/ColorNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tintara {
namespace {

struct Keyword {
    const char* name;
    int r, g, b;
};

// The extended colour keywords of CSS Color Level 3 (the SVG 1.1 set), written out independently of the
// program's table so that a typo in either shows up.
constexpr Keyword cssKeywords[] = {
    {"aliceblue", 240, 248, 255},
    {"antiquewhite", 250, 235, 215},
    {"aqua", 0, 255, 255},
    {"aquamarine", 127, 255, 212},
    {"azure", 240, 255, 255},
    {"beige", 245, 245, 220},
    {"bisque", 255, 228, 196},
    {"black", 0, 0, 0},
    {"blanchedalmond", 255, 235, 205},
    {"blue", 0, 0, 255},
    {"blueviolet", 138, 43, 226},
    {"brown", 165, 42, 42},
    {"burlywood", 222, 184, 135},
    {"cadetblue", 95, 158, 160},
    {"chartreuse", 127, 255, 0},
    {"chocolate", 210, 105, 30},
    {"coral", 255, 127, 80},
    {"cornflowerblue", 100, 149, 237},
    {"cornsilk", 255, 248, 220},
    {"crimson", 220, 20, 60},
    {"cyan", 0, 255, 255},
    {"darkblue", 0, 0, 139},
    {"darkcyan", 0, 139, 139},
    {"darkgoldenrod", 184, 134, 11},
    {"darkgray", 169, 169, 169},
    {"darkgreen", 0, 100, 0},
    {"darkgrey", 169, 169, 169},
    {"darkkhaki", 189, 183, 107},
    {"darkmagenta", 139, 0, 139},
    {"darkolivegreen", 85, 107, 47},
    {"darkorange", 255, 140, 0},
    {"darkorchid", 153, 50, 204},
    {"darkred", 139, 0, 0},
    {"darksalmon", 233, 150, 122},
    {"darkseagreen", 143, 188, 143},
    {"darkslateblue", 72, 61, 139},
    {"darkslategray", 47, 79, 79},
    {"darkslategrey", 47, 79, 79},
    {"darkturquoise", 0, 206, 209},
    {"darkviolet", 148, 0, 211},
    {"deeppink", 255, 20, 147},
    {"deepskyblue", 0, 191, 255},
    {"dimgray", 105, 105, 105},
    {"dimgrey", 105, 105, 105},
    {"dodgerblue", 30, 144, 255},
    {"firebrick", 178, 34, 34},
    {"floralwhite", 255, 250, 240},
    {"forestgreen", 34, 139, 34},
    {"fuchsia", 255, 0, 255},
    {"gainsboro", 220, 220, 220},
    {"ghostwhite", 248, 248, 255},
    {"gold", 255, 215, 0},
    {"goldenrod", 218, 165, 32},
    {"gray", 128, 128, 128},
    {"grey", 128, 128, 128},
    {"green", 0, 128, 0},
    {"greenyellow", 173, 255, 47},
    {"honeydew", 240, 255, 240},
    {"hotpink", 255, 105, 180},
    {"indianred", 205, 92, 92},
    {"indigo", 75, 0, 130},
    {"ivory", 255, 255, 240},
    {"khaki", 240, 230, 140},
    {"lavender", 230, 230, 250},
    {"lavenderblush", 255, 240, 245},
    {"lawngreen", 124, 252, 0},
    {"lemonchiffon", 255, 250, 205},
    {"lightblue", 173, 216, 230},
    {"lightcoral", 240, 128, 128},
    {"lightcyan", 224, 255, 255},
    {"lightgoldenrodyellow", 250, 250, 210},
    {"lightgray", 211, 211, 211},
    {"lightgreen", 144, 238, 144},
    {"lightgrey", 211, 211, 211},
    {"lightpink", 255, 182, 193},
    {"lightsalmon", 255, 160, 122},
    {"lightseagreen", 32, 178, 170},
    {"lightskyblue", 135, 206, 250},
    {"lightslategray", 119, 136, 153},
    {"lightslategrey", 119, 136, 153},
    {"lightsteelblue", 176, 196, 222},
    {"lightyellow", 255, 255, 224},
    {"lime", 0, 255, 0},
    {"limegreen", 50, 205, 50},
    {"linen", 250, 240, 230},
    {"magenta", 255, 0, 255},
    {"maroon", 128, 0, 0},
    {"mediumaquamarine", 102, 205, 170},
    {"mediumblue", 0, 0, 205},
    {"mediumorchid", 186, 85, 211},
    {"mediumpurple", 147, 112, 219},
    {"mediumseagreen", 60, 179, 113},
    {"mediumslateblue", 123, 104, 238},
    {"mediumspringgreen", 0, 250, 154},
    {"mediumturquoise", 72, 209, 204},
    {"mediumvioletred", 199, 21, 133},
    {"midnightblue", 25, 25, 112},
    {"mintcream", 245, 255, 250},
    {"mistyrose", 255, 228, 225},
    {"moccasin", 255, 228, 181},
    {"navajowhite", 255, 222, 173},
    {"navy", 0, 0, 128},
    {"oldlace", 253, 245, 230},
    {"olive", 128, 128, 0},
    {"olivedrab", 107, 142, 35},
    {"orange", 255, 165, 0},
    {"orangered", 255, 69, 0},
    {"orchid", 218, 112, 214},
    {"palegoldenrod", 238, 232, 170},
    {"palegreen", 152, 251, 152},
    {"paleturquoise", 175, 238, 238},
    {"palevioletred", 219, 112, 147},
    {"papayawhip", 255, 239, 213},
    {"peachpuff", 255, 218, 185},
    {"peru", 205, 133, 63},
    {"pink", 255, 192, 203},
    {"plum", 221, 160, 221},
    {"powderblue", 176, 224, 230},
    {"purple", 128, 0, 128},
    {"red", 255, 0, 0},
    {"rosybrown", 188, 143, 143},
    {"royalblue", 65, 105, 225},
    {"saddlebrown", 139, 69, 19},
    {"salmon", 250, 128, 114},
    {"sandybrown", 244, 164, 96},
    {"seagreen", 46, 139, 87},
    {"seashell", 255, 245, 238},
    {"sienna", 160, 82, 45},
    {"silver", 192, 192, 192},
    {"skyblue", 135, 206, 235},
    {"slateblue", 106, 90, 205},
    {"slategray", 112, 128, 144},
    {"slategrey", 112, 128, 144},
    {"snow", 255, 250, 250},
    {"springgreen", 0, 255, 127},
    {"steelblue", 70, 130, 180},
    {"tan", 210, 180, 140},
    {"teal", 0, 128, 128},
    {"thistle", 216, 191, 216},
    {"tomato", 255, 99, 71},
    {"turquoise", 64, 224, 208},
    {"violet", 238, 130, 238},
    {"wheat", 245, 222, 179},
    {"white", 255, 255, 255},
    {"whitesmoke", 245, 245, 245},
    {"yellow", 255, 255, 0},
    {"yellowgreen", 154, 205, 50},
};

// The names as the program shows them, in mixed case.
const char* const displayNames[] = {
    "AliceBlue",
    "AntiqueWhite",
    "Aquamarine",
    "Azure",
    "Beige",
    "Bisque",
    "Black",
    "BlanchedAlmond",
    "Blue",
    "BlueViolet",
    "Brown",
    "BurlyWood",
    "CadetBlue",
    "Chartreuse",
    "Chocolate",
    "Coral",
    "CornflowerBlue",
    "Cornsilk",
    "Crimson",
    "Cyan or Aqua",
    "DarkBlue",
    "DarkCyan",
    "DarkGoldenrod",
    "DarkGray",
    "DarkGreen",
    "DarkKhaki",
    "DarkMagenta",
    "DarkOliveGreen",
    "DarkOrange",
    "DarkOrchid",
    "DarkRed",
    "DarkSalmon",
    "DarkSeaGreen",
    "DarkSlateBlue",
    "DarkSlateGray",
    "DarkTurquoise",
    "DarkViolet",
    "DeepPink",
    "DeepSkyBlue",
    "DimGray",
    "DodgerBlue",
    "FireBrick",
    "FloralWhite",
    "ForestGreen",
    "Gainsboro",
    "GhostWhite",
    "Gold",
    "Goldenrod",
    "Gray",
    "Green",
    "GreenYellow",
    "Honeydew",
    "HotPink",
    "IndianRed",
    "Indigo",
    "Ivory",
    "Khaki",
    "Lavender",
    "LavenderBlush",
    "LawnGreen",
    "LemonChiffon",
    "LightBlue",
    "LightCoral",
    "LightCyan",
    "LightGoldenrodYellow",
    "LightGreen",
    "LightGrey",
    "LightPink",
    "LightSalmon",
    "LightSeaGreen",
    "LightSkyBlue",
    "LightSlateGray",
    "LightSteelBlue",
    "LightYellow",
    "Lime",
    "LimeGreen",
    "Linen",
    "Magenta or Fuchia",
    "Maroon",
    "MediumAquamarine",
    "MediumBlue",
    "MediumOrchid",
    "MediumPurple",
    "MediumSeaGreen",
    "MediumSlateBlue",
    "MediumSpringGreen",
    "MediumTurquoise",
    "MediumVioletRed",
    "MidnightBlue",
    "MintCream",
    "MistyRose",
    "Moccasin",
    "NavajoWhite",
    "Navy",
    "OldLace",
    "Olive",
    "OliveDrab",
    "Orange",
    "OrangeRed",
    "Orchid",
    "PaleGoldenrod",
    "PaleGreen",
    "PaleTurquoise",
    "PaleVioletRed",
    "PapayaWhip",
    "PeachPuff",
    "Peru",
    "Pink",
    "Plum",
    "PowderBlue",
    "Purple",
    "Red",
    "RosyBrown",
    "RoyalBlue",
    "SaddleBrown",
    "Salmon",
    "SandyBrown",
    "SeaGreen",
    "Seashell",
    "Sienna",
    "Silver",
    "SkyBlue",
    "SlateBlue",
    "SlateGray",
    "Snow",
    "SpringGreen",
    "SteelBlue",
    "Tan",
    "Teal",
    "Thistle",
    "Tomato",
    "Turquoise",
    "Violet",
    "Wheat",
    "White",
    "WhiteSmoke",
    "Yellow",
    "YellowGreen",
};

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return s;
}

// The keywords a table name stands for: the two joined names, or the name itself.
std::vector<std::string> keywordsOf(const std::string& name)
{
    if (name == "Magenta or Fuchia") {
        return {"magenta", "fuchsia"};
    }
    if (name == "Cyan or Aqua") {
        return {"cyan", "aqua"};
    }
    return {lower(name)};
}

TEST(ColorNameTable, MatchesTheCssKeywordsValueForValue)
{
    ASSERT_EQ(std::size(cssKeywords), 147u);
    std::map<std::string, TColor> keywordValue;
    std::set<TColor> distinctValues;
    for (const Keyword& k : cssKeywords) {
        keywordValue[k.name] = rgbColor(k.r, k.g, k.b);
        distinctValues.insert(rgbColor(k.r, k.g, k.b));
    }
    ASSERT_EQ(keywordValue.size(), 147u) << "duplicate keyword in the reference list";
    ASSERT_EQ(distinctValues.size(), 138u);

    const auto table = colorNameTable();
    ASSERT_EQ(table.size(), 138u);

    // Every entry names keywords of exactly its value.
    for (const NamedColor& e : table) {
        for (const std::string& keyword : keywordsOf(e.name)) {
            const auto it = keywordValue.find(keyword);
            ASSERT_NE(it, keywordValue.end()) << e.name << " is no keyword";
            EXPECT_EQ(it->second, e.value) << e.name;
        }
    }
    // Every keyword value has exactly one entry, and the lookup finds it.
    for (const Keyword& k : cssKeywords) {
        const TColor value = rgbColor(k.r, k.g, k.b);
        EXPECT_EQ(std::count_if(table.begin(), table.end(), [&](const NamedColor& e) { return e.value == value; }), 1)
            << k.name;
        EXPECT_STRNE(ColorName(value), "") << k.name;
    }
}

TEST(ColorNameTable, SortedByValueAndSpelledAsShown)
{
    const auto table = colorNameTable();
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                               [](const NamedColor& a, const NamedColor& b) { return a.value < b.value; }));
    std::vector<std::string> names;
    for (const NamedColor& e : table) {
        names.emplace_back(e.name);
        EXPECT_STREQ(ColorName(e.value), e.name);
    }
    std::vector<std::string> expected(std::begin(displayNames), std::end(displayNames));
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST(ColorName, ExactValueOnly)
{
    const struct {
        TColor c;
        const char* name;
    } cases[] = {
        {0x00000000, "Black"},
        {0x00FFFFFF, "White"},
        {0x00FF00FF, "Magenta or Fuchia"},
        {0x00FFFF00, "Cyan or Aqua"},
        {0x00D3D3D3, "LightGrey"},
        {0x00808080, "Gray"},
        {0x00A9A9A9, "DarkGray"},
        {0x00696969, "DimGray"},
        {0x004F4F2F, "DarkSlateGray"},
        {0x00908070, "SlateGray"},
        {0x00998877, "LightSlateGray"},
        {0x000000FF, "Red"},
        {0x00FF0000, "Blue"},
        {rgbColor(0, 0, 254), ""},
        {rgbColor(1, 0, 0), ""},
        {0x01000000, ""}, // black with a high byte
        {0xFFFFFFFF, ""},
        {clNone, ""},
    };
    for (const auto& c : cases) {
        const char* name = ColorName(c.c);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, c.name) << std::hex << c.c;
    }
}

TEST(Channels, UnsignedArithmeticOnTheWholeValue)
{
    const struct {
        TColor c;
        std::uint32_t red, green, blue;
    } cases[] = {
        {rgbColor(1, 2, 3), 1, 2, 3},  {0x00FFFFFF, 255, 255, 255}, {0, 0, 0, 0},
        {0xFFFFFFFF, 255, 255, 65535}, {0x01000000, 0, 0, 256},     {clNone, 255, 255, 0x1FFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Red(c.c), c.red) << std::hex << c.c;
        EXPECT_EQ(Green(c.c), c.green) << std::hex << c.c;
        EXPECT_EQ(Blue(c.c), c.blue) << std::hex << c.c;
    }
}

TEST(WebSafe, MultiplesOf51Only)
{
    EXPECT_TRUE(WebSafe(rgbColor(51, 102, 255)));
    EXPECT_FALSE(WebSafe(rgbColor(51, 102, 254)));
    EXPECT_TRUE(WebSafe(clWhite));
    EXPECT_TRUE(WebSafe(clBlack));
    EXPECT_FALSE(WebSafe(0x01000000)); // Blue 256
    int count = 0;
    for (TColor c = 0; c <= 0xFFFFFF; ++c) {
        count += WebSafe(c) ? 1 : 0;
    }
    EXPECT_EQ(count, 216);
}

TEST(DarkColor, StrictThresholdsInOrder)
{
    const struct {
        int r, g, b;
        bool dark;
    } cases[] = {
        {200, 150, 0, true},                           // sum 350 and red 200: both limits still dark
        {201, 0, 0, false},    {117, 117, 117, false}, // sum 351
        {116, 117, 117, true}, {0, 201, 0, false},     {0, 200, 150, true},  {0, 0, 255, true},
        {255, 0, 0, false},    {0, 255, 0, false},     {100, 0, 251, false}, // blue counts in the sum
        {0, 0, 0, true},       {255, 255, 255, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DarkColor(rgbColor(c.r, c.g, c.b)), c.dark) << c.r << ", " << c.g << ", " << c.b;
    }
}

} // namespace
} // namespace tintara
