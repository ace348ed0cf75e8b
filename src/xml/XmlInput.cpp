#include "xml/XmlInput.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tintara {

namespace {

constexpr char32_t InvalidCodePoint = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at s[i]. len receives its length; an invalid sequence yields
// InvalidCodePoint with len 1, so that a caller can go on byte by byte.
char32_t decodeUtf8(std::string_view s, std::size_t i, std::size_t& len)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    len = 1;
    if (b0 < 0x80)
        return b0;
    std::size_t n = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        cp = b0 & 0x1Fu;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        cp = b0 & 0x0Fu;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        cp = b0 & 0x07u;
        min = 0x10000;
    } else {
        return InvalidCodePoint;
    }
    if (s.size() - i < n)
        return InvalidCodePoint;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return InvalidCodePoint;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return InvalidCodePoint;
    len = n;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

[[noreturn]] void failAtByte(const char* what, std::size_t offset)
{
    throw PaletteError(std::string(what) + " at byte " + std::to_string(offset));
}

unsigned byteAt(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

std::string decodeUtf16(std::string_view bytes, std::size_t start, bool littleEndian)
{
    if ((bytes.size() - start) % 2 != 0)
        failAtByte("UTF-16 text ends in the middle of a character", bytes.size() - 1);
    std::string out;
    out.reserve(bytes.size() - start);
    auto unitAt = [&](std::size_t i) -> char32_t {
        return littleEndian ? (byteAt(bytes, i) | (byteAt(bytes, i + 1) << 8))
                            : ((byteAt(bytes, i) << 8) | byteAt(bytes, i + 1));
    };
    for (std::size_t i = start; i < bytes.size(); i += 2) {
        char32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 3 >= bytes.size())
                failAtByte("unpaired UTF-16 surrogate", i);
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                failAtByte("unpaired UTF-16 surrogate", i);
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            failAtByte("unpaired UTF-16 surrogate", i);
        }
        appendUtf8(out, u);
    }
    return out;
}

std::string decodeUtf32(std::string_view bytes, std::size_t start, bool littleEndian)
{
    if ((bytes.size() - start) % 4 != 0)
        failAtByte("UTF-32 text ends in the middle of a character", bytes.size() - 1);
    std::string out;
    out.reserve(bytes.size() - start);
    for (std::size_t i = start; i < bytes.size(); i += 4) {
        char32_t u = 0;
        for (std::size_t k = 0; k < 4; ++k)
            u = littleEndian ? (u | (char32_t{byteAt(bytes, i + k)} << (8 * k))) : ((u << 8) | byteAt(bytes, i + k));
        if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
            failAtByte("invalid UTF-32 character", i);
        appendUtf8(out, u);
    }
    return out;
}

std::string checkedUtf8(std::string_view bytes, std::size_t start)
{
    for (std::size_t i = start; i < bytes.size();) {
        std::size_t len = 0;
        if (decodeUtf8(bytes, i, len) == InvalidCodePoint)
            failAtByte("invalid UTF-8", i);
        i += len;
    }
    return std::string(bytes.substr(start));
}

