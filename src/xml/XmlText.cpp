#include "xml/XmlText.h"

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

} // namespace

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
