#pragma once
// What every palette-exchange reader must hold for arbitrary bytes: it fails with ExchangeError or
// gives colours that write and read back unchanged, and a palette that enters the palette document
// and leaves it the same.
#include "palettes/PaletteExchange.h"
#include "palettes/PaletteRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace tintara::fuzzing {

[[noreturn]] inline void broken(const char* what)
{
    std::fprintf(stderr, "exchange fuzz: %s\n", what);
    std::abort();
}

template <typename Read> std::optional<ExchangePalette> readOrRefuse(Read read, std::string_view bytes)
{
    try {
        return read(bytes);
    } catch (const ExchangeError&) {
        return std::nullopt;
    }
}

// `write` is the writer of the format `read` reads.
template <typename Read, typename Write> void checkReader(Read read, Write write, std::string_view bytes)
{
    const std::optional<ExchangePalette> first = readOrRefuse(read, bytes);
    if (!first)
        return;
    for (TColor c : first->colors)
        if (c > 0xFFFFFF)
            broken("a colour out of range");
    // A palette's second trip changes nothing at all; the first may only tidy its name.
    const std::optional<ExchangePalette> second = readOrRefuse(read, write(*first));
    if (!second)
        broken("the written palette does not read back");
    if (second->colors != first->colors)
        broken("the colours changed on the way through the file");
    const std::optional<ExchangePalette> third = readOrRefuse(read, write(*second));
    if (!third || third->name != second->name || third->colors != second->colors)
        broken("a second round trip changed the palette");

    PaletteDocument doc = PaletteDocument::createDefault();
    const ImportedPalette added = addImportedPalette(doc, *first);
    if (added.kept + added.dropped != first->colors.size() || added.kept > PaletteChipCount)
        broken("import counts are wrong");
    const PaletteDocument again = PaletteDocument::parse(doc.serialize());
    const std::vector<std::string> names = paletteNames(again);
    if (names.size() != 2 || names.back() != added.name)
        broken("the imported palette does not read back under its name");
    const std::vector<TColor> stored = exportedColors(again, added.name);
    if (stored.size() != added.kept || !std::equal(stored.begin(), stored.end(), first->colors.begin()))
        broken("the imported colours did not reach the document");
}

} // namespace tintara::fuzzing
