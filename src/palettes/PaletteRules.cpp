#include "palettes/PaletteRules.h"

#include "colormodel/HTMLColors.h"

#include <algorithm>

namespace tintara {

namespace {

constexpr std::string_view PaletteTag = "Palette";
constexpr std::string_view NameAttribute = "name";
constexpr std::string_view ColorTag = "Color";
constexpr std::string_view ColorAttribute = "COLOR";

std::string nameOf(XmlNode palette)
{
    std::optional<std::string> name = palette.attribute(NameAttribute);
    if (!name)
        throw PaletteError("a Palette element has no name attribute");
    return *std::move(name);
}

bool isAncestor(XmlNode ancestor, XmlNode node)
{
    for (XmlNode p = node.parent(); p; p = p.parent())
        if (p == ancestor)
            return true;
    return false;
}

} // namespace

std::optional<TColor> ColorFromPaletteValue(std::string_view value)
{
    if (value.empty())
        return std::nullopt;
    // The first character is skipped whole, however many bytes it takes. Any byte of a later
    // multi-byte character is no hex digit, so counting bytes from there on is counting characters.
    std::size_t first = 1;
    while (first < value.size() && (static_cast<unsigned char>(value[first]) & 0xC0) == 0x80)
        ++first;
    const std::string_view pairs = value.substr(first, 6);
    auto pair = [&](std::size_t at) { return at < pairs.size() ? pairs.substr(at, 2) : std::string_view(); };
    const std::string_view blue = pair(4);
    const std::string_view green = pair(2);
    const std::string_view red = pair(0);
    if (pairs.empty())
        return std::nullopt;
    TColor color = 0;
    for (std::string_view part : {blue, green, red}) {
        for (char c : part) {
            const int d = hexDigitValue(c);
            if (d < 0)
                return std::nullopt;
            color = (color << 4) | static_cast<TColor>(d);
        }
    }
    return color;
}

std::string PaletteValueFromColor(TColor c)
{
    std::string out(7, '#');
    ColorToHexChars(c, out.data() + 1);
    return out;
}

std::string paletteNameFromInput(std::string_view text)
{
    std::string withoutAmpersands;
    withoutAmpersands.reserve(text.size());
    for (char c : text)
        if (c != '&')
            withoutAmpersands += c;
    return XmlNode::attributeValue(withoutAmpersands);
}

std::vector<std::string> paletteNames(const PaletteDocument& doc)
{
    std::vector<std::string> names;
    for (XmlNode palette : doc.root().getElementsByTagName(PaletteTag))
        names.push_back(nameOf(palette));
    return names;
}

PaletteLoadResult loadPalette(const PaletteDocument& doc, std::string_view selectedName)
{
    PaletteLoadResult result;
    for (XmlNode palette : doc.root().getElementsByTagName(PaletteTag)) {
        const std::optional<std::string> name = palette.attribute(NameAttribute);
        if (!name) {
            result.currentChip = 1;
            result.error = "a Palette element has no name attribute";
            return result;
        }
        if (*name != selectedName)
            continue;
        int k = 0;
        for (XmlNode child = palette.firstChild(); child && k < PaletteChipCount; child = child.nextSibling()) {
            if (!child.isElement())
                continue;
            const std::optional<std::string> value = child.attribute(ColorAttribute);
            if (!value)
                continue;
            ++k;
            const std::optional<TColor> color = ColorFromPaletteValue(*value);
            if (!color) {
                result.currentChip = k;
                result.error = "colour " + std::to_string(k) + " of the palette \"" + *name + "\", \"" + *value +
                               "\", cannot be read";
                return result;
            }
            result.colors.push_back({k, *color});
        }
        result.currentChip = 1;
    }
    return result;
}

void storeColors(PaletteDocument& doc, std::string_view selectedName, std::span<const TColor> lockedColors)
{
    const std::vector<XmlNode> palettes = doc.root().getElementsByTagName(PaletteTag);
    // Clearing a palette frees the palettes inside it; those later entries must not be touched.
    std::vector<bool> gone(palettes.size(), false);
    std::vector<bool> named(palettes.size());
    std::transform(palettes.begin(), palettes.end(), named.begin(),
                   [](XmlNode p) { return p.attribute(NameAttribute).has_value(); });
    for (std::size_t i = 0; i < palettes.size(); ++i) {
        if (!named[i])
            throw PaletteError("a Palette element has no name attribute");
        if (gone[i] || nameOf(palettes[i]) != selectedName)
            continue;
        const XmlNode palette = palettes[i];
        for (std::size_t j = i + 1; j < palettes.size() && isAncestor(palette, palettes[j]); ++j)
            gone[j] = true;
        for (std::vector<XmlNode> children = palette.childNodes(); !children.empty(); children.pop_back())
            palette.removeChild(children.back());
        for (TColor c : lockedColors) {
            if (c == clNone)
                continue;
            palette.appendElement(ColorTag).setAttribute(ColorAttribute, PaletteValueFromColor(c));
        }
    }
}

std::string newPalette(PaletteDocument& doc, std::string_view text)
{
    std::string name = paletteNameFromInput(text);
    doc.root().appendElement(PaletteTag).setAttribute(NameAttribute, name);
    return name;
}

std::string renamePalettes(PaletteDocument& doc, std::string_view oldName, std::string_view newText)
{
    std::string name = paletteNameFromInput(newText);
    for (XmlNode palette : doc.root().getElementsByTagName(PaletteTag))
        if (nameOf(palette) == oldName)
            palette.setAttribute(NameAttribute, name);
    return name;
}

void deletePalettes(PaletteDocument& doc, std::string_view name)
{
    const XmlNode root = doc.root();
    const std::vector<XmlNode> palettes = root.getElementsByTagName(PaletteTag);
    for (std::size_t i = palettes.size(); i-- > 0;) {
        if (nameOf(palettes[i]) != name)
            continue;
        if (palettes[i].parent() != root)
            throw PaletteError("the palette \"" + std::string(name) +
                               "\" is not a direct child of the root element and cannot be deleted");
        root.removeChild(palettes[i]);
    }
}

} // namespace tintara