// The 0x80..0x9F row of windows-1252; the five unassigned bytes keep their C1 code points.
constexpr std::array<char16_t, 32> Cp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string decodeSingleByte(std::string_view bytes, bool windows1252)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (windows1252 && b >= 0x80 && b <= 0x9F)
            appendUtf8(out, Cp1252High[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string upperAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return r;
}

// The value of the encoding pseudo-attribute of an XML declaration at the start of bytes, if any.
// Malformed declarations yield nothing here; the well-formedness check reports them.
std::optional<std::string_view> declaredEncoding(std::string_view bytes)
{
    if (bytes.size() < 6 || bytes.substr(0, 5) != "<?xml" || !isSpace(bytes[5]))
        return std::nullopt;
    const std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos)
        return std::nullopt;
    std::size_t i = 5;
    while (i < end) {
        while (i < end && isSpace(bytes[i]))
            ++i;
        const std::size_t nameStart = i;
        while (i < end && bytes[i] >= 'a' && bytes[i] <= 'z')
            ++i;
        const std::string_view name = bytes.substr(nameStart, i - nameStart);
        while (i < end && isSpace(bytes[i]))
            ++i;
        if (i >= end || bytes[i] != '=')
            return std::nullopt;
        ++i;
        while (i < end && isSpace(bytes[i]))
            ++i;
        if (i >= end || (bytes[i] != '"' && bytes[i] != '\''))
            return std::nullopt;
        const char quote = bytes[i++];
        const std::size_t close = bytes.find(quote, i);
        if (close == std::string_view::npos || close > end)
            return std::nullopt;
        if (name == "encoding")
            return bytes.substr(i, close - i);
        i = close + 1;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Well-formedness

bool isNameStartChar(char32_t c)
{
    return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(char32_t c)
{
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool isPubidChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view(" \r\n-'()+,./:=?;!*#@$_%").find(c) != std::string_view::npos;
}

class WellFormednessChecker {
public:
    WellFormednessChecker(std::string_view text, std::size_t maxDepth) : m_s(text), m_maxDepth(maxDepth) {}

    void run()
    {
        checkCharacters();
        if (startsWith("<?xml") && m_s.size() > 5 && isSpace(m_s[5]))
            xmlDeclaration();
        bool doctypeSeen = false;
        for (;;) {
            skipSpace();
            if (startsWith("<!--")) {
                comment();
            } else if (startsWith("<?")) {
                processingInstruction();
            } else if (startsWith("<!DOCTYPE")) {
                if (doctypeSeen)
                    fail("a second document type declaration");
                doctypeSeen = true;
                doctype();
            } else {
                break;
            }
        }
        if (atEnd() || m_s[m_pos] != '<')
            fail("expected the root element");
        element();
        for (;;) {
            skipSpace();
            if (startsWith("<!--"))
                comment();
            else if (startsWith("<?"))
                processingInstruction();
            else
                break;
        }
        if (!atEnd())
            fail("content after the root element");
    }

private:
    [[noreturn]] void fail(const std::string& what) const { failAt(what, m_pos); }

    [[noreturn]] void failAt(const std::string& what, std::size_t at) const
    {
        // Line ends are LF, CR LF or a lone CR; columns count characters.
        std::size_t line = 1;
        std::size_t column = 1;
        for (std::size_t i = 0; i < at && i < m_s.size(); ++i) {
            const char c = m_s[i];
            if (c == '\n' || (c == '\r' && (i + 1 >= m_s.size() || m_s[i + 1] != '\n'))) {
                ++line;
                column = 1;
            } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++column;
            }
        }
        throw PaletteError("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what);
    }

    bool atEnd() const { return m_pos >= m_s.size(); }
    bool startsWith(std::string_view lit) const { return m_s.substr(m_pos, lit.size()) == lit; }
    bool peek(char c) const { return m_pos < m_s.size() && m_s[m_pos] == c; }

    void expect(char c, const char* what)
    {
        if (!peek(c))
            fail(what);
        ++m_pos;
    }

    bool skipSpace()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_s.size() && isSpace(m_s[m_pos]))
            ++m_pos;
        return m_pos != start;
    }

    void requireSpace(const char* what)
    {
        if (!skipSpace())
            fail(what);
    }

    void checkCharacters() const
    {
        for (std::size_t i = 0; i < m_s.size();) {
            std::size_t len = 0;
            const char32_t c = decodeUtf8(m_s, i, len);
            if (c == InvalidCodePoint)
                failAt("invalid UTF-8", i);
            if (!isXmlChar(c))
                failAt("a character XML does not allow", i);
            i += len;
        }
    }

    std::string_view name()
    {
        const std::size_t start = m_pos;
        bool first = true;
        while (m_pos < m_s.size()) {
            std::size_t len = 0;
            const char32_t c = decodeUtf8(m_s, m_pos, len);
            if (first ? !isNameStartChar(c) : !isNameChar(c))
                break;
            first = false;
            m_pos += len;
        }
        if (first)
            fail("expected a name");
        return m_s.substr(start, m_pos - start);
    }

    // "&...;" at m_pos, in content or an attribute value.
    void reference()
    {
        const std::size_t start = m_pos++;
        if (peek('#')) {
            ++m_pos;
            const bool hex = peek('x');
            if (hex)
                ++m_pos;
            std::uint32_t value = 0;
            std::size_t digits = 0;
            while (m_pos < m_s.size()) {
                const char c = m_s[m_pos];
                std::uint32_t d = 0;
                if (c >= '0' && c <= '9')
                    d = static_cast<std::uint32_t>(c - '0');
                else if (hex && c >= 'a' && c <= 'f')
                    d = static_cast<std::uint32_t>(c - 'a' + 10);
                else if (hex && c >= 'A' && c <= 'F')
                    d = static_cast<std::uint32_t>(c - 'A' + 10);
                else
                    break;
                value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + d, 0x110000);
                ++digits;
                ++m_pos;
            }
            if (digits == 0 || !peek(';'))
                failAt("malformed character reference", start);
            ++m_pos;
            if (!isXmlChar(value))
                failAt("character reference to a character XML does not allow", start);
            return;
        }
        std::size_t len = 0;
        if (atEnd() || !isNameStartChar(decodeUtf8(m_s, m_pos, len)))
            failAt("a bare '&' (write it as &amp;)", start);
        const std::string_view entity = name();
        if (!peek(';'))
            failAt("malformed entity reference", start);
        ++m_pos;
        if (entity != "amp" && entity != "lt" && entity != "gt" && entity != "quot" && entity != "apos")
            failAt("reference to an unknown entity &" + std::string(entity) + ";", start);
    }

    void comment()
    {
        const std::size_t start = m_pos;
        m_pos += 4;
        const std::size_t dashes = m_s.find("--", m_pos);
        if (dashes == std::string_view::npos)
            failAt("unterminated comment", start);
        if (dashes + 2 >= m_s.size() || m_s[dashes + 2] != '>')
            failAt("'--' inside a comment", dashes);
        m_pos = dashes + 3;
    }

    void processingInstruction()
    {
        const std::size_t start = m_pos;
        m_pos += 2;
        const std::string_view target = name();
        if (upperAscii(target) == "XML")
            failAt("an XML declaration that is not at the very start", start);
        if (startsWith("?>")) {
            m_pos += 2;
            return;
        }
        requireSpace("malformed processing instruction");
        const std::size_t end = m_s.find("?>", m_pos);
        if (end == std::string_view::npos)
            failAt("unterminated processing instruction", start);
        m_pos = end + 2;
    }

    void xmlDeclaration()
    {
        const std::size_t start = m_pos;
        m_pos += 5;
        std::vector<std::pair<std::string_view, std::string_view>> items;
        for (;;) {
            const bool spaced = skipSpace();
            if (startsWith("?>")) {
                m_pos += 2;
                break;
            }
            if (!spaced || items.size() == 3)
                failAt("malformed XML declaration", start);
            const std::size_t nameStart = m_pos;
            while (m_pos < m_s.size() && m_s[m_pos] >= 'a' && m_s[m_pos] <= 'z')
                ++m_pos;
            const std::string_view key = m_s.substr(nameStart, m_pos - nameStart);
            skipSpace();
            if (!peek('='))
                failAt("malformed XML declaration", start);
            ++m_pos;
            skipSpace();
            if (!peek('"') && !peek('\''))
                failAt("malformed XML declaration", start);
            const char quote = m_s[m_pos++];
            const std::size_t close = m_s.find(quote, m_pos);
            if (close == std::string_view::npos)
                failAt("malformed XML declaration", start);
            items.emplace_back(key, m_s.substr(m_pos, close - m_pos));
            m_pos = close + 1;
        }
        auto allOf = [](std::string_view v, auto pred) { return std::all_of(v.begin(), v.end(), pred); };
        std::size_t i = 0;
        if (items.empty() || items[0].first != "version")
            failAt("the XML declaration must start with the version", start);
        const std::string_view version = items[0].second;
        if (version.size() < 3 || version.substr(0, 2) != "1." ||
            !allOf(version.substr(2), [](char c) { return c >= '0' && c <= '9'; }))
            failAt("unsupported XML version", start);
        ++i;
        if (i < items.size() && items[i].first == "encoding") {
            const std::string_view enc = items[i].second;
            const bool ok = !enc.empty() && ((enc[0] >= 'A' && enc[0] <= 'Z') || (enc[0] >= 'a' && enc[0] <= 'z')) &&
                            allOf(enc, [](char c) {
                                return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                       c == '.' || c == '_' || c == '-';
                            });
            if (!ok)
                failAt("malformed encoding name in the XML declaration", start);
            ++i;
        }
        if (i < items.size() && items[i].first == "standalone") {
            if (items[i].second != "yes" && items[i].second != "no")
                failAt("standalone must be yes or no", start);
            ++i;
        }
        if (i != items.size())
            failAt("malformed XML declaration", start);
    }

    void quotedLiteral(bool pubid)
    {
        if (!peek('"') && !peek('\''))
            fail("expected a quoted literal");
        const std::size_t start = m_pos;
        const char quote = m_s[m_pos++];
        const std::size_t close = m_s.find(quote, m_pos);
        if (close == std::string_view::npos)
            failAt("unterminated literal", start);
        if (pubid) {
            for (std::size_t i = m_pos; i < close; ++i)
                if (!isPubidChar(m_s[i]))
                    failAt("a character not allowed in a public identifier", i);
        }
        m_pos = close + 1;
    }

    void doctype()
    {
        const std::size_t start = m_pos;
        m_pos += 9;
        requireSpace("malformed document type declaration");
        name();
        bool spaced = skipSpace();
        if (spaced && startsWith("SYSTEM")) {
            m_pos += 6;
            requireSpace("malformed document type declaration");
            quotedLiteral(false);
            skipSpace();
        } else if (spaced && startsWith("PUBLIC")) {
            m_pos += 6;
            requireSpace("malformed document type declaration");
            quotedLiteral(true);
            requireSpace("malformed document type declaration");
            quotedLiteral(false);
            skipSpace();
        }
        if (peek('[')) {
            ++m_pos;
            internalSubset(start);
            ++m_pos; // the ']'
            skipSpace();
        }
        if (!peek('>'))
            failAt("malformed document type declaration", start);
        ++m_pos;
    }

    // Checked for its structure only; declarations are not interpreted.
    void internalSubset(std::size_t doctypeStart)
    {
        for (;;) {
            skipSpace();
            if (atEnd())
                failAt("unterminated document type declaration", doctypeStart);
            if (m_s[m_pos] == ']')
                return;
            if (m_s[m_pos] == '%') {
                ++m_pos;
                name();
                expect(';', "malformed parameter entity reference");
            } else if (startsWith("<!--")) {
                comment();
            } else if (startsWith("<?")) {
                processingInstruction();
            } else if (startsWith("<!ELEMENT") || startsWith("<!ATTLIST") || startsWith("<!ENTITY") ||
                       startsWith("<!NOTATION")) {
                markupDeclaration();
            } else {
                fail("unexpected content in the document type declaration");
            }
        }
    }

    void markupDeclaration()
    {
        const std::size_t start = m_pos;
        m_pos += 2;
        while (m_pos < m_s.size()) {
            const char c = m_s[m_pos];
            if (c == '"' || c == '\'') {
                const std::size_t close = m_s.find(c, m_pos + 1);
                if (close == std::string_view::npos)
                    failAt("unterminated literal", m_pos);
                m_pos = close + 1;
            } else if (c == '>') {
                ++m_pos;
                return;
            } else if (c == '<') {
                fail("'<' inside a markup declaration");
            } else {
                ++m_pos;
            }
        }
        failAt("unterminated markup declaration", start);
    }

    // A start tag at m_pos ('<'); returns its name and whether it was an empty-element tag.
    std::string_view startTag(bool& empty)
    {
        const std::size_t start = m_pos++;
        const std::string_view tag = name();
        m_attributes.clear();
        for (;;) {
            const bool spaced = skipSpace();
            if (atEnd())
                failAt("unterminated start tag", start);
            if (m_s[m_pos] == '>') {
                ++m_pos;
                empty = false;
                break;
            }
            if (startsWith("/>")) {
                m_pos += 2;
                empty = true;
                break;
            }
            if (!spaced)
                fail("expected whitespace before an attribute");
            const std::string_view attribute = name();
            skipSpace();
            expect('=', "expected '=' after an attribute name");
            skipSpace();
            if (!peek('"') && !peek('\''))
                fail("expected a quoted attribute value");
            const std::size_t valueStart = m_pos;
            const char quote = m_s[m_pos++];
            for (;;) {
                if (atEnd())
                    failAt("unterminated attribute value", valueStart);
                const char c = m_s[m_pos];
                if (c == quote) {
                    ++m_pos;
                    break;
                }
                if (c == '<')
                    fail("'<' in an attribute value");
                if (c == '&')
                    reference();
                else
                    ++m_pos;
            }
            m_attributes.push_back(attribute);
        }
        if (hasDuplicate(m_attributes))
            failAt("an attribute appears twice in one start tag", start);
        return tag;
    }

    static bool hasDuplicate(std::vector<std::string_view>& names)
    {
        if (names.size() <= 16) {
            for (std::size_t i = 0; i < names.size(); ++i)
                for (std::size_t j = i + 1; j < names.size(); ++j)
                    if (names[i] == names[j])
                        return true;
            return false;
        }
        std::sort(names.begin(), names.end());
        return std::adjacent_find(names.begin(), names.end()) != names.end();
    }

    void element()
    {
        bool empty = false;
        std::vector<std::string_view> open;
        open.push_back(startTag(empty));
        if (empty)
            return;
        while (!open.empty()) {
            if (atEnd())
                fail("the element <" + std::string(open.back()) + "> is not closed");
            const char c = m_s[m_pos];
            if (c == '<') {
                if (startsWith("</")) {
                    const std::size_t start = m_pos;
                    m_pos += 2;
                    const std::string_view tag = name();
                    skipSpace();
                    expect('>', "malformed end tag");
                    if (tag != open.back())
                        failAt("end tag </" + std::string(tag) + "> does not match <" + std::string(open.back()) + ">",
                               start);
                    open.pop_back();
                } else if (startsWith("<!--")) {
                    comment();
                } else if (startsWith("<![CDATA[")) {
                    const std::size_t end = m_s.find("]]>", m_pos + 9);
                    if (end == std::string_view::npos)
                        fail("unterminated CDATA section");
                    m_pos = end + 3;
                } else if (startsWith("<?")) {
                    processingInstruction();
                } else if (startsWith("<!")) {
                    fail("unexpected markup inside an element");
                } else {
                    if (open.size() >= m_maxDepth)
                        fail("elements nested deeper than " + std::to_string(m_maxDepth) + " levels");
                    const std::string_view tag = startTag(empty);
                    if (!empty)
                        open.push_back(tag);
                }
            } else if (c == '&') {
                reference();
            } else {
                while (m_pos < m_s.size() && m_s[m_pos] != '<' && m_s[m_pos] != '&') {
                    if (m_s[m_pos] == ']' && startsWith("]]>"))
                        fail("']]>' in text");
                    ++m_pos;
                }
            }
        }
    }

    std::string_view m_s;
    std::size_t m_pos = 0;
    std::size_t m_maxDepth;
    std::vector<std::string_view> m_attributes;
};

} // namespace

