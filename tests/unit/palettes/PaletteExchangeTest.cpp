#include "palettes/PaletteExchange.h"

#include "palettes/PaletteRules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace tintara;
using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

constexpr TColor Orange = rgbColor(255, 128, 0);
constexpr TColor Gold = rgbColor(255, 215, 0);
constexpr TColor Blue = rgbColor(0, 0, 255);
constexpr TColor Teal = rgbColor(0, 128, 128);

std::string errorOf(auto&& read)
{
    try {
        read();
    } catch (const ExchangeError& e) {
        return e.what();
    }
    return "(no error)";
}

// --- GIMP -----------------------------------------------------------------------------------------

TEST(PaletteExchange, GplQuirksRead)
{
    struct Case {
        const char* what;
        std::string file;
        std::string name;
        std::vector<TColor> colors;
    };
    const Case cases[] = {
        {"as GIMP writes it",
         "GIMP Palette\nName: Warm\nColumns: 4\n#\n255 128   0\tOrange peel\n255 215   0\tGold\n",
         "Warm",
         {Orange, Gold}},
        {"CRLF and a byte-order mark",
         "\xEF\xBB\xBFGIMP Palette\r\nName: Warm\r\nColumns: 0\r\n#\r\n255 128 0\tA\r\n",
         "Warm",
         {Orange}},
        {"lone CR line ends", "GIMP Palette\rName: Warm\r255 128 0\r0 0 255\r", "Warm", {Orange, Blue}},
        {"no Columns, no colour names, no final line end",
         "GIMP Palette\nName: Sea\n0 128 128\n0 0 255",
         "Sea",
         {Teal, Blue}},
        {"names with spaces and non-ASCII",
         "GIMP Palette\nName:   Été café ☕ tones  \n255 128 0 Deep   orange 🍊\n",
         "Été café ☕ tones",
         {Orange}},
        {"comments, blank lines and tabs anywhere",
         "GIMP Palette\n# made by hand\n\nName: Mix\n\t0\t0\t255\n  # x\n\n0 128 128\n",
         "Mix",
         {Blue, Teal}},
        {"out-of-range components are clamped", "GIMP Palette\n300 -5 128\n", "", {rgbColor(255, 0, 128)}},
        {"keys of newer writers are skipped",
         "GIMP Palette\nName: N\nChannels: RGB\nColumns: 2\n0 0 255\n",
         "N",
         {Blue}},
        {"header with trailing blanks, no colours", "GIMP Palette  \nName: Empty\n", "Empty", {}},
    };
    for (const Case& c : cases) {
        const ExchangePalette p = readGpl(c.file);
        EXPECT_EQ(p.name, c.name) << c.what;
        EXPECT_EQ(p.colors, c.colors) << c.what;
    }
}

