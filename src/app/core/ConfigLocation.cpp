#include "app/core/ConfigLocation.h"

#include "app/core/AtomicFile.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tintara {

namespace fs = std::filesystem;

namespace {

// Copies the bytes, not the file: the original may be read-only (shipped by root), and the user's
// copy must take the user's saves.
void seedPalettes(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (!fs::is_regular_file(from, ec) || fs::exists(to, ec) || ec)
        return;
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return;
    writeFileAtomically(to, bytes);
}

} // namespace

bool isFolderWritable(const fs::path& folder)
{
    return !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
}

fs::path chooseConfigFolder(const fs::path& executableFolder, const fs::path& userConfigFolder,
                            const FolderPredicate& isWritable)
{
    if (isWritable && isWritable(executableFolder))
        return executableFolder;
    std::error_code ec;
    fs::create_directories(userConfigFolder, ec);
    seedPalettes(executableFolder / kPaletteFileName, userConfigFolder / kPaletteFileName);
    return userConfigFolder;
}

} // namespace tintara
