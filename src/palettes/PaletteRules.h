#pragma once
// The palette rules over the palette document: which palettes there are, what a palette loads into
// the chips, and how storing, creating, renaming and deleting change the document.
//
// A palette is every element named "Palette" below the root, at any depth, in document order; its
// name is its "name" attribute. Every operation finds palettes by comparing that name exactly (case
// included) with the selected name and acts on every palette that matches: duplicates are neither
// prevented nor handled differently. A palette without a "name" attribute makes any operation that
// reaches it fail.
//
// Failures: loadPalette reports them in its result, since the chips keep what was loaded before the
// failure. Every other operation throws PaletteError at the first failure and leaves the changes it
// made before that in the document; they are described with each function, in the order the window
// must see them.
#include "colormodel/TColor.h"
#include "xml/PaletteDocument.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintara {

inline constexpr int PaletteChipCount = 16;

// The "COLOR" value "#RRGGBB" (either case) as a TColor. The first character is not examined and
// characters after the seventh are ignored. Characters 6-7, 4-5 and 2-3 are the hexadecimal digits of
// blue, green and red, most significant first; a pair that lies (partly) beyond the end of a shorter
// value contributes only what is there, so "#FF80" is orange (0x0080FF). nullopt when the digits that
// are there are not all hexadecimal, or when there are none.
std::optional<TColor> ColorFromPaletteValue(std::string_view value);

// "#RRGGBB" with upper-case digits, from the red, green and blue bytes of c.
std::string PaletteValueFromColor(TColor c);

// The name that New and Edit store for the text the user typed: every "&" removed, and whatever an
// XML file cannot hold (control characters, invalid UTF-8) dropped or replaced. The window puts this
// text into the palette list, so that the list matches the document.
std::string paletteNameFromInput(std::string_view text);

// The names of all palettes in document order. Throws PaletteError when a palette has no name.
std::vector<std::string> paletteNames(const PaletteDocument& doc);

// One colour read from a palette: chip (1..16) takes color and is locked.
struct PaletteChipColor {
    int chip = 0;
    TColor color = 0;
    friend bool operator==(const PaletteChipColor&, const PaletteChipColor&) = default;
};

// What loading a palette does to the chips, after they were cleared (all white, unlocked, chip 1
// current): for each entry of colors in order, select the chip, give it the colour and lock it (a later
// entry for the same chip, from a second palette of the same name, overwrites an earlier one); then
// select currentChip. When error is set the load stopped there and the window shows the error item:
// - a "COLOR" value that cannot be read: currentChip is the chip that value was meant for; it is
//   selected but neither coloured nor locked;
// - a palette without a name: currentChip is 1.
struct PaletteLoadResult {
    std::vector<PaletteChipColor> colors;
    int currentChip = 1;
    std::optional<std::string> error;
    bool ok() const { return !error.has_value(); }
};

// Reads every palette named selectedName in document order. Each starts again at chip 1 and reads
// its child elements that carry a "COLOR" attribute, whatever their name, until 16 have been read;
// other children (text, comments, elements without "COLOR") are skipped and do not count. Never throws.
PaletteLoadResult loadPalette(const PaletteDocument& doc, std::string_view selectedName);

// Replaces the colours of every palette named selectedName: all its child nodes are removed (last to
// first), then one element "Color" with the single attribute "COLOR" = PaletteValueFromColor(c) is
// appended for each c of lockedColors in order (the colours of the locked chips, in chip order);
// clNone is never stored. Palettes are visited in document order; a palette without a name throws
// there, the ones before it are already stored. A matching palette nested inside another matching one
// is removed with the outer palette's children, so it is not stored into.
void storeColors(PaletteDocument& doc, std::string_view selectedName, std::span<const TColor> lockedColors);

// Appends a new element "Palette" with "name" = paletteNameFromInput(text) as the last child of the
// root, and returns that name (empty text and existing names are accepted).
std::string newPalette(PaletteDocument& doc, std::string_view text);

// Sets the name of every palette named oldName to paletteNameFromInput(newText), in document order,
// and returns that name. A palette without a name throws there; the ones before it are renamed.
std::string renamePalettes(PaletteDocument& doc, std::string_view oldName, std::string_view newText);

// Removes from the root every palette named name, visiting the palettes from the last to the first.
// Throws PaletteError at a palette without a name, or at a matching palette that is not a child of the
// root (nested deeper): the matching palettes after it in document order are gone by then, the ones
// before it are still there. Deleting the only palette leaves just the root.
void deletePalettes(PaletteDocument& doc, std::string_view name);

} // namespace tintara