TEST(PaletteExchange, GplRefusesWhatIsNoPalette)
{
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {"", "not a GIMP palette"},
        {"JASC-PAL\n0100\n1\n0 0 0\n", "not a GIMP palette"},
        {"GIMP Palette\n255 128\n", "line 2 is not a colour: \"255 128\""},
        {"GIMP Palette\r\nName: X\r\n12 34 abc\r\n", "line 3 is not a colour: \"12 34 abc\""},
        {"GIMP Palette\n1.5 2 3\n", "line 2 is not a colour"},
        {"GIMP Palette\n0 0 0\nlooks like nothing\n", "line 3 is not a colour"},
        {"GIMP Palette\n\x01\x02" + std::string(60, 'x') + "\n", "line 2 is not a colour: \"??xxxx"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(errorOf([&] { readGpl(c.file); }), HasSubstr(c.reason)) << c.file;
    // A long bad line is quoted only in part.
    EXPECT_THAT(errorOf([&] { readGpl("GIMP Palette\n" + std::string(500, 'z')); }), HasSubstr("zzz...\""));
}

TEST(PaletteExchange, GplWrittenAsOtherProgramsExpect)
{
    EXPECT_EQ(writeGpl({"Warm tones", {Orange, Blue}, {}}),
              "GIMP Palette\nName: Warm tones\nColumns: 8\n#\n255 128   0\t#FF8000\n  0   0 255\t#0000FF\n");
    // A name that would end its line early stays on it.
    EXPECT_THAT(writeGpl({"two\nlines\r", {}, {}}), HasSubstr("Name: two lines \nColumns"));
}

// --- ASE ------------------------------------------------------------------------------------------

// Hand-made ASE pieces, so that files can be built the way other programs write them.
std::string u16(std::uint32_t v)
{
    return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}
std::string u32(std::uint32_t v)
{
    return u16(v >> 16) + u16(v & 0xFFFF);
}
std::string f32(float v)
{
    return u32(std::bit_cast<std::uint32_t>(v));
}
std::string aseHeader(std::uint32_t blocks, std::uint16_t major = 1)
{
    return "ASEF" + u16(major) + u16(0) + u32(blocks);
}
// An ASCII name with its NUL; `withLength0` writes the zero-length form some writers use.
std::string name(const std::string& ascii, bool withLength0 = false)
{
    if (withLength0)
        return u16(0);
    std::string out = u16(static_cast<std::uint32_t>(ascii.size() + 1));
    for (char c : ascii)
        out += u16(static_cast<unsigned char>(c));
    return out + u16(0);
}
std::string block(std::uint16_t type, const std::string& body)
{
    return u16(type) + u32(static_cast<std::uint32_t>(body.size())) + body;
}
std::string group(const std::string& n)
{
    return block(0xC001, name(n));
}
std::string groupEnd()
{
    return block(0xC002, "");
}
std::string entry(const std::string& model, const std::vector<float>& values, const std::string& nameBytes = name("c"))
{
    std::string body = nameBytes + model;
    for (float v : values)
        body += f32(v);
    return block(0x0001, body + u16(2));
}

TEST(PaletteExchange, AseQuirksRead)
{
    struct Case {
        const char* what;
        std::string file;
        std::string name;
        std::vector<TColor> colors;
        std::size_t notes;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"groups flattened in order, loose entries kept",
         aseHeader(7) + entry("RGB ", {1, 0.5F, 0}) + group("Brand") + entry("RGB ", {0, 0, 1}) + groupEnd() +
             group("Second") + entry("RGB ", {0, 128 / 255.0F, 128 / 255.0F}) + groupEnd(),
         "Brand",
         {Orange, Blue, Teal},
         0},
        {"zero-length names",
         aseHeader(3) + block(0xC001, name("", true)) + entry("RGB ", {0, 0, 1}, name("", true)) + groupEnd(),
         "",
         {Blue},
         0},
        {"an empty first group leaves the name to a later one",
         aseHeader(4) + group("") + groupEnd() + group("Later") + groupEnd(),
         "Later",
         {},
         0},
        {"gray, CMYK and lower-case models",
         aseHeader(3) + entry("Gray", {0.5F}) + entry("CMYK", {0, 0.5F, 1, 0}) + entry("rgb ", {0, 0, 1}),
         "",
         {rgbColor(128, 128, 128), Orange, Blue},
         0},
        {"Lab and unknown models skipped with a note each",
         aseHeader(3) + entry("LAB ", {50, 0, 0}) + entry("HSV ", {0, 0, 0}) + entry("RGB ", {0, 0, 1}),
         "",
         {Blue},
         2},
        {"values outside 0..1 and NaN clamped",
         aseHeader(1) + entry("RGB ", {2.0F, -1.0F, nan}),
         "",
         {rgbColor(255, 0, 0)},
         0},
        {"fewer blocks than the count says", aseHeader(0xFFFFFFFF) + entry("RGB ", {0, 0, 1}), "", {Blue}, 0},
        {"more blocks than the count says: the count wins",
         aseHeader(1) + entry("RGB ", {0, 0, 1}) + "trailing junk",
         "",
         {Blue},
         0},
        {"unknown block types and a missing colour type",
         aseHeader(2) + block(0xC003, "whatever") + block(0x0001, name("x") + "RGB " + f32(0) + f32(0) + f32(1)),
         "",
         {Blue},
         0},
    };
    for (const Case& c : cases) {
        const ExchangePalette p = readAse(c.file);
        EXPECT_EQ(p.name, c.name) << c.what;
        EXPECT_EQ(p.colors, c.colors) << c.what;
        EXPECT_EQ(p.notes.size(), c.notes) << c.what;
    }
    EXPECT_THAT(readAse(aseHeader(2) + entry("LAB ", {1, 2, 3}) + entry("LAB ", {1, 2, 3})).notes,
                ElementsAre("2 Lab swatches were skipped: Lab colours are not converted"));
}

