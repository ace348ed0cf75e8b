#pragma once
// Where Tintara keeps "Tintara.ini" and "palettes.xml". A portable copy keeps them beside the
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

// The folder of the settings and palette files: `executableFolder` when `isWritable` says so;
// otherwise `userConfigFolder` (the Qt layer passes QStandardPaths::AppConfigLocation), which is
// created when missing. Files standing in a folder the user cannot write never make it portable:
// every save there would fail. When the user folder has no "palettes.xml" yet and the executable's
// folder holds one, a copy of it (writable by the user, whatever the original's mode) becomes the
// user's starting palettes. Failures to create the folder or to copy are not reported here:
// reading then finds no files and saving reports or ignores its failure as with any folder.
std::filesystem::path chooseConfigFolder(const std::filesystem::path& executableFolder,
                                         const std::filesystem::path& userConfigFolder,
                                         const FolderPredicate& isWritable = isFolderWritable);

} // namespace tintara
