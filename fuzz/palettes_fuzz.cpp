// Arbitrary bytes as "palettes.xml": reading must fail cleanly or give a document whose every palette
// loads, whose output reads back to the same palettes and is written again byte for byte, and which
// survives the palette operations with the same guarantees.
#include "palettes/PaletteRules.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace tintara;

namespace {

[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "palettes_fuzz: %s\n", what);
    std::abort();
}

std::optional<std::vector<std::string>> namesOf(const PaletteDocument& doc)
{
    try {
        return paletteNames(doc);
    } catch (const PaletteError&) {
        return std::nullopt;
    }
}

// The output must read back to the same palettes and be a fixed point of reading and writing.
void checkRoundTrip(const PaletteDocument& doc)
{
    const std::string out = doc.serialize();
    std::optional<PaletteDocument> again;
    try {
        again.emplace(PaletteDocument::parse(out));
    } catch (const PaletteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        broken("the written document does not read back");
    }
    if (again->serialize() != out)
        broken("writing the read-back document changes it");
    if (namesOf(*again) != namesOf(doc))
        broken("palette names changed on the way through the file");
    if (again->encoding() != doc.encoding())
        broken("the encoding changed");
}

void loadSome(const PaletteDocument& doc, const std::vector<std::string>& names)
{
    // A handful of names keeps the work linear in the input.
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
        const PaletteLoadResult r = loadPalette(doc, names[i]);
        if (r.currentChip < 1 || r.currentChip > PaletteChipCount || r.colors.size() > 16 * names.size())
            broken("load result out of range");
        for (const PaletteChipColor& c : r.colors)
            if (c.chip < 1 || c.chip > PaletteChipCount || c.color > 0xFFFFFF)
                broken("chip colour out of range");
    }
    loadPalette(doc, "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<PaletteDocument> doc;
    try {
        doc.emplace(PaletteDocument::parse(bytes));
    } catch (const PaletteError&) {
        return 0;
    }

    const std::optional<std::vector<std::string>> names = namesOf(*doc);
    loadSome(*doc, names.value_or(std::vector<std::string>{}));
    checkRoundTrip(*doc);

    // The operations of the window, each followed by the file round trip. The input's tail doubles as
    // text the user might type.
    const std::string typed(bytes.substr(size / 2, 40));
    const std::string selected = names && !names->empty() ? names->front() : typed;
    const TColor colors[] = {0x0080FF, clNone, 0x123456, 0xFFFFFF};
    try {
        storeColors(*doc, selected, colors);
    } catch (const PaletteError&) {
    }
    checkRoundTrip(*doc);

    const std::string added = newPalette(*doc, typed);
    if (added.find('&') != std::string::npos)
        broken("a new palette name kept an ampersand");
    const std::optional<std::vector<std::string>> withNew = namesOf(PaletteDocument::parse(doc->serialize()));
    if (names && (!withNew || withNew->back() != added))
        broken("the new palette does not read back under its name");
    checkRoundTrip(*doc);

    try {
        renamePalettes(*doc, selected, typed + "&renamed");
    } catch (const PaletteError&) {
    }
    checkRoundTrip(*doc);

    try {
        deletePalettes(*doc, added);
    } catch (const PaletteError&) {
    }
    checkRoundTrip(*doc);
    return 0;
}
