#pragma once
// The in-memory copy of an INI-style settings file: every section with its lines, in file order.
// Reading normalises the text (trimmed lines, no comments or blank lines, no spaces around the
// first "="), lookups ignore the case of section and key names, and rendering writes each section
// as "[Name]", its lines and one empty line, every line ending in CR LF.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintara {

class IniDocument {
public:
    struct Section {
        std::string name;
        // "key=value" entries, or lines without "=" kept exactly as read (after trimming).
        std::vector<std::string> lines;
    };

    IniDocument() = default;

    // Replaces the contents by the sections parsed from `text`. Line ends may be CR LF, LF or a
    // lone CR; a leading UTF-8 byte order mark is skipped; lines before the first section are lost.
    void parse(std::string_view text);

    // The file as saving writes it.
    std::string text() const;

    const std::vector<Section>& sections() const { return m_sections; }

    // The value of the first entry named `key` in the first section named `section`.
    std::optional<std::string_view> readString(std::string_view section, std::string_view key) const;

    // Decimal with an optional sign, or "0x"/"0X" followed by hexadecimal digits (a 32-bit pattern,
    // so 0xFFFFFFFF is -1). Missing keys and anything else give `fallback`.
    std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;

    // An integer read with the fallback 1 or 0; any non-zero value is true.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the first entry named `key` in place (written with this spelling of the key), or
    // adds it at the end of the section; a missing section is added at the end of the document.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);

private:
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Section> m_sections;
};

} // namespace tintara
