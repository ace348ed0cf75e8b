#include "xml/XmlReader.h"

#include <expat.h>
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

namespace tintara {

namespace {

using namespace std::string_view_literals;

// windows-1252's 0x80..0x9F row; the five unassigned bytes keep their C1 code points (the C library's
// converter refuses them, and a file saved on Windows may hold them).
constexpr std::array<char16_t, 32> kCp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::any_of(names.begin(), names.end(), [&](std::string_view n) {
        return std::equal(name.begin(), name.end(), n.begin(), n.end(),
                          [&](char a, char b) { return lower(a) == lower(b); });
    });
}

// expat reads no UTF-32, so such a file reaches it as UTF-8.
std::string utf32ToUtf8(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 4 != 0)
        throw PaletteError("UTF-32 text ends in the middle of a character");
    std::string out;
    out.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        char32_t u = 0;
        for (std::size_t k = 0; k < 4; ++k)
            u = (u << 8) | static_cast<unsigned char>(bytes[bigEndian ? i + k : i + 3 - k]);
        if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
            throw PaletteError("invalid UTF-32 character at byte " + std::to_string(i));
        if (i > 0 || u != 0xFEFF)
            appendUtf8(out, u);
    }
    return out;
}

// expat takes a high surrogate followed by anything for a pair, reading a malformed file as other
// characters, and drops an odd byte at the end.
void checkUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        throw PaletteError("UTF-16 text ends in the middle of a character");
    // The high byte of each code unit tells a surrogate: D8..DB high, DC..DF low.
    for (std::size_t i = bigEndian ? 0 : 1; i < bytes.size(); i += 2) {
        const unsigned unitHigh = static_cast<unsigned char>(bytes[i]);
        if ((unitHigh & 0xF8) != 0xD8)
            continue;
        if (unitHigh >= 0xDC || i + 2 >= bytes.size() || (static_cast<unsigned char>(bytes[i + 2]) & 0xFC) != 0xDC)
            throw PaletteError("unpaired UTF-16 surrogate at byte " + std::to_string(i - (bigEndian ? 0 : 1)));
        i += 2;
    }
}

class TreeBuilder {
public:
    TreeBuilder(std::string_view input, pugi::xml_document& doc, std::size_t maxDepth, std::size_t unitWidth,
                bool bigEndian)
        : input_(input), current_(doc), maxDepth_(maxDepth), unitWidth_(unitWidth), bigEndian_(bigEndian)
    {
    }

    // True when the whole input parsed; otherwise error() tells why and where.
    bool run(const char* encoding);
    const std::string& error() const { return error_; }
    bool wantsUtf8() const { return wantsUtf8_; }

    void start(const XML_Char* name, const XML_Char** atts);
    void end(const XML_Char*);
    void text(const XML_Char* s, int len) { text_.append(s, static_cast<std::size_t>(len)); }
    void startCdata();
    void endCdata();
    void comment(const XML_Char* data);
    void processingInstruction(const XML_Char* target, const XML_Char* data);
    void unhandled(const XML_Char* s, int len);
    void declaration(const XML_Char* version, const XML_Char*, int);
    void doctype(const XML_Char*, const XML_Char*, const XML_Char*, int) { doctypeSeen_ = true; }
    int unknownEncoding(const XML_Char* name, XML_Encoding* info);

    void stop(const char* what) noexcept;

private:
    void flushText();
    pugi::xml_node append(pugi::xml_node_type type);
    bool refersToEntity(std::string_view tag) const;
    bool nameReadsBack(const XML_Char* name) { return !latin1_ || latin1NameReadsBack(name); }
    bool latin1NameReadsBack(const XML_Char* name);

    XML_Parser parser_ = nullptr;
    std::string_view input_;
    pugi::xml_node current_;
    std::size_t depth_ = 0;
    std::size_t maxDepth_;
    std::size_t unitWidth_;
    bool bigEndian_;
    std::string text_;
    bool doctypeSeen_ = false;
    bool latin1_ = false;
    bool wantsUtf8_ = false;
    bool stopped_ = false;
    std::string error_;
};

// expat's callbacks are C: what a handler throws stops the parser instead of crossing them.
template <auto Method> struct Handler;
template <typename R, typename... Args, R (TreeBuilder::*Method)(Args...)> struct Handler<Method> {
    static R XMLCALL call(void* self, Args... args)
    {
        auto* builder = static_cast<TreeBuilder*>(self);
        try {
            return (builder->*Method)(args...);
        } catch (const std::exception& e) {
            builder->stop(e.what());
        } catch (...) {
            builder->stop("unexpected failure");
        }
        return R();
    }
};

