#include "xml/PaletteDocument.h"

#include "xml/XmlReader.h"

#include <pugixml.hpp>

namespace tintara {

namespace {

pugi::xml_node nodeOf(pugi::xml_node_struct* n)
{
    return pugi::xml_node(n);
}

// Line feeds become CR LF everywhere in the output.
void appendRaw(std::string& out, std::string_view v)
{
    for (char c : v) {
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
}

void appendText(std::string& out, std::string_view v)
{
    for (char c : v) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#xD;";
            break;
        case '\n':
            out += "\r\n";
            break;
        default:
            out += c;
        }
    }
}

// A reader normalises literal TAB, CR and LF in an attribute value to spaces, so they go out as
// character references.
void appendAttributeValue(std::string& out, std::string_view v)
{
    for (char c : v) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#x9;";
            break;
        case '\n':
            out += "&#xA;";
            break;
        case '\r':
            out += "&#xD;";
            break;
        default:
            out += c;
        }
    }
}

void appendStartTag(std::string& out, pugi::xml_node n)
{
    out += '<';
    out += n.name();
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        appendAttributeValue(out, a.value());
        out += '"';
    }
    out += '>';
}

void appendEndTag(std::string& out, pugi::xml_node n)
{
    out += "</";
    out += n.name();
    out += '>';
}

