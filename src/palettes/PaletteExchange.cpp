#include "palettes/PaletteExchange.h"

#include "colormodel/HTMLColors.h"
#include "palettes/PaletteRules.h"
#include "xml/XmlText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tintara {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kGplHeader = "GIMP Palette";
constexpr std::string_view kAseSignature = "ASEF";
constexpr std::uint16_t kAseGroupStart = 0xC001;
constexpr std::uint16_t kAseGroupEnd = 0xC002;
constexpr std::uint16_t kAseColorEntry = 0x0001;
constexpr std::uint16_t kAseNormalColor = 2;
// Excerpts of a bad line in a message stay short enough for a message box.
constexpr std::size_t kExcerptBytes = 40;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (isSpace(s.front()) || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (isSpace(s.back()) || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (asciiLower(s[i]) != asciiLower(prefix[i]))
            return false;
    return true;
}

// Lines split at LF, CR LF or a lone CR, without a leading byte-order mark.
std::vector<std::string_view> splitLines(std::string_view text)
{
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A bad line quoted in a message: short, on one line, cut between characters.
std::string excerpt(std::string_view line)
{
    std::string out;
    std::size_t n = std::min(line.size(), kExcerptBytes);
    while (n < line.size() && n > 0 && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80)
        --n;
    for (char c : line.substr(0, n))
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    if (n < line.size())
        out += "...";
    return out;
}

std::string lineError(std::size_t lineNumber, std::string_view what, std::string_view line)
{
    return "line " + std::to_string(lineNumber) + " is not " + std::string(what) + ": \"" + excerpt(line) + "\"";
}

// Control characters would end a line of a text format early.
std::string oneLine(std::string_view text)
{
    std::string out;
    for (char c : text)
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    return out;
}

std::string hexText(TColor c)
{
    return PaletteValueFromColor(c);
}

std::string stemOf(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    if (slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0)
        fileName = fileName.substr(0, dot);
    return std::string(fileName);
}

// --- GIMP ---------------------------------------------------------------------------------------

// One colour component of a GIMP line: digits with an optional sign, clamped to 0..255 as GIMP does.
std::optional<int> gplComponent(std::string_view& rest)
{
    while (!rest.empty() && isSpace(rest.front()))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty() || rest.front() < '0' || rest.front() > '9')
        return std::nullopt;
    int value = 0;
    while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
        value = std::min(value * 10 + (rest.front() - '0'), 1000);
        rest.remove_prefix(1);
    }
    if (!rest.empty() && !isSpace(rest.front()))
        return std::nullopt; // "12abc" or "1.5"
    return negative ? 0 : std::min(value, 255);
}

// --- ASE ----------------------------------------------------------------------------------------

