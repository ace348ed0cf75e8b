#include "app/core/ConfigLocation.h"

#include <system_error>
#include <unistd.h>

namespace tintara {

namespace fs = std::filesystem;

bool isFolderWritable(const fs::path& folder)
{
    return !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
}

fs::path chooseConfigFolder(const fs::path& executableFolder, const fs::path& userConfigFolder,
                            const FolderPredicate& isWritable)
{
    std::error_code ec;
    const bool holdsFiles =
        fs::exists(executableFolder / kSettingsFileName, ec) || fs::exists(executableFolder / kPaletteFileName, ec);
    if (holdsFiles || (isWritable && isWritable(executableFolder)))
        return executableFolder;
    fs::create_directories(userConfigFolder, ec);
    return userConfigFolder;
}

} // namespace tintara