void appendLeaf(std::string& out, pugi::xml_node n)
{
    switch (n.type()) {
    case pugi::node_pcdata:
        appendText(out, n.value());
        break;
    case pugi::node_cdata: {
        // A CDATA section cannot hold "]]>": split it across two sections.
        std::string_view v = n.value();
        out += "<![CDATA[";
        for (std::size_t at; (at = v.find("]]>")) != std::string_view::npos; v.remove_prefix(at + 2)) {
            appendRaw(out, v.substr(0, at + 2));
            out += "]]><![CDATA[";
        }
        appendRaw(out, v);
        out += "]]>";
        break;
    }
    case pugi::node_comment:
        out += "<!--";
        appendRaw(out, n.value());
        out += "-->";
        break;
    case pugi::node_pi:
        out += "<?";
        out += n.name();
        if (*n.value() != '\0') {
            out += ' ';
            appendRaw(out, n.value());
        }
        out += "?>";
        break;
    default:
        break; // declarations and document types never stand inside the root
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// XmlNode

XmlNodeType XmlNode::type() const
{
    switch (nodeOf(m_node).type()) {
    case pugi::node_null:
        return XmlNodeType::Null;
    case pugi::node_element:
        return XmlNodeType::Element;
    case pugi::node_pcdata:
        return XmlNodeType::Text;
    case pugi::node_cdata:
        return XmlNodeType::CData;
    case pugi::node_comment:
        return XmlNodeType::Comment;
    case pugi::node_pi:
        return XmlNodeType::ProcessingInstruction;
    default:
        return XmlNodeType::Other;
    }
}

std::string XmlNode::name() const
{
    const XmlNodeType t = type();
    if (t != XmlNodeType::Element && t != XmlNodeType::ProcessingInstruction)
        return {};
    return nodeOf(m_node).name();
}

std::string XmlNode::value() const
{
    const XmlNodeType t = type();
    if (t == XmlNodeType::Element || t == XmlNodeType::Null || t == XmlNodeType::Other)
        return {};
    return nodeOf(m_node).value();
}

std::optional<std::string> XmlNode::attribute(std::string_view name) const
{
    if (!isElement())
        return std::nullopt;
    for (pugi::xml_attribute a = nodeOf(m_node).first_attribute(); a; a = a.next_attribute())
        if (name == a.name())
            return std::string(a.value());
    return std::nullopt;
}

void XmlNode::setAttribute(std::string_view name, std::string_view value) const
{
    if (!isElement())
        throw PaletteError("only an element has attributes");
    if (!isXmlName(name))
        throw PaletteError("\"" + std::string(name) + "\" is not an XML name");
    const std::string stored = attributeValue(value);
    const std::string key(name);
    pugi::xml_node n = nodeOf(m_node);
    pugi::xml_attribute a = n.attribute(key.c_str());
    if (!a)
        a = n.append_attribute(key.c_str());
    if (!a || !a.set_value(stored.c_str()))
        throw PaletteError("out of memory");
}

XmlNode XmlNode::parent() const
{
    pugi::xml_node p = nodeOf(m_node).parent();
    // The document node stays out of reach: the root is the top of the tree callers see.
    if (p.type() != pugi::node_element)
        return {};
    return XmlNode(p.internal_object());
}

XmlNode XmlNode::firstChild() const
{
    if (!isElement())
        return {};
    return XmlNode(nodeOf(m_node).first_child().internal_object());
}

XmlNode XmlNode::nextSibling() const
{
    if (!parent())
        return {};
    return XmlNode(nodeOf(m_node).next_sibling().internal_object());
}

std::vector<XmlNode> XmlNode::childNodes() const
{
    std::vector<XmlNode> out;
    for (XmlNode c = firstChild(); c; c = c.nextSibling())
        out.push_back(c);
    return out;
}

std::size_t XmlNode::childCount() const
{
    std::size_t n = 0;
    for (XmlNode c = firstChild(); c; c = c.nextSibling())
        ++n;
    return n;
}

std::vector<XmlNode> XmlNode::getElementsByTagName(std::string_view tagName) const
{
    std::vector<XmlNode> out;
    if (!isElement())
        return out;
    const pugi::xml_node self = nodeOf(m_node);
    pugi::xml_node cur = self.first_child();
    while (cur) {
        if (cur.type() == pugi::node_element && tagName == cur.name())
            out.push_back(XmlNode(cur.internal_object()));
        if (pugi::xml_node down = cur.first_child()) {
            cur = down;
            continue;
        }
        while (cur != self && !cur.next_sibling())
            cur = cur.parent();
        if (cur == self)
            break;
        cur = cur.next_sibling();
    }
    return out;
}

XmlNode XmlNode::appendElement(std::string_view tagName) const
{
    if (!isElement())
        throw PaletteError("only an element can hold child elements");
    if (!isXmlName(tagName))
        throw PaletteError("\"" + std::string(tagName) + "\" is not an XML name");
    const std::string name(tagName);
    pugi::xml_node child = nodeOf(m_node).append_child(name.c_str());
    if (!child)
        throw PaletteError("out of memory");
    return XmlNode(child.internal_object());
}

void XmlNode::removeChild(XmlNode child) const
{
    const pugi::xml_node self = nodeOf(m_node);
    const pugi::xml_node target = nodeOf(child.m_node);
    if (!isElement() || !target || target.parent() != self)
        throw PaletteError("the node to remove is not a child of this element");
    // pugixml frees a subtree recursively; taking it apart leaf by leaf keeps any depth safe.
    pugi::xml_node cur = target;
    for (;;) {
        if (pugi::xml_node last = cur.last_child()) {
            cur = last;
            continue;
        }
        if (cur == target)
            break;
        pugi::xml_node up = cur.parent();
        up.remove_child(cur);
        cur = up;
    }
    nodeOf(m_node).remove_child(target);
}

// ---------------------------------------------------------------------------------------------
// PaletteDocument

PaletteDocument::PaletteDocument() : m_doc(std::make_unique<pugi::xml_document>()) {}
PaletteDocument::PaletteDocument(PaletteDocument&&) noexcept = default;
PaletteDocument& PaletteDocument::operator=(PaletteDocument&&) noexcept = default;
PaletteDocument::~PaletteDocument() = default;

PaletteDocument PaletteDocument::parse(std::string_view bytes)
{
    PaletteDocument doc;
    doc.m_encoding = readXml(bytes, *doc.m_doc, MaxDepth);
    if (!doc.m_doc->document_element())
        throw PaletteError("the document has no root element");
    return doc;
}

PaletteDocument PaletteDocument::createDefault()
{
    PaletteDocument doc;
    doc.m_doc->append_child("Palettes").append_child("Palette").append_attribute("name").set_value("Default");
    return doc;
}

XmlNode PaletteDocument::root() const
{
    return XmlNode(m_doc->document_element().internal_object());
}

std::string PaletteDocument::serialize() const
{
    std::string out;
    const pugi::xml_node root = m_doc->document_element();
    pugi::xml_node cur = root;
    for (;;) {
        if (cur.type() == pugi::node_element) {
            appendStartTag(out, cur);
            if (pugi::xml_node down = cur.first_child()) {
                cur = down;
                continue;
            }
            appendEndTag(out, cur);
        } else {
            appendLeaf(out, cur);
        }
        while (cur != root && !cur.next_sibling()) {
            cur = cur.parent();
            appendEndTag(out, cur);
        }
        if (cur == root)
            break;
        cur = cur.next_sibling();
    }
    out += "\r\n";
    if (m_encoding == XmlEncoding::Utf16)
        return utf8ToUtf16LE(out);
    return out;
}

} // namespace tintara
