// The palette list's context menu: export and import with the file dialog answered by the test.
#include "MainWindowFixture.h"

#include "palettes/PaletteExchange.h"
#include "palettes/PaletteRules.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <gmock/gmock.h>

namespace tintara::testing {
namespace {

const std::string kTwoPalettes = "<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF8000\"></Color>"
                                 "<Color COLOR=\"#FFD700\"></Color></Palette><Palette name=\"Cool\">"
                                 "<Color COLOR=\"#0000FF\"></Color></Palette></Palettes>\r\n";
constexpr TColor Orange = rgbColor(255, 128, 0);
constexpr TColor Gold = rgbColor(255, 215, 0);
constexpr TColor Blue = rgbColor(0, 0, 255);

QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

class PaletteExchangeTest : public MainWindowTest {
protected:
    // The fixture's window, plus a file dialog and notices the test answers and records.
    TfrmMain& openWindow()
    {
        MainWindowEnvironment env;
        env.platform = &platform;
        env.settingsPath = dir / "Tintara.ini";
        env.palettePath = dir / "palettes.xml";
        env.askFourK = [](QWidget*) { return false; };
        env.inputBox = [](QWidget*, const QString&, const QString&) -> std::optional<QString> { return {}; };
        env.chooseColor = [](QWidget*, TColor) -> std::optional<TColor> { return {}; };
        env.showError = [this](QWidget*, const QString& message) { errors.push_back(message); };
        env.showInfo = [this](QWidget*, const QString& message) { notices.push_back(message); };
        env.chooseFile = [this](QWidget*, bool save, const QStringList& filters,
                                const QString& suggested) -> std::optional<std::pair<QString, int>> {
            asked.push_back({save, filters, suggested});
            return fileAnswer;
        };
        window = std::make_unique<TfrmMain>(std::move(env));
        window->timTintara->stop();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    void answer(const std::filesystem::path& p, int filter = 0)
    {
        fileAnswer = std::pair{QString::fromStdString(p), filter};
    }

    struct Question {
        bool save;
        QStringList filters;
        QString suggested;
    };
    std::optional<std::pair<QString, int>> fileAnswer;
    std::vector<Question> asked;
    std::vector<QString> notices;
};

TEST_F(PaletteExchangeTest, TheMenuStoresTheChipsFirstAndOffersBothCommands)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = openWindow();
    key(Qt::Key_F3);
    sample(rgbColor(1, 2, 3));
    key(Qt::Key_G, Qt::ControlModifier); // chip 3 locked, nothing stored yet

    // The menu key (keyboard reason) and a right click (mouse reason) both open it.
    for (auto reason : {QContextMenuEvent::Keyboard, QContextMenuEvent::Mouse}) {
        QContextMenuEvent event(reason, QPoint(5, 5), w.cboPalettes->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w.cboPalettes, &event);
        ASSERT_TRUE(w.mnuPalettes->isVisible());
        EXPECT_EQ(w.mnuExportPalette->text(), QString::fromUtf8("Export Palette…"));
        EXPECT_EQ(w.mnuImportPalette->text(), QString::fromUtf8("Import Palette…"));
        EXPECT_TRUE(w.mnuExportPalette->isEnabled());
        EXPECT_TRUE(w.mnuImportPalette->isEnabled());
        w.mnuPalettes->hide();
    }
    EXPECT_NE(readFile(dir / "palettes.xml").find("<Color COLOR=\"#FFD700\"></Color><Color COLOR=\"#010203\">"),
              std::string::npos);
    // The layout does not move for it.
    EXPECT_EQ(w.cboPalettes->geometry(), QRect(8, 16, 150, 19));

    // Choosing a command opens the dialog once the menu has gone.
    answer(dir / "out.txt", 3);
    w.mnuExportPalette->trigger();
    EXPECT_TRUE(asked.empty());
    QApplication::processEvents();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].suggested, "Warm.gpl");
    EXPECT_EQ(readFile(dir / "out.txt"), "#FF8000\n#FFD700\n#010203\n");
    EXPECT_EQ(w.focusWidget(), w.ChipByIndex(1)); // the window is not active again yet offscreen
}

TEST_F(PaletteExchangeTest, WithoutAPaletteDocumentNothingIsOffered)
{
    writeFile(dir / "palettes.xml", "<Palettes><Palette name=\"Warm\">");
    TfrmMain& w = openWindow();
    w.cboPalettesContextMenu(w.mapToGlobal(QPoint(20, 20)));
    EXPECT_FALSE(w.mnuExportPalette->isEnabled());
    EXPECT_FALSE(w.mnuImportPalette->isEnabled());
    w.mnuPalettes->hide();
    answer(dir / "x.gpl");
    w.exportPaletteClick();
    w.importPaletteClick();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(readFile(dir / "palettes.xml"), "<Palettes><Palette name=\"Warm\">");
}