TEST(PaletteExchange, AseRefusesBrokenFiles)
{
    struct Case {
        const char* what;
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {"empty", "", "signature is missing"},
        {"another signature", "ASEX" + u16(1) + u16(0) + u32(0), "signature is missing"},
        {"header cut short", "ASEF" + u16(1), "signature is missing"},
        {"version 2", aseHeader(0, 2), "version 2.0 is not supported"},
        {"a huge block length", aseHeader(1) + u16(1) + u32(0xFFFFFFF0) + name("x"),
         "block 1 claims 4294967280 bytes, but only 6 follow"},
        {"a block header cut short", aseHeader(2) + entry("RGB ", {0, 0, 1}) + u16(1) + "\0"s, "ends inside block 2"},
        {"a name longer than its block", aseHeader(1) + block(0x0001, u16(50) + "ab"),
         "block 1 is too short for its name"},
        {"a name length without room for it", aseHeader(1) + block(0xC001, "\x01"s), "too short for its name"},
        {"no colour model", aseHeader(1) + block(0x0001, name("x") + "RG"), "has no colour model"},
        {"values cut short", aseHeader(1) + block(0x0001, name("x") + "CMYK" + f32(0) + f32(0)),
         "too short for its values"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(errorOf([&] { readAse(c.file); }), HasSubstr(c.reason)) << c.what;
}

TEST(PaletteExchange, AseWrittenWithOneGroupOfNamedRgbEntries)
{
    const std::string bytes = writeAse({"Warm", {Orange}, {}});
    const std::string expected =
        aseHeader(3) + group("Warm") + entry("RGB ", {1.0F, 128 / 255.0F, 0.0F}, name("#FF8000")) + groupEnd();
    EXPECT_EQ(bytes, expected);
}

// --- Lists and CSS --------------------------------------------------------------------------------

TEST(PaletteExchange, HexListRead)
{
    const ExchangePalette p = readHexList(
        "\xEF\xBB\xBF#FF8000\r\nffd700\r\n\r\n// ours\r\n; theirs\r\n# heading\r\n  #00f  blue\r\n#008080,\n");
    EXPECT_EQ(p.colors, (std::vector<TColor>{Orange, Gold, Blue, Teal}));
    EXPECT_EQ(p.name, "");

    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {"", "holds no colours"},
        {"\n// nothing\n", "holds no colours"},
        {"#FF8000\n#GG0000\n", "line 2 is not a #RRGGBB colour: \"#GG0000\""},
        {"#FF80\n", "line 1 is not"},
        {"#FF800080\n", "line 1 is not"},
        {"hello world\n", "line 1 is not"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(errorOf([&] { readHexList(c.file); }), HasSubstr(c.reason)) << c.file;
}

TEST(PaletteExchange, CssCustomProperties)
{
    EXPECT_EQ(writeCss({"Black  White", {Orange, Blue}, {}}),
              ":root {\n  --black-white-1: #FF8000;\n  --black-white-2: #0000FF;\n}\n");
    EXPECT_EQ(writeHexList({"x", {Orange, Blue}, {}}), "#FF8000\n#0000FF\n");

    struct Case {
        std::string name;
        std::string id;
    };
    const Case cases[] = {
        {"Warm", "warm"},
        {"  Brand / Primary!! ", "brand-primary"},
        {"2024 Spring", "2024-spring"},
        {"snake_case", "snake_case"},
        {"Été café", "Été-café"},
        {"---", "palette"},
        {"", "palette"},
        {"a\"b;c}d", "a-b-c-d"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cssIdentifier(c.name), c.id) << c.name;
}

// --- Round trips ----------------------------------------------------------------------------------

TEST(PaletteExchange, EveryFormatReadsBackWhatItWrote)
{
    std::vector<TColor> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back(rgbColor(i * 13, 255 - i, (i * 97) % 256));
    const ExchangePalette palettes[] = {
        {"Warm", {Orange, Gold}, {}},
        {"", {clBlack, clWhite}, {}},
        {"Été café ☕ 🎨 tones", {Teal}, {}},
        {"Big", twenty, {}},
        {"Empty", {}, {}},
    };
    for (const ExchangePalette& p : palettes) {
        const ExchangePalette gpl = readGpl(writeGpl(p));
        EXPECT_EQ(gpl.colors, p.colors) << p.name;
        EXPECT_EQ(gpl.name, p.name);
        const ExchangePalette ase = readAse(writeAse(p));
        EXPECT_EQ(ase.colors, p.colors) << p.name;
        EXPECT_EQ(ase.name, p.name);
        EXPECT_THAT(ase.notes, IsEmpty());
        if (!p.colors.empty()) {
            EXPECT_EQ(readHexList(writeHexList(p)).colors, p.colors) << p.name;
        }
    }
    // Every byte value of every component survives the float form.
    std::vector<TColor> all;
    for (int v = 0; v < 256; ++v)
        all.push_back(rgbColor(v, 255 - v, v));
    EXPECT_EQ(readAse(writeAse({"all", all, {}})).colors, all);
    // A name that is not valid UTF-8 still gives a readable file.
    EXPECT_EQ(readAse(writeAse({"a\xFF"
                                "b",
                                {},
                                {}}))
                  .name,
              "a\xEF\xBF\xBD"
              "b");
}

TEST(PaletteExchange, FileKindByContentThenExtension)
{
    const std::string gpl = writeGpl({"", {Orange}, {}});
    const std::string ase = writeAse({"Brand", {Blue}, {}});
    struct Case {
        std::string fileName;
        std::string bytes;
        std::string name;
        std::vector<TColor> colors;
    };
    const Case cases[] = {
        {"/home/me/My Colours.gpl", gpl, "My Colours", {Orange}}, {"/home/me/swatches.txt", gpl, "swatches", {Orange}},
        {"/home/me/swatches.hex", ase, "Brand", {Blue}},          {"/home/me/weird.ASE", ase, "Brand", {Blue}},
        {"/home/me/list.HEX", "#0000FF\n", "list", {Blue}},       {"noext", ase, "Brand", {Blue}},
        {"/a.b/list.txt", "#0000FF\n", "list", {Blue}},
    };
    for (const Case& c : cases) {
        const ExchangePalette p = readPaletteFile(c.fileName, c.bytes);
        EXPECT_EQ(p.name, c.name) << c.fileName;
        EXPECT_EQ(p.colors, c.colors) << c.fileName;
    }
    EXPECT_THAT(errorOf([] { readPaletteFile("a.gpl", "#FF8000\n"); }), HasSubstr("not a GIMP palette"));
    EXPECT_THAT(errorOf([] { readPaletteFile("a.ase", "GIMP\n"); }), HasSubstr("ASEF"));
    EXPECT_THAT(errorOf([] { readPaletteFile("a.css", ":root {}"); }), HasSubstr("CSS files are written, not read"));
    EXPECT_THAT(errorOf([] { readPaletteFile("photo.png", "\x89PNG"); }), HasSubstr("not a palette file"));
}

// --- Into and out of the palette document ---------------------------------------------------------

TEST(PaletteExchange, ImportAddsAUniquelyNamedPaletteOfSixteen)
{
    PaletteDocument doc =
        PaletteDocument::parse("<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF8000\"></Color></Palette>"
                               "<Palette name=\"Warm (2)\"></Palette></Palettes>");
    std::vector<TColor> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back(rgbColor(i, i, i));
    const ImportedPalette added = addImportedPalette(doc, {"Warm", twenty, {}});
    EXPECT_EQ(added.name, "Warm (3)");
    EXPECT_EQ(added.kept, 16U);
    EXPECT_EQ(added.dropped, 4U);
    EXPECT_THAT(paletteNames(doc), ElementsAre("Warm", "Warm (2)", "Warm (3)"));
    EXPECT_THAT(exportedColors(doc, "Warm (3)"), ElementsAreArray(twenty.begin(), twenty.begin() + 16));
    EXPECT_THAT(exportedColors(doc, "Warm"), ElementsAre(Orange));

    // Names are made as New makes a typed one: no "&", and something to show.
    EXPECT_EQ(addImportedPalette(doc, {"Black & White", {}, {}}).name, "Black  White");
    EXPECT_EQ(addImportedPalette(doc, {" & ", {}, {}}).name, "Imported");
    EXPECT_EQ(addImportedPalette(doc, {"Imported", {}, {}}).name, "Imported (2)");
}

TEST(PaletteExchange, ImportIntoABrokenDocumentChangesNothing)
{
    PaletteDocument doc = PaletteDocument::parse("<Palettes><Palette></Palette></Palettes>");
    const std::string before = doc.serialize();
    EXPECT_THROW(addImportedPalette(doc, {"New", {Blue}, {}}), PaletteError);
    EXPECT_EQ(doc.serialize(), before);
}

TEST(PaletteExchange, ExportTakesThePaletteAsItLoads)
{
    const PaletteDocument doc = PaletteDocument::parse(
        "<Palettes><Palette name=\"A\"><Color COLOR=\"#FF8000\"></Color><x COLOR=\"#0000FF\"></x></Palette>"
        "<Palette name=\"Bad\"><Color COLOR=\"#GG0000\"></Color></Palette><Palette name=\"E\"></Palette></Palettes>");
    EXPECT_THAT(exportedColors(doc, "A"), ElementsAre(Orange, Blue));
    EXPECT_THAT(exportedColors(doc, "E"), IsEmpty());
    EXPECT_THAT(errorOf([&] { exportedColors(doc, "Bad"); }), HasSubstr("cannot be read"));
}

TEST(PaletteExchange, UniqueNamesAndExportTargets)
{
    EXPECT_EQ(uniquePaletteName({}, "A"), "A");
    EXPECT_EQ(uniquePaletteName({"A", "A (2)", "A (4)"}, "A"), "A (3)");
    EXPECT_EQ(uniquePaletteName({"a"}, "A"), "A"); // names compare with case, as everywhere

    struct Case {
        std::string path;
        PaletteFormat filter;
        std::string file;
        PaletteFormat format;
    };
    const Case cases[] = {
        {"/t/warm.ase", PaletteFormat::Gpl, "/t/warm.ase", PaletteFormat::Ase},
        {"/t/warm.CSS", PaletteFormat::Gpl, "/t/warm.CSS", PaletteFormat::Css},
        {"/t/warm", PaletteFormat::Ase, "/t/warm.ase", PaletteFormat::Ase},
        {"/t/my.folder/warm", PaletteFormat::HexList, "/t/my.folder/warm.txt", PaletteFormat::HexList},
        {"/t/warm.hex", PaletteFormat::Gpl, "/t/warm.hex", PaletteFormat::HexList},
        {"/t/warm.v2", PaletteFormat::Gpl, "/t/warm.v2", PaletteFormat::Gpl},
    };
    for (const Case& c : cases) {
        const ExportTarget t = exportTarget(c.path, c.filter);
        EXPECT_EQ(t.path, c.file) << c.path;
        EXPECT_EQ(t.format, c.format) << c.path;
    }
}

} // namespace
