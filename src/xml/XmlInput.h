#pragma once
// The reading side of the palette document, before pugixml builds the tree: decoding the file's
// bytes to UTF-8 and a strict well-formedness check. pugixml is lenient (it accepts several root
// elements, a bare "&", undeclared entities, duplicate attributes, text after the root ...), and
// everything it accepts but a conforming reader would not must fail here instead.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tintara {

// Every failure of the palette document and of the palette rules.
class PaletteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The form a document is written back in: UTF-16 for a file read as UTF-16, UTF-8 otherwise.
enum class XmlEncoding { Utf8, Utf16 };

struct DecodedXml {
    std::string text; // UTF-8, without a byte-order mark
    XmlEncoding encoding = XmlEncoding::Utf8;
};

// Detects the encoding from a byte-order mark, from the first bytes of a UTF-16/UTF-32 file without
// one, or from the XML declaration (UTF-8, US-ASCII, ISO-8859-1, windows-1252; UTF-8 when nothing is
// declared) and converts to UTF-8. Throws PaletteError for malformed byte sequences and for encodings
// it does not know.
DecodedXml decodeXmlBytes(std::string_view bytes);

// CR LF and a lone CR become LF, in place, as XML does before parsing anything (pugixml leaves them
// in processing instructions).
void normalizeLineEnds(std::string& text);

// Throws PaletteError ("line L, column C: ...") unless utf8 is a well-formed XML 1.0 document whose
// elements nest at most maxDepth levels (the root is level 1). References to entities other than the
// five predefined ones are refused as well: the tree could not keep them. Needs valid UTF-8 (as
// decodeXmlBytes produces). Iterative: any nesting depth is checked in constant stack.
void checkWellFormed(std::string_view utf8, std::size_t maxDepth);

// True for the code points XML 1.0 allows in a document.
constexpr bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// True when name is an XML 1.0 Name.
bool isXmlName(std::string_view name);

// text with invalid UTF-8 replaced by U+FFFD and every code point XML cannot hold (control
// characters, U+FFFE, U+FFFF) removed: what a document can store so that it reads back unchanged.
std::string sanitizeXmlText(std::string_view text);

// UTF-8 (valid) to UTF-16 little endian with a byte-order mark.
std::string utf8ToUtf16LE(std::string_view utf8);

} // namespace tintara
