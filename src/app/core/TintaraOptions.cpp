#include "app/core/TintaraOptions.h"

#include "app/core/AtomicFile.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace tintara {

namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::array<std::string_view, TTintaraOptions::PanelCount> kPanelSections = {"Panel1", "Panel2", "Panel3",
                                                                                      "Panel4", "Panel5"};
constexpr std::string_view kClosed = "Closed";

std::string readWholeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    // Only a regular file: a folder or a FIFO of that name must not hang or fail start-up.
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return {};
    return text;
}

} // namespace

TTintaraOptions::TTintaraOptions(std::filesystem::path fileName) : m_fileName(std::move(fileName))
{
    try {
        m_ini.parse(readWholeFile(m_fileName));
    } catch (const std::exception&) {
        m_ini = IniDocument(); // unreadable settings start from the defaults, like a missing file
    }
    readFields();
}

TTintaraOptions::TTintaraOptions(FromText, std::string_view text, std::filesystem::path fileName)
    : m_fileName(std::move(fileName))
{
    m_ini.parse(text);
    readFields();
}

TTintaraOptions TTintaraOptions::fromText(std::string_view text, std::filesystem::path fileName)
{
    return TTintaraOptions(FromText{}, text, std::move(fileName));
}

void TTintaraOptions::readFields()
{
    X = m_ini.readInteger(kOptions, "X", 200);
    Y = m_ini.readInteger(kOptions, "Y", 150);
    XOffset = m_ini.readInteger(kOptions, "XOffset", 0);
    YOffset = m_ini.readInteger(kOptions, "YOffset", 0);
    Width = m_ini.readInteger(kOptions, "Width", 295);
    Height = m_ini.readInteger(kOptions, "Height", 595);
    FirstRun = m_ini.readBool(kOptions, "FirstRun", false);
    Is4K = m_ini.readBool(kOptions, "Is4K", false);
    for (std::size_t i = 0; i < Closed.size(); ++i)
        Closed[i] = m_ini.readBool(kPanelSections[i], kClosed, false);
}

void TTintaraOptions::storeFields()
{
    m_ini.writeInteger(kOptions, "X", X);
    m_ini.writeInteger(kOptions, "Y", Y);
    m_ini.writeInteger(kOptions, "XOffset", XOffset);
    m_ini.writeInteger(kOptions, "YOffset", YOffset);
    m_ini.writeInteger(kOptions, "Width", Width);
    m_ini.writeInteger(kOptions, "Height", Height);
    m_ini.writeBool(kOptions, "FirstRun", FirstRun);
    m_ini.writeBool(kOptions, "Is4K", Is4K);
    for (std::size_t i = 0; i < Closed.size(); ++i)
        m_ini.writeBool(kPanelSections[i], kClosed, Closed[i]);
}

bool TTintaraOptions::save(std::string* error)
{
    try {
        storeFields();
        return writeFileAtomically(m_fileName, m_ini.text(), error);
    } catch (...) {
        return false; // out of memory while rendering: the old file stays as it was
    }
}

} // namespace tintara
