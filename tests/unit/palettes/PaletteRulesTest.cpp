#include "palettes/PaletteRules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace tintara;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

PaletteDocument fixture(const std::string& file)
{
    std::ifstream in(std::string(TINTARA_TEST_DATA) + "/palettes/" + file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return PaletteDocument::parse(bytes.str());
}

PaletteDocument doc(const std::string& xml)
{
    return PaletteDocument::parse(xml);
}

constexpr TColor Orange = rgbColor(255, 128, 0);
constexpr TColor Gold = rgbColor(255, 215, 0);
constexpr TColor Red = rgbColor(255, 0, 0);
constexpr TColor Blue = rgbColor(0, 0, 255);

TEST(PaletteRules, ColorFromPaletteValue)
{
    struct Case {
        std::string value;
        std::optional<TColor> color;
    };
    const std::vector<Case> cases = {
        {"#FF8000", Orange},
        {"#ff8000", Orange},
        {"#FfD700", Gold},
        {"#FF80", Orange},             // the missing blue pair contributes nothing
        {"#FF", Red},                  // only red
        {"#FF8", rgbColor(255, 8, 0)}, // a half pair contributes its one digit
        {"XFF8000", Orange},           // the first character is not examined
        {"\u00E9FF8000", Orange},      // ... even when it takes more than one byte
        {"#FF8000trailing", Orange},   // characters after the seventh are ignored
        {"#FF8000\xE2\x82\xAC", Orange},
        {"#GG0000", std::nullopt},
        {"#12345G", std::nullopt},
        {"#FF 000", std::nullopt},
        {"#-F8000", std::nullopt},
        {"#FF80\xC3\xA9", std::nullopt},
        {"#", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorFromPaletteValue(c.value), c.color) << c.value;
}

TEST(PaletteRules, PaletteValueFromColor)
{
    EXPECT_EQ(PaletteValueFromColor(Orange), "#FF8000");
    EXPECT_EQ(PaletteValueFromColor(clBlack), "#000000");
    EXPECT_EQ(PaletteValueFromColor(0xABCDEF), "#EFCDAB");
    EXPECT_EQ(PaletteValueFromColor(0x05FFFFFF), "#FFFFFF"); // only red, green and blue are written
    for (TColor c : {clBlack, clWhite, Orange, Gold, TColor{0x0A0B0C}})
        EXPECT_EQ(ColorFromPaletteValue(PaletteValueFromColor(c)), c);
}

TEST(PaletteRules, PaletteNames)
{
    struct Case {
        std::string file;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"warm.xml", {"Warm", "Empty"}},
        {"colours-root.xml", {"Sea"}}, // the root's name does not matter
        {"nested.xml", {"Top", "Inner", "Last"}},
        {"duplicates.xml", {"Twin", "Other", "Twin"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paletteNames(fixture(c.file)), c.names) << c.file;
    EXPECT_THROW(paletteNames(fixture("unnamed.xml")), PaletteError);
}

TEST(PaletteRules, LoadPalette)
{
    struct Case {
        std::string file;
        std::string name;
        std::vector<PaletteChipColor> colors;
        int currentChip;
        bool ok;
    };
    std::vector<PaletteChipColor> first16;
    for (int k = 1; k <= 16; ++k)
        first16.push_back({k, rgbColor(0, 0, k)});
    const std::vector<Case> cases = {
        {"warm.xml", "Warm", {{1, Orange}, {2, Gold}}, 1, true},
        {"warm.xml", "Empty", {}, 1, true},
        {"warm.xml", "warm", {}, 1, true}, // names compare with case
        {"colours-root.xml", "Sea", {{1, rgbColor(0x00, 0x69, 0x94)}}, 1, true},
        {"nested.xml", "Inner", {{1, Red}}, 1, true},
        {"twenty.xml", "Twenty", first16, 1, true},
        // Swatch carries COLOR: read; Color with a "Color" attribute: skipped; text and comment skipped.
        {"mixed-children.xml", "Mixed", {{1, rgbColor(0, 255, 0)}, {2, Orange}, {3, Orange}}, 1, true},
        // The bad third value stops the load; its chip is the current one.
        {"bad-value.xml", "Bad", {{1, rgbColor(0x11, 0x22, 0x33)}, {2, rgbColor(0x44, 0x55, 0x66)}}, 3, false},
        // Every palette of the name, each from chip 1 again.
        {"duplicates.xml", "Twin", {{1, 0x111111}, {2, 0x222222}, {1, 0x444444}}, 1, true},
        // A palette without a name fails where it stands.
        {"unnamed.xml", "A", {{1, 0xAAAAAA}}, 1, false},
        {"unnamed.xml", "B", {}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " / " + c.name);
        const PaletteLoadResult r = loadPalette(fixture(c.file), c.name);
        EXPECT_EQ(r.colors, c.colors);
        EXPECT_EQ(r.currentChip, c.currentChip);
        EXPECT_EQ(r.ok(), c.ok) << r.error.value_or("");
    }
}

TEST(PaletteRules, StoreColorsReplacesTheChildrenOfEveryMatchingPalette)
{
    PaletteDocument d = fixture("warm.xml");
    const TColor locked[] = {Red, clNone, Blue};
    storeColors(d, "Warm", locked);
    EXPECT_EQ(d.serialize(), "<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF0000\"></Color><Color "
                             "COLOR=\"#0000FF\"></Color></Palette><Palette name=\"Empty\"></Palette></Palettes>\r\n");
    storeColors(d, "Warm", {});
    EXPECT_EQ(d.serialize(),
              "<Palettes><Palette name=\"Warm\"></Palette><Palette name=\"Empty\"></Palette></Palettes>\r\n");

    // Text, comments and elements of any kind go; the layout around the palette stays.
    PaletteDocument mixed = fixture("mixed-children.xml");
    storeColors(mixed, "Mixed", std::vector<TColor>{Orange});
    EXPECT_EQ(mixed.serialize(),
              "<Palettes>\r\n  <Palette name=\"Mixed\"><Color COLOR=\"#FF8000\"></Color></Palette>\r\n</Palettes>\r\n");

    PaletteDocument twins = fixture("duplicates.xml");
    storeColors(twins, "Twin", std::vector<TColor>{Gold});
    EXPECT_EQ(loadPalette(twins, "Twin").colors, (std::vector<PaletteChipColor>{{1, Gold}, {1, Gold}}));
    EXPECT_EQ(loadPalette(twins, "Other").colors, (std::vector<PaletteChipColor>{{1, 0x333333}}));

    // Colours 17 to 20 are gone once the palette is stored; stored colours carry no chip positions.
    PaletteDocument twenty = fixture("twenty.xml");
    storeColors(twenty, "Twenty", std::vector<TColor>{rgbColor(0, 0, 2), rgbColor(0, 0, 5)});
    EXPECT_EQ(loadPalette(twenty, "Twenty").colors,
              (std::vector<PaletteChipColor>{{1, rgbColor(0, 0, 2)}, {2, rgbColor(0, 0, 5)}}));
}

TEST(PaletteRules, StoreColorsIntoNestedMatchingPalettes)
{
    PaletteDocument d = doc("<R><Palette name=\"A\"><Palette name=\"A\"/><Palette name=\"B\"/></Palette>"
                            "<Palette name=\"A\"/></R>");
    storeColors(d, "A", std::vector<TColor>{Red});
    EXPECT_EQ(d.serialize(), "<R><Palette name=\"A\"><Color COLOR=\"#FF0000\"></Color></Palette><Palette "
                             "name=\"A\"><Color COLOR=\"#FF0000\"></Color></Palette></R>\r\n");
}

TEST(PaletteRules, StoreColorsStopsAtAPaletteWithoutName)
{
    PaletteDocument d = fixture("unnamed.xml");
    EXPECT_THROW(storeColors(d, "B", std::vector<TColor>{Red}), PaletteError);
    EXPECT_THAT(loadPalette(d, "B").colors, IsEmpty()); // the unnamed palette stops the load before B
    EXPECT_THROW(storeColors(d, "A", std::vector<TColor>{Red}), PaletteError);
    EXPECT_EQ(loadPalette(d, "A").colors, (std::vector<PaletteChipColor>{{1, Red}}));
    EXPECT_THAT(d.serialize(), ::testing::HasSubstr("<Palette name=\"B\"><Color COLOR=\"#BBBBBB\"></Color></Palette>"));
}

TEST(PaletteRules, NewPalette)
{
    PaletteDocument d = fixture("colours-root.xml");
    EXPECT_EQ(newPalette(d, "Black & White"), "Black  White");
    EXPECT_EQ(newPalette(d, "&&"), "");
    EXPECT_EQ(newPalette(d, "Sea"), "Sea");
    EXPECT_EQ(newPalette(d, "tab\tcontrol\x01"), "tab\tcontrol");
    EXPECT_THAT(paletteNames(d), ElementsAre("Sea", "Black  White", "", "Sea", "tab\tcontrol"));
    const std::string out = d.serialize();
    EXPECT_EQ(out, "<Colours>\r\n  <Palette name=\"Sea\">\r\n    <Color COLOR=\"#006994\"></Color>\r\n  </Palette>\r\n"
                   "<Palette name=\"Black  White\"></Palette><Palette name=\"\"></Palette><Palette name=\"Sea\">"
                   "</Palette><Palette name=\"tab&#x9;control\"></Palette></Colours>\r\n");
    EXPECT_EQ(paletteNames(PaletteDocument::parse(out)), paletteNames(d));
}

TEST(PaletteRules, RenamePalettes)
{
    PaletteDocument twins = fixture("duplicates.xml");
    EXPECT_EQ(renamePalettes(twins, "Twin", "Rock & Roll"), "Rock  Roll");
    EXPECT_THAT(paletteNames(twins), ElementsAre("Rock  Roll", "Other", "Rock  Roll"));
    renamePalettes(twins, "missing", "x");
    EXPECT_THAT(paletteNames(twins), ElementsAre("Rock  Roll", "Other", "Rock  Roll"));

    PaletteDocument unnamed = fixture("unnamed.xml");
    EXPECT_THROW(renamePalettes(unnamed, "A", "A2"), PaletteError);
    EXPECT_EQ(loadPalette(unnamed, "A2").colors, (std::vector<PaletteChipColor>{{1, 0xAAAAAA}}));
}

TEST(PaletteRules, DeletePalettes)
{
    PaletteDocument twins = fixture("duplicates.xml");
    deletePalettes(twins, "Twin");
    EXPECT_THAT(paletteNames(twins), ElementsAre("Other"));

    PaletteDocument single = fixture("single.xml");
    deletePalettes(single, "only"); // case counts
    deletePalettes(single, "Only");
    EXPECT_EQ(single.serialize(), "<Palettes></Palettes>\r\n");
    EXPECT_THAT(paletteNames(single), IsEmpty());
    EXPECT_TRUE(loadPalette(single, "").ok());

    // A nested palette is listed and loaded, but cannot be removed from the root.
    PaletteDocument nested = fixture("nested.xml");
    EXPECT_THROW(deletePalettes(nested, "Inner"), PaletteError);
    EXPECT_THAT(paletteNames(nested), ElementsAre("Top", "Inner", "Last"));
    deletePalettes(nested, "Top");
    EXPECT_THAT(paletteNames(nested), ElementsAre("Inner", "Last"));

    // Removal runs from the last palette to the first: the ones after the nested one are gone.
    PaletteDocument same = fixture("nested-same-name.xml");
    EXPECT_THROW(deletePalettes(same, "X"), PaletteError);
    EXPECT_EQ(same.serialize(), "<Palettes><Palette name=\"X\"></Palette><Group><Palette "
                                "name=\"X\"></Palette></Group></Palettes>\r\n");

    PaletteDocument unnamed = fixture("unnamed.xml");
    EXPECT_THROW(deletePalettes(unnamed, "B"), PaletteError); // B goes first, then the unnamed one stops it
    EXPECT_THROW(paletteNames(unnamed), PaletteError);
    EXPECT_EQ(unnamed.root().getElementsByTagName("Palette").size(), 2u);
}

} // namespace