class BigEndianReader {
public:
    explicit BigEndianReader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t left() const { return bytes_.size() - pos_; }
    bool has(std::size_t n) const { return left() >= n; }
    std::uint16_t u16()
    {
        const std::uint16_t v = static_cast<std::uint16_t>((byte(0) << 8) | byte(1));
        pos_ += 2;
        return v;
    }
    std::uint32_t u32()
    {
        const std::uint32_t v = (static_cast<std::uint32_t>(byte(0)) << 24) |
                                (static_cast<std::uint32_t>(byte(1)) << 16) |
                                (static_cast<std::uint32_t>(byte(2)) << 8) | static_cast<std::uint32_t>(byte(3));
        pos_ += 4;
        return v;
    }
    float f32() { return std::bit_cast<float>(u32()); }
    std::string_view take(std::size_t n)
    {
        const std::string_view s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }

private:
    unsigned byte(std::size_t i) const { return static_cast<unsigned char>(bytes_[pos_ + i]); }
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// UTF-16 big endian to UTF-8; a lone surrogate becomes U+FFFD, the name ends at its first NUL.
std::string utf8FromUtf16Be(std::string_view bytes)
{
    std::string out;
    BigEndianReader in(bytes);
    while (in.has(2)) {
        std::uint32_t unit = in.u16();
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF && in.has(2)) {
            BigEndianReader peek = in;
            const std::uint32_t low = peek.u16();
            if (low >= 0xDC00 && low <= 0xDFFF) {
                in = peek;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            unit = 0xFFFD;
        appendUtf8(out, static_cast<char32_t>(unit));
    }
    return out;
}

// UTF-8 to UTF-16 code units; a byte that starts no valid sequence becomes U+FFFD.
std::vector<std::uint16_t> utf16FromUtf8(std::string_view s)
{
    std::vector<std::uint16_t> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t len = 1;
        std::size_t need = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 9;
        if (need == 0) {
            cp = b;
        } else if (need <= 3 && i + need < s.size()) {
            std::uint32_t v = b & (0x3F >> need);
            bool ok = true;
            for (std::size_t k = 1; ok && k <= need; ++k) {
                const unsigned char c = static_cast<unsigned char>(s[i + k]);
                ok = (c & 0xC0) == 0x80;
                v = (v << 6) | (c & 0x3F);
            }
            static constexpr std::array<std::uint32_t, 4> kMin{0, 0x80, 0x800, 0x10000};
            if (ok && v >= kMin[need] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                cp = v;
                len = need + 1;
            }
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    return out;
}

void putU16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

void putU32(std::string& out, std::uint32_t v)
{
    putU16(out, v >> 16);
    putU16(out, v & 0xFFFF);
}

// A block name: its length in UTF-16 units with the terminating NUL, the units, the NUL.
std::string aseName(std::string_view utf8)
{
    std::vector<std::uint16_t> units = utf16FromUtf8(utf8);
    if (units.size() > 0xFFFE)
        units.resize(0xFFFE);
    std::string out;
    putU16(out, static_cast<std::uint32_t>(units.size() + 1));
    for (std::uint16_t u : units)
        putU16(out, u);
    putU16(out, 0);
    return out;
}

void putBlock(std::string& out, std::uint16_t type, const std::string& body)
{
    putU16(out, type);
    putU32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
}

// A component in 0..1 as a byte; what lies outside (or is no number) is clamped.
int byteFromUnit(float v)
{
    if (!(v > 0.0F))
        return 0;
    if (v >= 1.0F)
        return 255;
    return static_cast<int>(std::lround(static_cast<double>(v) * 255.0));
}

std::string countedNote(std::size_t n, std::string_view one, std::string_view many, std::string_view why)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many) + (n == 1 ? " was" : " were") +
           " skipped: " + std::string(why);
}

} // namespace

