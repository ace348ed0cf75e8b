#pragma once
// The reading side of the palette document: expat parses the file, strictly, and its events build the
// pugixml tree the document keeps.
#include "xml/XmlText.h"

#include <cstddef>
#include <string_view>

namespace pugi {
class xml_document;
} // namespace pugi

namespace tintara {

// Reads a whole file's bytes into doc (which must be empty) and returns the form to write it back in.
//
// The encoding comes from a byte-order mark, the first character's width (UTF-16, UTF-32) or the XML
// declaration: expat's own UTF-8, UTF-16, ISO-8859-1 and US-ASCII, plus windows-1252 and a few common
// aliases. Line ends become LF. Inside the root element, text (whitespace included), CDATA sections,
// comments and processing instructions become nodes; predefined entities and character references are
// expanded; attributes that only a document type supplies as defaults are left out. Nothing before or
// after the root is kept.
//
// Throws PaletteError ("line L, column C: ...") for anything that is not a well-formed XML 1.0 document,
// for a declared version other than 1.0, for a reference to any entity but the five predefined ones, for
// names that would not read back once written in UTF-8, and for elements nested deeper than maxDepth (the
// root is level 1).
XmlEncoding readXml(std::string_view bytes, pugi::xml_document& doc, std::size_t maxDepth);

} // namespace tintara
