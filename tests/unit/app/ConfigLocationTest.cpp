#include "app/core/ConfigLocation.h"

#include "app/core/AtomicFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tintara {
namespace {

using test::readFile;
using test::runInChild;
using test::TempFolder;
using test::writeFile;

constexpr char kShipped[] = "<Palettes><Palette name=\"Shipped\"></Palette></Palettes>\r\n";
constexpr char kUsers[] = "<Palettes><Palette name=\"Mine\"></Palette></Palettes>\r\n";

TEST(ConfigLocation, PortableOnlyWhenTheExecutablesFolderIsWritable)
{
    struct Case {
        const char* besideExe; // a file beside the executable, or nullptr
        bool writable;
        bool userHasPalettes;
        bool expectPortable;
        const char* expectUserPalettes; // the user's palettes.xml afterwards, nullptr: none
    };
    const Case cases[] = {
        {nullptr, true, false, true, nullptr},
        {"palettes.xml", true, false, true, nullptr}, // portable: nothing is copied anywhere
        {nullptr, false, false, false, nullptr},
        {"Tintara.ini", false, false, false, nullptr},   // files in a read-only folder do not make it portable
        {"palettes.xml", false, false, false, kShipped}, // ... but its palettes are the user's start
        {"palettes.xml", false, true, false, kUsers},    // the user's own palettes are never replaced
        {"other.txt", false, false, false, nullptr},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        const auto exe = dir / "bin";
        const auto user = dir / "home" / ".config" / "Tintara";
        std::filesystem::create_directory(exe);
        if (c.besideExe)
            writeFile(exe / c.besideExe, kShipped);
        if (c.userHasPalettes) {
            std::filesystem::create_directories(user);
            writeFile(user / "palettes.xml", kUsers);
        }
        const auto chosen = chooseConfigFolder(exe, user, [&](const std::filesystem::path& p) {
            EXPECT_EQ(p, exe);
            return c.writable;
        });
        const std::string what = std::string(c.besideExe ? c.besideExe : "nothing") +
                                 (c.writable ? ", writable" : ", read-only") +
                                 (c.userHasPalettes ? ", user has palettes" : "");
        EXPECT_EQ(chosen, c.expectPortable ? exe : user) << what;
        EXPECT_EQ(std::filesystem::is_directory(user), !c.expectPortable || c.userHasPalettes)
            << what << ": the user folder is created only when used";
        if (c.expectUserPalettes)
            EXPECT_EQ(readFile(user / "palettes.xml"), c.expectUserPalettes) << what;
        else
            EXPECT_FALSE(std::filesystem::exists(user / "palettes.xml")) << what;
        EXPECT_FALSE(std::filesystem::exists(user / "Tintara.ini")) << what;
    }
}

TEST(ConfigLocation, RealPermissionsDecide)
{
    TempFolder dir;
    const auto exe = dir / "bin";
    const auto user = dir / "config";
    std::filesystem::create_directory(exe);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    EXPECT_EQ(chooseConfigFolder(exe, user), exe);

    // An installed program: root's folder and a read-only palette file beside the executable.
    writeFile(exe / "palettes.xml", kShipped);
    writeFile(exe / "Tintara.ini", "[Options]\r\nX=1\r\n");
    ASSERT_EQ(::chmod((exe / "palettes.xml").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(exe.c_str(), 0555), 0);
    const int rc = runInChild(
        [&] {
            if (chooseConfigFolder(exe, user) != user || !std::filesystem::is_directory(user))
                return 1;
            if (readFile(user / "palettes.xml") != kShipped)
                return 2;
            if (!writeFileAtomically(user / "palettes.xml", kUsers)) // the copy takes the user's saves
                return 3;
            return readFile(exe / "palettes.xml") == kShipped ? 0 : 4;
        },
        true);
    EXPECT_EQ(rc, 0);
}

} // namespace
} // namespace tintara