TEST_F(PaletteExchangeTest, ExportFollowsTheExtensionOrTheFilter)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = openWindow();
    struct Case {
        std::string chosen;
        int filter;
        std::string written;
        std::string content;
    };
    const Case cases[] = {
        {"warm.gpl", 3, "warm.gpl",
         "GIMP Palette\nName: Warm\nColumns: 8\n#\n255 128   0\t#FF8000\n255 215   0\t#FFD700\n"},
        {"warm", 2, "warm.css", ":root {\n  --warm-1: #FF8000;\n  --warm-2: #FFD700;\n}\n"},
        {"warm.HEX", 0, "warm.HEX", "#FF8000\n#FFD700\n"},
        {"warm", 1, "warm.ase", writeAse({"Warm", {Orange, Gold}, {}})},
    };
    for (const Case& c : cases) {
        answer(dir / c.chosen, c.filter);
        w.exportPaletteClick();
        EXPECT_EQ(readFile(dir / c.written), c.content) << c.chosen;
    }
    EXPECT_EQ(asked.back().filters, QStringList({"GIMP palette (*.gpl)", "Adobe Swatch Exchange (*.ase)",
                                                 "CSS custom properties (*.css)", "Colour list (*.txt)"}));
    EXPECT_TRUE(errors.empty());

    // Cancel writes nothing.
    fileAnswer.reset();
    const auto before = std::distance(std::filesystem::directory_iterator(dir), {});
    w.exportPaletteClick();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), before);
}

TEST_F(PaletteExchangeTest, AnExportThatCannotBeWrittenSaysSoAndKeepsWhatWasThere)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = openWindow();
    std::filesystem::create_directory(dir / "taken.gpl");
    writeFile(dir / "taken.gpl" / "inside", "keep");
    answer(dir / "taken.gpl");
    w.exportPaletteClick();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_THAT(errors[0].toStdString(), ::testing::HasSubstr((dir / "taken.gpl").string()));
    EXPECT_EQ(readFile(dir / "taken.gpl" / "inside"), "keep");

    answer(dir / "no such folder" / "x.gpl");
    w.exportPaletteClick();
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_THAT(errors[1].toStdString(), ::testing::HasSubstr("no such folder"));
}

TEST_F(PaletteExchangeTest, ImportAddsAUniquePaletteSelectedAndLocked)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    writeFile(dir / "mine.gpl", "GIMP Palette\r\nName: Warm\r\n# from elsewhere\r\n0 0 255\tBlue\r\n255 128 0\r\n");
    TfrmMain& w = openWindow();
    answer(dir / "mine.gpl");
    w.importPaletteClick();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_FALSE(asked[0].save);
    EXPECT_EQ(asked[0].filters.front(), "Palettes (*.gpl *.ase *.txt *.hex)");
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(notices.empty());

    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool", "Warm (2)"}));
    EXPECT_EQ(w.cboPalettes->currentText(), "Warm (2)");
    EXPECT_EQ(w.chipColor(1), Blue);
    EXPECT_EQ(w.chipColor(2), Orange);
    EXPECT_TRUE(w.IsChipLocked(1));
    EXPECT_TRUE(w.IsChipLocked(2));
    EXPECT_FALSE(w.IsChipLocked(3));
    EXPECT_EQ(w.currentChipIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), w.ChipByIndex(1));
    EXPECT_EQ(readFile(dir / "palettes.xml"),
              kTwoPalettes.substr(0, kTwoPalettes.size() - 13) +
                  "<Palette name=\"Warm (2)\"><Color COLOR=\"#0000FF\"></Color><Color COLOR=\"#FF8000\"></Color>"
                  "</Palette></Palettes>\r\n");
}

TEST_F(PaletteExchangeTest, ImportKeepsSixteenAndSaysWhatItLeftOut)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    std::string list;
    for (int i = 0; i < 20; ++i)
        list += PaletteValueFromColor(rgbColor(i, i, i)) + "\n";
    writeFile(dir / "twenty colours.hex", list);
    TfrmMain& w = openWindow();
    answer(dir / "twenty colours.hex");
    w.importPaletteClick();
    EXPECT_EQ(w.cboPalettes->currentText(), "twenty colours");
    EXPECT_TRUE(w.IsChipLocked(16));
    EXPECT_EQ(w.chipColor(16), rgbColor(15, 15, 15));
    ASSERT_EQ(notices.size(), 1U);
    EXPECT_THAT(notices[0].toStdString(), ::testing::HasSubstr("first 16 of the 20 colours"));

    std::string lab = writeAse({"Mixed", {Blue}, {}});
    lab.replace(lab.find("RGB "), 4, "LAB ");
    writeFile(dir / "mixed.ase", lab);
    answer(dir / "mixed.ase");
    w.importPaletteClick();
    EXPECT_EQ(w.cboPalettes->currentText(), "Mixed");
    EXPECT_FALSE(w.IsChipLocked(1));
    ASSERT_EQ(notices.size(), 2U);
    EXPECT_THAT(notices[1].toStdString(), ::testing::HasSubstr("1 Lab swatch was skipped"));
}