void TreeBuilder::stop(const char* what) noexcept
{
    if (stopped_)
        return;
    stopped_ = true;
    try {
        error_ = "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ", column " +
                 std::to_string(XML_GetCurrentColumnNumber(parser_) + 1) + ": " + what;
    } catch (...) {
    }
    XML_StopParser(parser_, XML_FALSE);
}

pugi::xml_node TreeBuilder::append(pugi::xml_node_type type)
{
    pugi::xml_node n = current_.append_child(type);
    if (!n)
        throw std::bad_alloc();
    return n;
}

void TreeBuilder::flushText()
{
    if (text_.empty())
        return;
    append(pugi::node_pcdata).set_value(text_.c_str());
    text_.clear();
}

void TreeBuilder::start(const XML_Char* name, const XML_Char** atts)
{
    flushText();
    if (++depth_ > maxDepth_)
        return stop(("elements nested deeper than " + std::to_string(maxDepth_) + " levels").c_str());
    // Behind a document type, expat expands entities in attribute values, or drops unknown ones when there
    // is an external subset; the tree must not hold either.
    if (doctypeSeen_ && refersToEntity(input_.substr(static_cast<std::size_t>(XML_GetCurrentByteIndex(parser_)),
                                                     static_cast<std::size_t>(XML_GetCurrentByteCount(parser_)))))
        return stop("an attribute refers to an entity other than the five predefined ones");
    if (!nameReadsBack(name))
        return;
    pugi::xml_node n = append(pugi::node_element);
    n.set_name(name);
    // Attributes past this count are defaults of the document type: not part of the file.
    const int specified = XML_GetSpecifiedAttributeCount(parser_);
    for (int i = 0; i < specified; i += 2) {
        if (!nameReadsBack(atts[i]))
            return;
        if (!n.append_attribute(atts[i]).set_value(atts[i + 1]))
            throw std::bad_alloc();
    }
    current_ = n;
}

void TreeBuilder::end(const XML_Char*)
{
    flushText();
    --depth_;
    current_ = current_.parent();
}

void TreeBuilder::startCdata()
{
    flushText();
}

void TreeBuilder::endCdata()
{
    append(pugi::node_cdata).set_value(text_.c_str());
    text_.clear();
}

void TreeBuilder::comment(const XML_Char* data)
{
    if (depth_ == 0)
        return; // only the root is kept
    flushText();
    append(pugi::node_comment).set_value(data);
}

void TreeBuilder::processingInstruction(const XML_Char* target, const XML_Char* data)
{
    if (depth_ == 0 || !nameReadsBack(target))
        return;
    flushText();
    pugi::xml_node n = append(pugi::node_pi);
    n.set_name(target);
    n.set_value(data);
}

// With this handler set, expat hands over references to entities other than the predefined ones instead
// of expanding them; the tree could not keep them.
void TreeBuilder::unhandled(const XML_Char* s, int len)
{
    if (depth_ > 0 && len > 0 && s[0] == '&')
        stop(("reference to an unknown entity " + std::string(s, static_cast<std::size_t>(len))).c_str());
}

void TreeBuilder::declaration(const XML_Char* version, const XML_Char* encoding, int)
{
    if (version != nullptr && std::strcmp(version, "1.0") != 0)
        stop("unsupported XML version");
    latin1_ = encoding != nullptr && isOneOf(encoding, {"ISO-8859-1"});
}

// expat's own ISO-8859-1 decoder takes U+00AA, U+00B5 and U+00BA for name characters, which its UTF-8
// decoder refuses: such a name would make the written file unreadable.
bool TreeBuilder::latin1NameReadsBack(const XML_Char* name)
{
    if (!isXmlName(name)) {
        stop(("the name " + std::string(name) + " cannot be written back").c_str());
        return false;
    }
    return true;
}

int TreeBuilder::unknownEncoding(const XML_Char* name, XML_Encoding* info)
{
    const std::string_view n(name);
    if (isOneOf(n, {"UTF8", "ASCII"})) {
        wantsUtf8_ = true; // read again as UTF-8, which expat cannot take through this handler
        return XML_STATUS_ERROR;
    }
    const bool cp1252 = isOneOf(n, {"windows-1252", "cp1252"});
    if (!cp1252 && !isOneOf(n, {"ISO8859-1", "ISO_8859-1", "latin1", "latin-1", "l1"}))
        return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b)
        info->map[b] = cp1252 && b >= 0x80 && b <= 0x9F ? kCp1252High[static_cast<std::size_t>(b - 0x80)] : b;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// Whether the raw bytes of a start tag hold a reference to an entity; inside a start tag only attribute
