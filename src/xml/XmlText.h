#pragma once
// Characters, names and text forms of the palette document, shared by its reader and its writer.
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

// True for the code points XML 1.0 allows in a document.
constexpr bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// True when name is an XML 1.0 Name.
bool isXmlName(std::string_view name);

// Appends the UTF-8 form of a code point (at most 0x10FFFF, no surrogate).
void appendUtf8(std::string& out, char32_t cp);

// text with invalid UTF-8 replaced by U+FFFD and every code point XML cannot hold (control
// characters, U+FFFE, U+FFFF) removed: what a document can store so that it reads back unchanged.
std::string sanitizeXmlText(std::string_view text);

// UTF-8 (valid) to UTF-16 little endian with a byte-order mark.
std::string utf8ToUtf16LE(std::string_view utf8);

} // namespace tintara
