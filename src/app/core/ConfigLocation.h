#pragma once
// Where Tintara keeps "Tintara.ini" and "palettes.xml". A portable install keeps them beside the
// executable; an install in a folder the user cannot write (a system-wide one) keeps them in the
// user's configuration folder instead.
#include <filesystem>
#include <functional>
#include <string_view>

namespace tintara {

inline constexpr std::string_view kSettingsFileName = "Tintara.ini";
inline constexpr std::string_view kPaletteFileName = "palettes.xml";

using FolderPredicate = std::function<bool(const std::filesystem::path&)>;

// Whether this process may create files in `folder` (access(W_OK) on the folder).
bool isFolderWritable(const std::filesystem::path& folder);

// The folder of the settings and palette files: `executableFolder` when `isWritable` says so or when
// it already holds "Tintara.ini" or "palettes.xml"; otherwise `userConfigFolder` (the Qt layer passes
// QStandardPaths::AppConfigLocation), which is created when missing. A failure to create it is not
// reported here: reading then finds no files and saving fails quietly, as with any unwritable folder.
std::filesystem::path chooseConfigFolder(const std::filesystem::path& executableFolder,
                                         const std::filesystem::path& userConfigFolder,
                                         const FolderPredicate& isWritable = isFolderWritable);

} // namespace tintara