DecodedXml decodeXmlBytes(std::string_view bytes)
{
    auto starts = [&](std::initializer_list<unsigned> prefix) {
        if (bytes.size() < prefix.size())
            return false;
        std::size_t i = 0;
        for (unsigned b : prefix)
            if (byteAt(bytes, i++) != b)
                return false;
        return true;
    };
    if (starts({0xFF, 0xFE, 0x00, 0x00}))
        return {decodeUtf32(bytes, 4, true), XmlEncoding::Utf8};
    if (starts({0x00, 0x00, 0xFE, 0xFF}))
        return {decodeUtf32(bytes, 4, false), XmlEncoding::Utf8};
    if (starts({0xEF, 0xBB, 0xBF}))
        return {checkedUtf8(bytes, 3), XmlEncoding::Utf8};
    if (starts({0xFF, 0xFE}))
        return {decodeUtf16(bytes, 2, true), XmlEncoding::Utf16};
    if (starts({0xFE, 0xFF}))
        return {decodeUtf16(bytes, 2, false), XmlEncoding::Utf16};
    // Without a byte-order mark the first character, always '<' in a document, shows the width.
    if (starts({0x3C, 0x00, 0x00, 0x00}))
        return {decodeUtf32(bytes, 0, true), XmlEncoding::Utf8};
    if (starts({0x00, 0x00, 0x00, 0x3C}))
        return {decodeUtf32(bytes, 0, false), XmlEncoding::Utf8};
    if (starts({0x3C, 0x00}))
        return {decodeUtf16(bytes, 0, true), XmlEncoding::Utf16};
    if (starts({0x00, 0x3C}))
        return {decodeUtf16(bytes, 0, false), XmlEncoding::Utf16};

    const std::optional<std::string_view> declared = declaredEncoding(bytes);
    if (!declared)
        return {checkedUtf8(bytes, 0), XmlEncoding::Utf8};
    const std::string enc = upperAscii(*declared);
    if (enc == "UTF-8" || enc == "UTF8" || enc == "US-ASCII" || enc == "ASCII")
        return {checkedUtf8(bytes, 0), XmlEncoding::Utf8};
    if (enc == "ISO-8859-1" || enc == "ISO8859-1" || enc == "ISO_8859-1" || enc == "LATIN1" || enc == "LATIN-1" ||
        enc == "L1")
        return {decodeSingleByte(bytes, false), XmlEncoding::Utf8};
    if (enc == "WINDOWS-1252" || enc == "CP1252")
        return {decodeSingleByte(bytes, true), XmlEncoding::Utf8};
    if (enc.starts_with("UTF-16") || enc.starts_with("UTF-32") || enc.starts_with("UCS"))
        throw PaletteError("the file declares " + std::string(*declared) + " but is not stored in it");
    throw PaletteError("unsupported encoding " + std::string(*declared));
}

