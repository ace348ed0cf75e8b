#pragma once
// Palettes in the files other programs read and write: GIMP palettes (.gpl), Adobe Swatch Exchange
// (.ase), CSS custom properties (.css, written only) and plain lists of #RRGGBB lines (.txt, .hex).
//
// The readers take whole files as bytes and never trust them: every length is checked against what
// is there, nothing is allocated from a count the file claims, and anything they cannot use either
// is skipped with a note (a Lab swatch) or fails with ExchangeError, whose text is a reason a user
// can act on ("line 4 is not a colour: ..."). Text is UTF-8 in and out; names that are not valid
// UTF-8 are mended where they enter the palette document.
#include "colormodel/TColor.h"
#include "xml/PaletteDocument.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tintara {

class ExchangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class PaletteFormat { Gpl, Ase, Css, HexList };

// A palette as it travels: a name (empty when the file has none) and its colours in order.
struct ExchangePalette {
    std::string name;
    std::vector<TColor> colors;
    // What the reader skipped, for the user ("2 Lab swatches were skipped ...").
    std::vector<std::string> notes;
};

// The format a file name's extension names (case-insensitive), nullopt for any other name.
std::optional<PaletteFormat> formatFromFileName(std::string_view fileName);
// ".gpl", ".ase", ".css", ".txt".
std::string_view extensionOf(PaletteFormat format);

// Writers. Each output reads back to the same colours (and, where the format holds one, the name).
// GIMP: header, "Name:", "Columns:", a comment line, then "RRR GGG BBB<TAB>#RRGGBB" lines, LF ends.
std::string writeGpl(const ExchangePalette& palette);
// ASE 1.0: one group named after the palette holding an RGB entry per colour, named by its hex text.
std::string writeAse(const ExchangePalette& palette);
// ":root {" with one "--<identifier>-<n>: #RRGGBB;" line per colour, n from 1.
std::string writeCss(const ExchangePalette& palette);
// One "#RRGGBB" line per colour.
std::string writeHexList(const ExchangePalette& palette);
std::string writePalette(PaletteFormat format, const ExchangePalette& palette);

// The palette name as a CSS identifier: ASCII letters lower-cased, digits, "-", "_" and every
// non-ASCII character kept, anything else a single "-", none at either end; "palette" when nothing
// is left.
std::string cssIdentifier(std::string_view name);

// Readers; each throws ExchangeError with the reason.
ExchangePalette readGpl(std::string_view bytes);
ExchangePalette readAse(std::string_view bytes);
ExchangePalette readHexList(std::string_view bytes);

// Reads a file of any format we import. The content decides where it is unmistakable (the "ASEF"
// signature, the "GIMP Palette" header), the extension otherwise. A palette without a name of its
// own is named after the file (its name without folder and extension).
ExchangePalette readPaletteFile(std::string_view fileName, std::string_view bytes);

// `wanted` when no palette is called so, else the first free "wanted (2)", "wanted (3)", ...
std::string uniquePaletteName(const std::vector<std::string>& existing, std::string_view wanted);

// What adding an imported palette did.
struct ImportedPalette {
    std::string name;        // as stored in the document and shown in the list
    std::size_t kept = 0;    // colours stored (at most PaletteChipCount)
    std::size_t dropped = 0; // colours beyond that
};

// Appends the palette to the document as a new last palette under a unique name (made from its
// name as New makes a typed one), holding its first sixteen colours. Throws PaletteError when the
// document's palettes cannot be listed (a palette without a name); the document is then unchanged.
ImportedPalette addImportedPalette(PaletteDocument& doc, const ExchangePalette& palette);

// The colours of the palette named `name` in chip order, as loading it would fill the chips.
// Throws ExchangeError when the palette cannot be loaded.
std::vector<TColor> exportedColors(const PaletteDocument& doc, std::string_view name);

// The file an export writes and its format: the extension decides when it names a format; otherwise
// the filter's format is used, and a name without any extension gets that format's.
struct ExportTarget {
    std::string path;
    PaletteFormat format = PaletteFormat::Gpl;
};
ExportTarget exportTarget(std::string_view path, PaletteFormat filterFormat);

} // namespace tintara
