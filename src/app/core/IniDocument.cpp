#include "app/core/IniDocument.h"

#include "app/core/IntegerText.h"

#include <charconv>

namespace tintara {

namespace {

// Control characters count as blanks, as they do for the settings file's traditional readers.
bool isBlank(char ch)
{
    return static_cast<unsigned char>(ch) <= ' ';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char asciiLower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

// Name and value of a stored line; a line without "=" has no name and never matches a key.
bool splitEntry(std::string_view line, std::string_view& name, std::string_view& value)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

} // namespace

void IniDocument::parse(std::string_view text)
{
    m_sections.clear();
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom)
        text.remove_prefix(bom.size());

    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        const std::string_view raw =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (end == std::string_view::npos)
            pos = text.size();
        else
            pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);

        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            m_sections.push_back(Section{std::string(trimmed(line.substr(1, line.size() - 2))), {}});
            current = &m_sections.back();
            continue;
        }
        if (!current)
            continue;
        std::string_view name;
        std::string_view value;
        if (splitEntry(line, name, value)) {
            std::string entry(trimmed(name));
            entry += '=';
            entry += trimmed(value);
            current->lines.push_back(std::move(entry));
        } else {
            current->lines.emplace_back(line);
        }
    }
}

std::string IniDocument::text() const
{
    std::string out;
    for (const auto& section : m_sections) {
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const auto& line : section.lines) {
            out += line;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

IniDocument::Section* IniDocument::findSection(std::string_view name)
{
    for (auto& section : m_sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const
{
    for (const auto& section : m_sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

std::optional<std::string_view> IniDocument::readString(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    for (const auto& line : s->lines) {
        std::string_view name;
        std::string_view value;
        if (splitEntry(line, name, value) && sameName(name, key))
            return value;
    }
    return std::nullopt;
}

std::int32_t IniDocument::readInteger(std::string_view section, std::string_view key, std::int32_t fallback) const
{
    const auto value = readString(section, key);
    if (!value)
        return fallback;
    const std::string_view v = *value;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        const auto hex = parseHexUInt32(v.substr(2));
        return hex ? static_cast<std::int32_t>(*hex) : fallback;
    }
    return parseInt32(v).value_or(fallback);
}

bool IniDocument::readBool(std::string_view section, std::string_view key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniDocument::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    Section* s = findSection(section);
    if (!s) {
        m_sections.push_back(Section{std::string(section), {}});
        s = &m_sections.back();
    }
    std::string entry(key);
    entry += '=';
    entry += value;
    for (auto& line : s->lines) {
        std::string_view name;
        std::string_view old;
        if (splitEntry(line, name, old) && sameName(name, key)) {
            line = std::move(entry);
            return;
        }
    }
    s->lines.push_back(std::move(entry));
}

void IniDocument::writeInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    writeString(section, key, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void IniDocument::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

} // namespace tintara