void normalizeLineEnds(std::string& text)
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            text[out++] = '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

void checkWellFormed(std::string_view utf8, std::size_t maxDepth)
{
    WellFormednessChecker(utf8, maxDepth).run();
}

bool isXmlName(std::string_view name)
{
    if (name.empty())
        return false;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t len = 0;
        const char32_t c = decodeUtf8(name, i, len);
        if (c == InvalidCodePoint || (i == 0 ? !isNameStartChar(c) : !isNameChar(c)))
            return false;
        i += len;
    }
    return true;
}

std::string sanitizeXmlText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = 0;
        const char32_t c = decodeUtf8(text, i, len);
        if (c == InvalidCodePoint)
            appendUtf8(out, 0xFFFD);
        else if (isXmlChar(c))
            out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

std::string utf8ToUtf16LE(std::string_view utf8)
{
    std::string out;
    out.reserve(2 + utf8.size() * 2);
    out += '\xFF';
    out += '\xFE';
    auto unit = [&](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t len = 0;
        char32_t c = decodeUtf8(utf8, i, len);
        if (c == InvalidCodePoint)
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            unit(0xD800 + (c >> 10));
            unit(0xDC00 + (c & 0x3FF));
        } else {
            unit(c);
        }
        i += len;
    }
    return out;
}

} // namespace tintara
