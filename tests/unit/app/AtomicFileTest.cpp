#include "app/core/AtomicFile.h"

#include "TempFolder.h"

#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tintara {
namespace {

using test::readFile;
using test::runInChild;
using test::TempFolder;
using test::writeFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(AtomicFile, CreatesAndReplacesWithoutLeavingTemporaries)
{
    TempFolder dir;
    const auto file = dir / "palettes.xml";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(file, "first", &error)) << error;
    EXPECT_EQ(readFile(file), "first");

    ASSERT_TRUE(::chmod(file.c_str(), 0640) == 0);
    ASSERT_TRUE(writeFileAtomically(file, std::string("second\0with nul", 15), &error)) << error;
    EXPECT_EQ(readFile(file), std::string("second\0with nul", 15));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the replaced file keeps its permissions";
    EXPECT_THAT(dir.entries(), ElementsAre("palettes.xml"));
}

TEST(AtomicFile, SymbolicLinkStaysALink)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "real");
    writeFile(dir / "real" / "Tintara.ini", "old");
    std::filesystem::create_symlink(dir / "real" / "Tintara.ini", dir / "Tintara.ini");

    ASSERT_TRUE(writeFileAtomically(dir / "Tintara.ini", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Tintara.ini"));
    EXPECT_EQ(readFile(dir / "real" / "Tintara.ini"), "new");
}

TEST(AtomicFile, FailuresKeepTheOldFileAndReportTheReason)
{
    TempFolder dir;
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir / "missing" / "Tintara.ini", "x", &error));
    EXPECT_THAT(error, HasSubstr("Cannot create file \"" + (dir / "missing" / "Tintara.ini").string() + "\""));
    EXPECT_THAT(error, HasSubstr("No such file or directory"));

    std::filesystem::create_directory(dir / "palettes.xml");
    EXPECT_FALSE(writeFileAtomically(dir / "palettes.xml", "x", &error));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "palettes.xml"));
    EXPECT_THAT(dir.entries(), ElementsAre("palettes.xml"));
}

// The permission cases run in a child process, as "nobody" when the tests run as root.
TEST(AtomicFile, ReadOnlyFolderFailsWithoutTouchingTheFile)
{
    TempFolder dir;
    const auto file = dir / "Tintara.ini";
    writeFile(file, "[Options]\r\nX=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);       // the file itself is writable ...
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0); // ... the folder is not

    const int rc = runInChild(
        [&] {
            std::string error;
            if (writeFileAtomically(file, "replaced", &error))
                return 1;
            return error.find("Permission denied") != std::string::npos ? 0 : 2;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readFile(file), "[Options]\r\nX=1\r\n");
    EXPECT_THAT(dir.entries(), ElementsAre("Tintara.ini"));
}

TEST(AtomicFile, ReadOnlyFileFails)
{
    TempFolder dir;
    const auto file = dir / "palettes.xml";
    writeFile(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);

    EXPECT_EQ(runInChild([&] { return writeFileAtomically(file, "new") ? 1 : 0; }, true), 0);
    EXPECT_EQ(readFile(file), "old");
    EXPECT_THAT(dir.entries(), ElementsAre("palettes.xml"));

    // The same user may replace it once the file is writable.
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    EXPECT_EQ(runInChild([&] { return writeFileAtomically(file, "new") ? 0 : 1; }, true), 0);
    EXPECT_EQ(readFile(file), "new");
}

TEST(AtomicFile, WriteFailingHalfwayKeepsTheOldFile)
{
    TempFolder dir;
    const auto file = dir / "palettes.xml";
    const std::string old(10000, 'o');
    writeFile(file, old);

    // A file size limit makes the write stop after 4 KiB, as a full disk would.
    const int rc = runInChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 3;
            std::string error;
            if (writeFileAtomically(file, std::string(20000, 'n'), &error))
                return 1;
            return error.find("Cannot create file") != std::string::npos ? 0 : 2;
        },
        false);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readFile(file), old);
    EXPECT_THAT(dir.entries(), ElementsAre("palettes.xml"));
}

} // namespace
} // namespace tintara
