#pragma once
// The palette document: the XML tree of "palettes.xml", read by expat into a pugixml tree (XmlReader.h),
// and written back by our own serialiser in the program's exact output form.
//
// Reading: the encoding comes from a byte-order mark or the XML declaration; CR LF and a lone CR
// become LF; comments, CDATA sections, processing instructions and whitespace-only text inside the
// root are kept as nodes of their own; the five predefined entities and character references are
// expanded (so every name reads back unchanged); anything that is not a well-formed document fails
// with PaletteError, and so does nesting deeper than MaxDepth.
//
// Writing (serialize): the root element only, nothing before or after it; attributes in stored order;
// explicit end tags; text with "&", "<", ">" and CR escaped; attribute values with "&", "<", the double
// quote, TAB, LF and CR escaped; CDATA, comments and processing instructions inside the root in their
// own form; no added whitespace; every LF as CR LF; one CR LF after the root. UTF-16 little endian with
// a byte-order mark for a document read as UTF-16, UTF-8 without a byte-order mark otherwise.
//
// No operation recurses over the tree: any depth is walked, written and removed in constant stack.
#include "xml/XmlText.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_document;
struct xml_node_struct;
} // namespace pugi

namespace tintara {

enum class XmlNodeType { Null, Element, Text, CData, Comment, ProcessingInstruction, Other };

// A handle to a node of a PaletteDocument, cheap to copy. It stays valid while the document lives and
// the node has not been removed; a default-constructed handle is null. Like a pointer, a const handle
// still reaches a changeable node, and handles of a const document can change it: the document's
// constness guards only its own lifetime.
class XmlNode {
public:
    XmlNode() = default;

    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    friend bool operator==(XmlNode a, XmlNode b) { return a.m_node == b.m_node; }

    XmlNodeType type() const;
    bool isElement() const { return type() == XmlNodeType::Element; }

    // The tag name of an element, the target of a processing instruction, empty for other nodes.
    std::string name() const;
    // The content of a text, CDATA, comment or processing instruction node; empty for an element.
    std::string value() const;

    // The value of the attribute named exactly name (getNamedItem + nodeValue); nullopt when the node
    // has no such attribute or is not an element.
    std::optional<std::string> attribute(std::string_view name) const;
    bool hasAttribute(std::string_view name) const { return attribute(name).has_value(); }
    // Sets the attribute's value, or adds the attribute after the existing ones (setNamedItem).
    // The value is stored as sanitizeXmlText(value), so that it reads back unchanged; attributeValue
    // tells what that is. Throws PaletteError when the node is not an element or name is no XML name.
    void setAttribute(std::string_view name, std::string_view value) const;
    static std::string attributeValue(std::string_view value) { return sanitizeXmlText(value); }

    // Navigation; null handles at the ends.
    XmlNode parent() const;
    XmlNode firstChild() const;
    XmlNode nextSibling() const;

    // The child nodes in order (childNodes), as a snapshot.
    std::vector<XmlNode> childNodes() const;
    std::size_t childCount() const;

    // All descendant elements (not the node itself) named exactly tagName, in document order, as a
    // snapshot: query again after changing the tree.
    std::vector<XmlNode> getElementsByTagName(std::string_view tagName) const;

    // Creates an element named tagName and appends it as the last child (createElement + appendChild).
    // Throws PaletteError when this is not an element or tagName is no XML name.
    XmlNode appendElement(std::string_view tagName) const;

    // Removes child with everything inside it (removeChild); throws PaletteError when child is not a
    // child of this node. Handles to the removed nodes become invalid.
    void removeChild(XmlNode child) const;

private:
    friend class PaletteDocument;
    explicit XmlNode(pugi::xml_node_struct* node) : m_node(node) {}
    pugi::xml_node_struct* m_node = nullptr;
};

class PaletteDocument {
public:
    // Deeper documents are refused on reading: no palette file needs more than a few levels, and the
    // limit keeps every library underneath far away from its recursion limits.
    static constexpr std::size_t MaxDepth = 10000;

    // Parses a whole file's bytes. Throws PaletteError (with line and column where it applies).
    static PaletteDocument parse(std::string_view bytes);

    // The document for a first start: root "Palettes" holding one empty palette named "Default".
    static PaletteDocument createDefault();

    PaletteDocument(PaletteDocument&&) noexcept;
    PaletteDocument& operator=(PaletteDocument&&) noexcept;
    ~PaletteDocument();

    // The root element (documentElement); never null.
    XmlNode root() const;

    // The encoding the document will be written in.
    XmlEncoding encoding() const { return m_encoding; }

    // The exact bytes of the file: the root element and everything inside it (see above).
    std::string serialize() const;

private:
    PaletteDocument();
    std::unique_ptr<pugi::xml_document> m_doc;
    XmlEncoding m_encoding = XmlEncoding::Utf8;
};

} // namespace tintara
