#include "app/core/ConfigLocation.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tintara {
namespace {

using test::runInChild;
using test::TempFolder;
using test::writeFile;

TEST(ConfigLocation, PortableWhenWritableOrAlreadyHoldingTheFiles)
{
    struct Case {
        const char* existingFile; // beside the executable, or nullptr
        bool writable;
        bool expectPortable;
    };
    const Case cases[] = {
        {nullptr, true, true},         {nullptr, false, false},     {"Tintara.ini", false, true},
        {"palettes.xml", false, true}, {"other.txt", false, false},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        const auto exe = dir / "bin";
        const auto user = dir / "home" / ".config" / "Tintara";
        std::filesystem::create_directory(exe);
        if (c.existingFile)
            writeFile(exe / c.existingFile, "");
        const auto chosen = chooseConfigFolder(exe, user, [&](const std::filesystem::path& p) {
            EXPECT_EQ(p, exe);
            return c.writable;
        });
        const char* what = c.existingFile ? c.existingFile : "nothing";
        EXPECT_EQ(chosen, c.expectPortable ? exe : user) << what << (c.writable ? ", writable" : ", read-only");
        EXPECT_EQ(std::filesystem::is_directory(user), !c.expectPortable)
            << "the user folder is created only when used";
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

    ASSERT_EQ(::chmod(exe.c_str(), 0555), 0);
    const int rc = runInChild(
        [&] {
            const auto chosen = chooseConfigFolder(exe, user);
            return chosen == user && std::filesystem::is_directory(user) ? 0 : 1;
        },
        true);
    EXPECT_EQ(rc, 0);
}

} // namespace
} // namespace tintara