std::optional<PaletteFormat> formatFromFileName(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    if (slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string ext;
    for (char c : fileName.substr(dot))
        ext += asciiLower(c);
    if (ext == ".gpl")
        return PaletteFormat::Gpl;
    if (ext == ".ase")
        return PaletteFormat::Ase;
    if (ext == ".css")
        return PaletteFormat::Css;
    if (ext == ".txt" || ext == ".hex")
        return PaletteFormat::HexList;
    return std::nullopt;
}

std::string_view extensionOf(PaletteFormat format)
{
    switch (format) {
    case PaletteFormat::Gpl:
        return ".gpl";
    case PaletteFormat::Ase:
        return ".ase";
    case PaletteFormat::Css:
        return ".css";
    case PaletteFormat::HexList:
        return ".txt";
    }
    return ".txt";
}

std::string writeGpl(const ExchangePalette& palette)
{
    std::string out;
    out += kGplHeader;
    out += "\nName: " + oneLine(palette.name) + "\n";
    // The chips stand in two rows of eight.
    out += "Columns: 8\n#\n";
    for (TColor c : palette.colors) {
        char line[32];
        std::snprintf(line, sizeof line, "%3d %3d %3d\t", redOf(c), greenOf(c), blueOf(c));
        out += line;
        out += hexText(c) + "\n";
    }
    return out;
}

std::string writeAse(const ExchangePalette& palette)
{
    std::string out(kAseSignature);
    putU16(out, 1);
    putU16(out, 0);
    putU32(out, static_cast<std::uint32_t>(palette.colors.size() + 2));
    putBlock(out, kAseGroupStart, aseName(palette.name));
    for (TColor c : palette.colors) {
        std::string body = aseName(hexText(c));
        body += "RGB ";
        for (int component : {redOf(c), greenOf(c), blueOf(c)})
            putU32(body, std::bit_cast<std::uint32_t>(static_cast<float>(component) / 255.0F));
        putU16(body, kAseNormalColor);
        putBlock(out, kAseColorEntry, body);
    }
    putBlock(out, kAseGroupEnd, {});
    return out;
}

std::string cssIdentifier(std::string_view name)
{
    std::string out;
    bool dash = false;
    for (char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const bool keep =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
        if (keep) {
            if (dash && !out.empty())
                out += '-';
            dash = false;
            out += asciiLower(ch);
        } else {
            dash = true;
        }
    }
    return out.empty() ? std::string("palette") : out;
}

std::string writeCss(const ExchangePalette& palette)
{
    const std::string id = cssIdentifier(palette.name);
    std::string out = ":root {\n";
    for (std::size_t i = 0; i < palette.colors.size(); ++i)
        out += "  --" + id + "-" + std::to_string(i + 1) + ": " + hexText(palette.colors[i]) + ";\n";
    out += "}\n";
    return out;
}

std::string writeHexList(const ExchangePalette& palette)
{
    std::string out;
    for (TColor c : palette.colors)
        out += hexText(c) + "\n";
    return out;
}

std::string writePalette(PaletteFormat format, const ExchangePalette& palette)
{
    switch (format) {
    case PaletteFormat::Gpl:
        return writeGpl(palette);
    case PaletteFormat::Ase:
        return writeAse(palette);
    case PaletteFormat::Css:
        return writeCss(palette);
    case PaletteFormat::HexList:
        return writeHexList(palette);
    }
    return writeHexList(palette);
}

ExchangePalette readGpl(std::string_view bytes)
{
    const std::vector<std::string_view> lines = splitLines(bytes);
    if (lines.empty() || trim(lines.front()) != kGplHeader)
        throw ExchangeError("it is not a GIMP palette: the first line is not \"GIMP Palette\"");
    ExchangePalette palette;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (line.empty() || line.front() == '#')
            continue;
        if (startsWithNoCase(line, "Name:")) {
            palette.name = std::string(trim(line.substr(5)));
            continue;
        }
        std::string_view rest = line;
        const std::optional<int> r = gplComponent(rest);
        const std::optional<int> g = r ? gplComponent(rest) : std::nullopt;
        const std::optional<int> b = g ? gplComponent(rest) : std::nullopt;
        if (!b) {
            // Header lines such as "Columns: 8", and the keys newer writers add.
            const std::size_t colon = line.find(':');
            const bool header =
                colon != std::string_view::npos && colon > 0 &&
                std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
                    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
                });
            if (header)
                continue;
            throw ExchangeError(lineError(i + 1, "a colour", lines[i]));
        }
        palette.colors.push_back(rgbColor(*r, *g, *b));
    }
    return palette;
}