TEST_F(PaletteExchangeTest, BadInputNamesTheFileAndTheReasonAndChangesNothing)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    writeFile(dir / "photo.png", "\x89PNG\r\n");
    writeFile(dir / "broken.gpl", "GIMP Palette\nName: X\n12 34 abc\n");
    writeFile(dir / "cut.ase", writeAse({"Cut", {Blue, Orange}, {}}).substr(0, 40));
    writeFile(dir / "empty.txt", "");
    std::filesystem::create_directory(dir / "folder.gpl");
    writeFile(dir / "huge.txt", "#FF8000\n");
    std::filesystem::resize_file(dir / "huge.txt", 17ULL * 1024 * 1024); // sparse: costs no disk
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {"photo.png", "not a palette file"},
        {"broken.gpl", "line 3 is not a colour: \"12 34 abc\""},
        {"cut.ase", "claims"},
        {"empty.txt", "holds no colours"},
        {"missing.gpl", "No such file"},
        {"folder.gpl", "it is a folder"},
        {"huge.txt", "far too large to be a palette (over 16 MB)"},
    };
    TfrmMain& w = openWindow();
    key(Qt::Key_F4);
    sample(rgbColor(9, 9, 9));
    key(Qt::Key_G, Qt::ControlModifier);
    w.cboPalettesEnter(); // as opening the menu does
    const std::string file = readFile(dir / "palettes.xml");
    for (const Case& c : cases) {
        answer(dir / c.file);
        w.importPaletteClick();
        ASSERT_FALSE(errors.empty()) << c.file;
        EXPECT_THAT(errors.back().toStdString(),
                    ::testing::StartsWith("Cannot import \"" + (dir / c.file).string() + "\": "));
        EXPECT_THAT(errors.back().toStdString(), ::testing::HasSubstr(c.reason));
        EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool"})) << c.file;
        EXPECT_EQ(w.chipColor(4), rgbColor(9, 9, 9));
        EXPECT_TRUE(w.IsChipLocked(4));
        EXPECT_EQ(readFile(dir / "palettes.xml"), file) << c.file;
    }
    EXPECT_EQ(errors.size(), std::size(cases));

    answer("/dev/zero"); // would never end
    w.importPaletteClick();
    EXPECT_EQ(errors.back(), "Cannot import \"/dev/zero\": it is not a regular file.");
    EXPECT_EQ(readFile(dir / "palettes.xml"), file);
}

TEST_F(PaletteExchangeTest, TheErrorItemIsNoPaletteToExport)
{
    writeFile(dir / "palettes.xml", "<P><Palette name=\"A\"><Color COLOR=\"#GG0000\"/></Palette></P>");
    TfrmMain& w = openWindow();
    w.cboPalettesContextMenu(w.mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(w.cboPalettes->currentText(), "Error loading Palettes.xml");
    EXPECT_FALSE(w.mnuExportPalette->isEnabled());
    EXPECT_TRUE(w.mnuImportPalette->isEnabled());
    w.mnuPalettes->hide();
    answer(dir / "x.gpl");
    w.exportPaletteClick();
    EXPECT_TRUE(asked.empty());

    // An import replaces the error item by the list it belongs in.
    writeFile(dir / "blue.txt", "#0000FF\n");
    answer(dir / "blue.txt");
    w.importPaletteClick();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"A", "blue"}));
    EXPECT_EQ(w.chipColor(1), Blue);
}

TEST_F(PaletteExchangeTest, AnImportThatCannotBeSavedIsTakenBack)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    writeFile(dir / "blue.txt", "#0000FF\n");
    TfrmMain& w = openWindow();
    std::filesystem::remove(dir / "palettes.xml");
    std::filesystem::create_directory(dir / "palettes.xml"); // cannot be replaced by a file
    answer(dir / "blue.txt");
    w.importPaletteClick();
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool"}));
    EXPECT_EQ(w.chipColor(1), Orange);

    std::filesystem::remove(dir / "palettes.xml");
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(readFile(dir / "palettes.xml"), kTwoPalettes); // the document did not keep it either
}

} // namespace
} // namespace tintara::testing
