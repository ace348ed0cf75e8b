#include "app/core/TintaraOptions.h"

#include "TempFolder.h"

#include <climits>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tintara {
namespace {

using test::readFile;
using test::runInChild;
using test::TempFolder;
using test::writeFile;
using ::testing::ElementsAre;

const std::string kDefaultFile = "[Options]\r\n"
                                 "X=200\r\n"
                                 "Y=150\r\n"
                                 "XOffset=0\r\n"
                                 "YOffset=0\r\n"
                                 "Width=295\r\n"
                                 "Height=595\r\n"
                                 "FirstRun=0\r\n"
                                 "Is4K=0\r\n"
                                 "\r\n"
                                 "[Panel1]\r\nClosed=0\r\n\r\n"
                                 "[Panel2]\r\nClosed=0\r\n\r\n"
                                 "[Panel3]\r\nClosed=0\r\n\r\n"
                                 "[Panel4]\r\nClosed=0\r\n\r\n"
                                 "[Panel5]\r\nClosed=0\r\n\r\n";

// The value of a field by name, booleans as 0/1, so one table covers all of them.
int field(const TTintaraOptions& o, std::string_view name)
{
    if (name == "X")
        return o.X;
    if (name == "Y")
        return o.Y;
    if (name == "XOffset")
        return o.XOffset;
    if (name == "YOffset")
        return o.YOffset;
    if (name == "Width")
        return o.Width;
    if (name == "Height")
        return o.Height;
    if (name == "FirstRun")
        return o.FirstRun;
    if (name == "Is4K")
        return o.Is4K;
    if (name.size() == 7 && name.substr(0, 6) == "Closed")
        return o.Closed.at(static_cast<std::size_t>(name[6] - '1'));
    ADD_FAILURE() << "no field " << name;
    return 0;
}

const char* const kFields[] = {"X",    "Y",       "XOffset", "YOffset", "Width",   "Height", "FirstRun",
                               "Is4K", "Closed1", "Closed2", "Closed3", "Closed4", "Closed5"};

struct ReadCase {
    const char* text;
    const char* field;
    int expected;
};

const ReadCase kReadCases[] = {
    {"[Options]\r\nWidth=0x200\r\n", "Width", 512},
    {"[Options]\r\nWidth=0X1f\r\n", "Width", 31},
    {"[Options]\r\nX=0xFFFFFFFF\r\n", "X", -1},   // hex is a 32-bit pattern
    {"[Options]\r\nX=0x100000000\r\n", "X", 200}, // beyond 32 bits
    {"[Options]\r\nX=0x\r\n", "X", 200},          // two characters are not a hex number
    {"[Options]\r\nX=0xG1\r\n", "X", 200},
    {"[Options]\r\nX=-0x10\r\n", "X", 200},
    {"[Options]\r\nX=$10\r\n", "X", 200},
    {"[Options]\r\nX=abc\r\n", "X", 200},
    {"[Options]\r\nX=12abc\r\n", "X", 200},
    {"[Options]\r\nX=\r\n", "X", 200},
    {"[Options]\r\nX=1 2\r\n", "X", 200},
    {"[Options]\r\nX==5\r\n", "X", 200}, // the value is "=5"
    {"[Options]\r\nX 5\r\n", "X", 200},  // no "=": not an entry
    {"[Options]\r\nX=2147483648\r\n", "X", 200},
    {"[Options]\r\nX=-2147483648\r\n", "X", INT_MIN},
    {"[Options]\r\nX=+15\r\n", "X", 15},
    {"[Options]\r\nX=007\r\n", "X", 7},
    {"[Options]\r\nX=-300\r\nY=-20\r\n", "X", -300},
    {"[Options]\r\nX=-300\r\nY=-20\r\n", "Y", -20},
    {"[options]\r\nx=5\r\n", "X", 5},
    {"[OPTIONS]\r\nxoffset=-3\r\n", "XOffset", -3},
    {"  [ Options ]  \r\n\t YOffset  =  9 \t\r\n", "YOffset", 9},
    {"[Options]\nHeight=700\n", "Height", 700},   // LF line ends
    {"[Options]\rHeight=701\r", "Height", 701},   // CR line ends
    {"\xEF\xBB\xBF[Options]\r\nX=9\r\n", "X", 9}, // a byte order mark from an editor
    {"X=5\r\n[Options]\r\nY=6\r\n", "X", 200},    // before the first section: dropped
    {"[Options]\r\n;X=5\r\n", "X", 200},
    {"[Options]\r\nX=1\r\nX=2\r\n", "X", 1},              // the first entry counts
    {"[Options]\r\nX=1\r\n[Options]\r\nX=2\r\n", "X", 1}, // and the first section
    {"[Other]\r\nX=1\r\n[Options]\r\nY=2\r\n", "X", 200},
    {"[Options]\r\nFirstRun=1\r\n", "FirstRun", 1},
    {"[Options]\r\nIs4K=7\r\n", "Is4K", 1},
    {"[Options]\r\nIs4K=yes\r\n", "Is4K", 0},
    {"[Panel3]\r\nClosed=2\r\n", "Closed3", 1},
    {"[Panel1]\r\nClosed=-1\r\n", "Closed1", 1},
    {"[Panel5]\r\nClosed=0x0\r\n", "Closed5", 0},
    {"[panel4]\r\nCLOSED=1\r\n", "Closed4", 1},
    {"[Panel2]\r\nClosed=true\r\n", "Closed2", 0},
};

TEST(TintaraOptions, ReadsValuesLikeTheSettingsFileAlwaysHas)
{
    for (const auto& c : kReadCases) {
        const auto options = TTintaraOptions::fromText(c.text);
        EXPECT_EQ(field(options, c.field), c.expected) << c.field << " from " << ::testing::PrintToString(c.text);
    }
}

TEST(TintaraOptions, MissingOrUnusableFileGivesDefaults)
{
    TempFolder dir;
    std::filesystem::create_directory(dir / "folder.ini");
    const TTintaraOptions expected = TTintaraOptions::fromText("");
    for (const auto& path : {dir / "Tintara.ini", dir / "folder.ini"}) {
        const TTintaraOptions options(path);
        for (const char* f : kFields)
            EXPECT_EQ(field(options, f), field(expected, f)) << f;
    }
    EXPECT_EQ(expected.X, 200);
    EXPECT_EQ(expected.Y, 150);
    EXPECT_EQ(expected.Width, 295);
    EXPECT_EQ(expected.Height, 595);
    EXPECT_FALSE(expected.FirstRun);
}

TEST(TintaraOptions, FirstSaveWritesTheThirteenEntries)
{
    TempFolder dir;
    TTintaraOptions options(dir / "Tintara.ini");
    ASSERT_TRUE(options.save());
    EXPECT_EQ(readFile(dir / "Tintara.ini"), kDefaultFile);
    EXPECT_THAT(dir.entries(), ElementsAre("Tintara.ini"));
}

TEST(TintaraOptions, SaveKeepsWhatItDoesNotKnowAndNormalisesTheRest)
{
    const std::string original = "; Tintara settings\r\n"
                                 "stray=1\r\n"
                                 "\r\n"
                                 "[Extra]\r\n"
                                 "  Colour = red  \r\n"
                                 "JustText\r\n"
                                 "[options]\r\n"
                                 "x = -300\r\n"
                                 "Y=-20\r\n"
                                 "Width=0x200\r\n"
                                 "Unknown=keep me\r\n"
                                 "; a comment\r\n"
                                 "[Panel3]\r\n"
                                 "Closed=2\r\n";
    // Known keys are replaced in place and spelled as the program spells them; missing keys go to
    // the end of their section, missing sections to the end of the file.
    const std::string saved = "[Extra]\r\nColour=red\r\nJustText\r\n\r\n"
                              "[options]\r\nX=-300\r\nY=-20\r\nWidth=512\r\nUnknown=keep me\r\n"
                              "XOffset=0\r\nYOffset=0\r\nHeight=595\r\nFirstRun=0\r\nIs4K=0\r\n\r\n"
                              "[Panel3]\r\nClosed=1\r\n\r\n"
                              "[Panel1]\r\nClosed=0\r\n\r\n"
                              "[Panel2]\r\nClosed=0\r\n\r\n"
                              "[Panel4]\r\nClosed=0\r\n\r\n"
                              "[Panel5]\r\nClosed=0\r\n\r\n";
    TempFolder dir;
    const auto file = dir / "Tintara.ini";
    writeFile(file, original);

    TTintaraOptions options(file);
    EXPECT_EQ(options.X, -300);
    EXPECT_EQ(options.Width, 512);
    EXPECT_TRUE(options.Closed[2]);
    ASSERT_TRUE(options.save());
    EXPECT_EQ(readFile(file), saved);

    // A second start reads the same values and a second save writes the same bytes.
    TTintaraOptions again(file);
    for (const char* f : kFields)
        EXPECT_EQ(field(again, f), field(options, f)) << f;
    ASSERT_TRUE(again.save());
    EXPECT_EQ(readFile(file), saved);
}

TEST(TintaraOptions, SavedFieldsComeBack)
{
    TempFolder dir;
    const auto file = dir / "Tintara.ini";
    TTintaraOptions options(file);
    options.X = -1920;
    options.Y = -5;
    options.XOffset = INT_MIN;
    options.YOffset = INT_MAX;
    options.Width = 310;
    options.Height = 400;
    options.FirstRun = false;
    options.Is4K = true;
    options.Closed = {true, false, true, true, false};
    ASSERT_TRUE(options.save());

    const TTintaraOptions loaded(file);
    for (const char* f : kFields)
        EXPECT_EQ(field(loaded, f), field(options, f)) << f;
}

TEST(TintaraOptions, FailedSaveIsQuietAndKeepsTheOldFile)
{
    TempFolder dir;
    TTintaraOptions nowhere(dir / "missing" / "Tintara.ini");
    std::string error;
    EXPECT_FALSE(nowhere.save(&error));
    EXPECT_FALSE(error.empty());

    const auto file = dir / "Tintara.ini";
    writeFile(file, "[Options]\r\nX=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const int rc = runInChild(
        [&] {
            TTintaraOptions options(file);
            options.X = 99;
            return options.save() ? 1 : 0;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readFile(file), "[Options]\r\nX=1\r\n");
    EXPECT_THAT(dir.entries(), ElementsAre("Tintara.ini"));
}

} // namespace
} // namespace tintara