ExchangePalette readAse(std::string_view bytes)
{
    BigEndianReader in(bytes);
    if (!in.has(12) || in.take(4) != kAseSignature)
        throw ExchangeError("it is not an Adobe Swatch Exchange file: the \"ASEF\" signature is missing");
    const std::uint16_t major = in.u16();
    const std::uint16_t minor = in.u16();
    if (major != 1)
        throw ExchangeError("Adobe Swatch Exchange version " + std::to_string(major) + "." + std::to_string(minor) +
                            " is not supported");
    const std::uint32_t blockCount = in.u32();

    ExchangePalette palette;
    bool namedByGroup = false;
    std::size_t lab = 0;
    std::size_t unknown = 0;
    // The count is only trusted as far as the file goes: each block takes at least six bytes, so the
    // loop is bounded by the file's size whatever the count says.
    for (std::uint32_t block = 1; block <= blockCount && in.left() > 0; ++block) {
        const std::string where = "block " + std::to_string(block);
        if (!in.has(6))
            throw ExchangeError("the file ends inside " + where);
        const std::uint16_t type = in.u16();
        const std::uint32_t length = in.u32();
        if (!in.has(length))
            throw ExchangeError(where + " claims " + std::to_string(length) + " bytes, but only " +
                                std::to_string(in.left()) + " follow");
        BigEndianReader body(in.take(length));
        if (type != kAseGroupStart && type != kAseColorEntry)
            continue; // group ends and blocks of later versions carry nothing we keep
        if (!body.has(2))
            throw ExchangeError(where + " is too short for its name");
        const std::size_t units = body.u16();
        if (!body.has(units * 2))
            throw ExchangeError(where + " is too short for its name");
        const std::string name = utf8FromUtf16Be(body.take(units * 2));
        if (type == kAseGroupStart) {
            if (!namedByGroup && !name.empty()) {
                palette.name = name;
                namedByGroup = true;
            }
            continue;
        }
        if (!body.has(4))
            throw ExchangeError("the colour in " + where + " has no colour model");
        std::string model(body.take(4));
        for (char& c : model)
            c = asciiLower(c);
        const std::size_t components = model == "rgb " || model == "lab " ? 3
                                       : model == "cmyk"                  ? 4
                                       : model == "gray"                  ? 1
                                                                          : 0;
        if (components == 0) {
            ++unknown;
            continue;
        }
        if (!body.has(components * 4))
            throw ExchangeError("the colour in " + where + " is too short for its values");
        std::array<float, 4> v{};
        for (std::size_t k = 0; k < components; ++k)
            v[k] = body.f32();
        // The colour type (global, spot, normal) that follows does not change the colour.
        if (model == "lab ") {
            ++lab;
        } else if (model == "rgb ") {
            palette.colors.push_back(rgbColor(byteFromUnit(v[0]), byteFromUnit(v[1]), byteFromUnit(v[2])));
        } else if (model == "gray") {
            const int g = byteFromUnit(v[0]);
            palette.colors.push_back(rgbColor(g, g, g));
        } else {
            auto channel = [&](float ink) {
                const float c = std::clamp(std::isnan(ink) ? 0.0F : ink, 0.0F, 1.0F);
                const float k = std::clamp(std::isnan(v[3]) ? 0.0F : v[3], 0.0F, 1.0F);
                return byteFromUnit((1.0F - c) * (1.0F - k));
            };
            palette.colors.push_back(rgbColor(channel(v[0]), channel(v[1]), channel(v[2])));
        }
    }
    if (lab > 0)
        palette.notes.push_back(countedNote(lab, "Lab swatch", "Lab swatches", "Lab colours are not converted"));
    if (unknown > 0)
        palette.notes.push_back(countedNote(unknown, "swatch of an unknown colour model",
                                            "swatches of unknown colour models", "they have no RGB form"));
    return palette;
}

ExchangePalette readHexList(std::string_view bytes)
{
    const std::vector<std::string_view> lines = splitLines(bytes);
    ExchangePalette palette;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = trim(lines[i]);
        if (line.empty() || line.starts_with("//") || line.starts_with(";") || line == "#" || line.starts_with("# "))
            continue;
        if (line.front() == '#')
            line.remove_prefix(1);
        std::size_t digits = 0;
        while (digits < line.size() && hexDigitValue(line[digits]) >= 0)
            ++digits;
        const bool ends = digits == line.size() || isSpace(line[digits]) || line[digits] == ',' || line[digits] == ';';
        if (!ends || (digits != 6 && digits != 3))
            throw ExchangeError(lineError(i + 1, "a #RRGGBB colour", lines[i]));
        auto component = [&](std::size_t k) {
            if (digits == 3)
                return hexDigitValue(line[k]) * 17;
            return hexDigitValue(line[2 * k]) * 16 + hexDigitValue(line[2 * k + 1]);
        };
        palette.colors.push_back(rgbColor(component(0), component(1), component(2)));
    }
    if (palette.colors.empty())
        throw ExchangeError("it holds no colours");
    return palette;
}

