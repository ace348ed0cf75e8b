#pragma once
// Tintara's settings: the window's place and size, the collapsed panels, the 4K flag, the sampling
// offsets and the first-run flag, kept in "Tintara.ini". The whole file is read once at start-up
// and written back whole at close; sections and keys this program does not know survive.
#include "app/core/IniDocument.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tintara {

class TTintaraOptions {
public:
    static constexpr int PanelCount = 5; // Palettes, Chips, Color, Mixer, Magnify: sections Panel1..Panel5

    // Loads the file into the in-memory copy and reads every field. A missing or unreadable file
    // gives an empty copy, so every field takes its default.
    explicit TTintaraOptions(std::filesystem::path fileName);

    // The same, reading `text` as the file's content instead of the file itself; saving still goes
    // to `fileName`.
    static TTintaraOptions fromText(std::string_view text, std::filesystem::path fileName = {});

    const std::filesystem::path& FileName() const { return m_fileName; }

    // Writes every field into the in-memory copy, then replaces the file by the copy (atomically).
    // A failure leaves the old file untouched and is only reported through the result and `error`;
    // it never throws.
    bool save(std::string* error = nullptr);

    // Writes every field into the in-memory copy, in the order of the key table.
    void storeFields();

    // The file as save() writes it, from the copy as it stands (call storeFields() first to include
    // the fields).
    std::string fileText() const { return m_ini.text(); }

    const IniDocument& document() const { return m_ini; }

    std::int32_t X = 200;
    std::int32_t Y = 150;
    std::int32_t XOffset = 0;
    std::int32_t YOffset = 0;
    std::int32_t Width = 295;
    std::int32_t Height = 595;
    bool FirstRun = false;
    bool Is4K = false;
    // Closed[0] is section Panel1 (Palettes) ... Closed[4] is Panel5 (Magnify).
    std::array<bool, PanelCount> Closed{};

private:
    struct FromText {};
    TTintaraOptions(FromText, std::string_view text, std::filesystem::path fileName);
    void readFields();

    std::filesystem::path m_fileName;
    IniDocument m_ini;
};

} // namespace tintara
