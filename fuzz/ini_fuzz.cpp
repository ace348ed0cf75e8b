// Arbitrary bytes as "Tintara.ini": reading must never crash, and what a save writes must read back
// as the same fields and save again as the same bytes.
#include "app/core/TintaraOptions.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using tintara::TTintaraOptions;

bool sameFields(const TTintaraOptions& a, const TTintaraOptions& b)
{
    return a.X == b.X && a.Y == b.Y && a.XOffset == b.XOffset && a.YOffset == b.YOffset && a.Width == b.Width &&
           a.Height == b.Height && a.FirstRun == b.FirstRun && a.Is4K == b.Is4K && a.Closed == b.Closed;
}

// One folder for the whole run, on a memory file system when there is one, so the fsync of every
// save costs nothing. Kept in leaked objects so that it outlives the static destructors at exit.
const std::filesystem::path* g_scratchFolder = nullptr;

void removeScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(*g_scratchFolder, ec);
}

const std::filesystem::path& scratchFile()
{
    static const std::filesystem::path* const file = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tintara-ini-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        g_scratchFolder = new std::filesystem::path(pattern);
        std::atexit(removeScratchFolder);
        return new std::filesystem::path(*g_scratchFolder / "Tintara.ini");
    }();
    return *file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path& file = scratchFile();

    TTintaraOptions options = TTintaraOptions::fromText(text, file);
    if (!options.save())
        std::abort();
    const std::string saved = options.fileText();

    const TTintaraOptions reloaded(file);
    if (!sameFields(options, reloaded))
        std::abort();

    // Reading normalises the file once; after that, saving is a fixed point.
    TTintaraOptions again = TTintaraOptions::fromText(saved);
    again.storeFields();
    if (again.fileText() != saved || !sameFields(again, options))
        std::abort();
    return 0;
}