// values can.
bool TreeBuilder::refersToEntity(std::string_view tag) const
{
    std::string ascii; // the tag's ASCII characters; everything else as 0x80
    for (std::size_t i = 0; i + unitWidth_ <= tag.size(); i += unitWidth_) {
        unsigned u = static_cast<unsigned char>(tag[i]);
        if (unitWidth_ == 2) {
            const unsigned next = static_cast<unsigned char>(tag[i + 1]);
            u = bigEndian_ ? (u << 8 | next) : (next << 8 | u);
        }
        ascii += u < 0x80 ? static_cast<char>(u) : '\x80';
    }
    for (std::size_t at = ascii.find('&'); at != std::string::npos; at = ascii.find('&', at + 1)) {
        const std::string_view ref = std::string_view(ascii).substr(at + 1, ascii.find(';', at) - at - 1);
        if (!ref.starts_with('#') && ref != "amp" && ref != "lt" && ref != "gt" && ref != "quot" && ref != "apos")
            return true;
    }
    return false;
}

bool TreeBuilder::run(const char* encoding)
{
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(encoding),
                                                                              &XML_ParserFree);
    if (!parser)
        throw std::bad_alloc();
    parser_ = parser.get();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, Handler<&TreeBuilder::start>::call, Handler<&TreeBuilder::end>::call);
    XML_SetCharacterDataHandler(parser_, Handler<&TreeBuilder::text>::call);
    XML_SetCdataSectionHandler(parser_, Handler<&TreeBuilder::startCdata>::call, Handler<&TreeBuilder::endCdata>::call);
    XML_SetCommentHandler(parser_, Handler<&TreeBuilder::comment>::call);
    XML_SetProcessingInstructionHandler(parser_, Handler<&TreeBuilder::processingInstruction>::call);
    XML_SetDefaultHandler(parser_, Handler<&TreeBuilder::unhandled>::call);
    XML_SetXmlDeclHandler(parser_, Handler<&TreeBuilder::declaration>::call);
    XML_SetStartDoctypeDeclHandler(parser_, Handler<&TreeBuilder::doctype>::call);
    XML_SetUnknownEncodingHandler(parser_, Handler<&TreeBuilder::unknownEncoding>::call, this);

    if (XML_Parse(parser_, input_.data(), static_cast<int>(input_.size()), XML_TRUE) == XML_STATUS_OK)
        return true;
    if (!stopped_) {
        const XML_Error code = XML_GetErrorCode(parser_);
        // expat points at the name in a mismatched end tag; the user looks for its "</".
        const XML_Size column = XML_GetCurrentColumnNumber(parser_) - (code == XML_ERROR_TAG_MISMATCH ? 2 : 0);
        error_ = "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ", column " +
                 std::to_string(column + 1) + ": " + XML_ErrorString(code);
    }
    return false;
}

} // namespace

XmlEncoding readXml(std::string_view bytes, pugi::xml_document& doc, std::size_t maxDepth)
{
    auto startsWith = [&](std::string_view prefix) { return bytes.starts_with(prefix); };
    std::string converted;
    const char* encoding = nullptr; // expat's own detection
    if (startsWith("\xFF\xFE\0\0"sv) || startsWith("<\0\0\0"sv) || startsWith("\0\0\xFE\xFF"sv) ||
        startsWith("\0\0\0<"sv)) {
        converted = utf32ToUtf8(bytes, bytes[0] == '\0');
        bytes = converted;
        encoding = "UTF-8";
    }
    const bool utf16 = encoding == nullptr && (startsWith("\xFF\xFE"sv) || startsWith("\xFE\xFF"sv) ||
                                               startsWith("<\0"sv) || startsWith("\0<"sv));
    const bool bigEndian = startsWith("\xFE\xFF"sv) || startsWith("\0<"sv);
    // As before expat, the byte-order mark or the first character's width decides a UTF-16 file's
    // encoding, whatever its declaration says.
    if (utf16) {
        encoding = bigEndian ? "UTF-16BE" : "UTF-16LE";
        checkUtf16(bytes, bigEndian);
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw PaletteError("the file is too large");
    for (;;) {
        TreeBuilder builder(bytes, doc, maxDepth, utf16 ? 2 : 1, bigEndian);
        if (builder.run(encoding))
            return utf16 ? XmlEncoding::Utf16 : XmlEncoding::Utf8;
        if (!builder.wantsUtf8() || encoding != nullptr)
            throw PaletteError(builder.error().empty() ? "cannot read the document" : builder.error());
        doc.reset();
        encoding = "UTF-8";
    }
}

} // namespace tintara