ExchangePalette readPaletteFile(std::string_view fileName, std::string_view bytes)
{
    std::string_view text = bytes;
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    const std::optional<PaletteFormat> byName = formatFromFileName(fileName);
    const bool aseSigned = bytes.starts_with(kAseSignature);
    const bool gplHeaded = trim(text.substr(0, text.find_first_of("\r\n"))) == kGplHeader;
    ExchangePalette palette;
    if (aseSigned || (!gplHeaded && byName == PaletteFormat::Ase)) {
        palette = readAse(bytes);
    } else if (gplHeaded || byName == PaletteFormat::Gpl) {
        palette = readGpl(bytes);
    } else if (byName == PaletteFormat::HexList) {
        palette = readHexList(bytes);
    } else if (byName == PaletteFormat::Css) {
        throw ExchangeError("CSS files are written, not read: import a .gpl, .ase, .txt or .hex file");
    } else {
        throw ExchangeError("it is not a palette file this program reads (GIMP .gpl, Adobe Swatch Exchange .ase, "
                            "or #RRGGBB lines in .txt or .hex)");
    }
    if (trim(palette.name).empty())
        palette.name = stemOf(fileName);
    return palette;
}

std::string uniquePaletteName(const std::vector<std::string>& existing, std::string_view wanted)
{
    auto taken = [&](const std::string& name) {
        return std::find(existing.begin(), existing.end(), name) != existing.end();
    };
    std::string name(wanted);
    for (std::size_t n = 2; taken(name); ++n)
        name = std::string(wanted) + " (" + std::to_string(n) + ")";
    return name;
}

ImportedPalette addImportedPalette(PaletteDocument& doc, const ExchangePalette& palette)
{
    ImportedPalette result;
    std::string wanted = paletteNameFromInput(trim(palette.name));
    if (trim(wanted).empty())
        wanted = "Imported";
    result.name = uniquePaletteName(paletteNames(doc), wanted);
    result.kept = std::min<std::size_t>(palette.colors.size(), PaletteChipCount);
    result.dropped = palette.colors.size() - result.kept;
    newPalette(doc, result.name);
    storeColors(doc, result.name, std::span<const TColor>(palette.colors.data(), result.kept));
    return result;
}

std::vector<TColor> exportedColors(const PaletteDocument& doc, std::string_view name)
{
    const PaletteLoadResult loaded = loadPalette(doc, name);
    if (!loaded.ok())
        throw ExchangeError("the palette cannot be read: " + *loaded.error);
    // Loading fills chips; a second palette of the same name overwrites the chips it reaches.
    std::array<std::optional<TColor>, PaletteChipCount> chips{};
    for (const PaletteChipColor& c : loaded.colors)
        chips[static_cast<std::size_t>(c.chip - 1)] = c.color;
    std::vector<TColor> colors;
    for (const std::optional<TColor>& c : chips)
        if (c)
            colors.push_back(*c);
    return colors;
}

ExportTarget exportTarget(std::string_view path, PaletteFormat filterFormat)
{
    ExportTarget target{std::string(path), filterFormat};
    if (const std::optional<PaletteFormat> byName = formatFromFileName(path)) {
        target.format = *byName;
        return target;
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (file.find('.') == std::string_view::npos || file.find_last_of('.') == 0)
        target.path += extensionOf(filterFormat);
    return target;
}

} // namespace tintara
