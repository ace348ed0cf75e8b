// The palette list and its buttons, with the input box answered by the test.
#include "MainWindowFixture.h"

#include <QToolButton>

namespace tintara::testing {
namespace {

const std::string kTwoPalettes = "<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF8000\"></Color>"
                                 "<Color COLOR=\"#FFD700\"></Color></Palette><Palette name=\"Cool\">"
                                 "<Color COLOR=\"#0000FF\"></Color></Palette></Palettes>\r\n";

QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

TEST_F(MainWindowTest, StartLoadsTheFirstPaletteLocked)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = open();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool"}));
    EXPECT_EQ(w.currentChipIndex(), 1);
    EXPECT_EQ(w.chipColor(1), rgbColor(255, 128, 0));
    EXPECT_EQ(w.chipColor(2), rgbColor(255, 215, 0));
    EXPECT_TRUE(w.IsChipLocked(1));
    EXPECT_TRUE(w.IsChipLocked(2));
    EXPECT_FALSE(w.IsChipLocked(3));
    EXPECT_EQ(w.chipColor(3), clWhite);
    EXPECT_EQ(w.txtRGB->text(), "FF8000");

    // A run that changes nothing writes the file back byte for byte.
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(readFile(dir / "palettes.xml"), kTwoPalettes);
}

TEST_F(MainWindowTest, EnteringTheListStoresAndPickingLoads)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = open();
    key(Qt::Key_F2);
    key(Qt::Key_G, Qt::ControlModifier); // unlock FFD700
    key(Qt::Key_F5);
    sample(rgbColor(1, 2, 3));
    key(Qt::Key_G, Qt::ControlModifier);
    w.cboPalettes->setFocus(); // entering the list stores the locked chips (1 and 5) and saves
    EXPECT_EQ(readFile(dir / "palettes.xml"),
              "<Palettes><Palette name=\"Warm\"><Color COLOR=\"#FF8000\"></Color><Color COLOR=\"#010203\"></Color>"
              "</Palette><Palette name=\"Cool\"><Color COLOR=\"#0000FF\"></Color></Palette></Palettes>\r\n");
    w.cboPalettes->setCurrentIndex(1);
    emit w.cboPalettes->activated(1);
    EXPECT_EQ(w.chipColor(1), rgbColor(0, 0, 255));
    EXPECT_TRUE(w.IsChipLocked(1));
    EXPECT_FALSE(w.IsChipLocked(2));
    EXPECT_EQ(QApplication::focusWidget(), w.ChipByIndex(1));
}

TEST_F(MainWindowTest, NewEditAndDelete)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = open();

    inputAnswer = QStringLiteral("Black & White");
    w.cmdNew->click();
    EXPECT_EQ(prompts.back(), "Enter a name for the new Palette");
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool", "Black  White"}));
    EXPECT_EQ(w.cboPalettes->currentText(), "Black  White");
    EXPECT_FALSE(w.IsChipLocked(1)); // the chips were cleared
    EXPECT_NE(readFile(dir / "palettes.xml").find("<Palette name=\"Black  White\"></Palette>"), std::string::npos);

    inputAnswer = std::nullopt; // Edit, Cancel: nothing changes
    const std::string before = readFile(dir / "palettes.xml");
    w.cmdEdit->click();
    EXPECT_EQ(defaults.back(), "Black  White");
    EXPECT_EQ(w.cboPalettes->currentText(), "Black  White");
    EXPECT_EQ(readFile(dir / "palettes.xml"), before);

    inputAnswer = QStringLiteral("Grey");
    w.cmdEdit->click();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool", "Grey"}));
    EXPECT_NE(readFile(dir / "palettes.xml").find("<Palette name=\"Grey\"></Palette>"), std::string::npos);

    w.cmdDelete->click();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Warm", "Cool"}));
    EXPECT_EQ(w.cboPalettes->currentText(), "Warm");
    EXPECT_EQ(w.chipColor(1), rgbColor(255, 128, 0));
    w.cmdDelete->click();
    w.cmdDelete->click();
    EXPECT_EQ(w.cboPalettes->count(), 0);
    EXPECT_FALSE(w.IsChipLocked(1));
    EXPECT_EQ(readFile(dir / "palettes.xml"), "<Palettes></Palettes>\r\n");

    inputAnswer = QStringLiteral("Again"); // Edit with an empty list renames nothing
    w.cmdEdit->click();
    EXPECT_EQ(w.cboPalettes->count(), 0);
}

TEST_F(MainWindowTest, AMissingFileStartsWithADefaultPalette)
{
    TfrmMain& w = open();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Default"}));
    sample(rgbColor(0x12, 0x34, 0x56));
    key(Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(readFile(dir / "palettes.xml"),
              "<Palettes><Palette name=\"Default\"><Color COLOR=\"#123456\"></Color></Palette></Palettes>\r\n");
}

TEST_F(MainWindowTest, AnUnreadableFileIsNeverOverwritten)
{
    const std::string broken = "<Palettes><Palette name=\"Warm\">";
    writeFile(dir / "palettes.xml", broken);
    TfrmMain& w = open();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Error loading Palettes.xml"}));
    EXPECT_EQ(w.currentChipIndex(), 0); // no chip selected: the hidden placeholder is current
    sample(rgbColor(5, 6, 7));
    EXPECT_EQ(w.txtRGB->text(), "050607"); // the displays work as usual

    inputAnswer = QStringLiteral("New one");
    w.cmdNew->click();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Error loading Palettes.xml", "New one"}));
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(readFile(dir / "palettes.xml"), broken);
    EXPECT_TRUE(std::filesystem::exists(dir / "Tintara.ini")); // the close sequence went on
}

TEST_F(MainWindowTest, TheErrorItemSaysWhyTheFileCouldNotBeRead)
{
    writeFile(dir / "palettes.xml", "<Palettes>\r\n  <Palette name=\"Warm\">\r\n  </Palettes>\r\n");
    ::testing::internal::CaptureStderr();
    TfrmMain& w = open();
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(items(w.cboPalettes), QStringList({"Error loading Palettes.xml"}));
    const QString tip = w.cboPalettes->itemData(0, Qt::ToolTipRole).toString();
    const QString where = QStringLiteral("Cannot read \"%1\": line 3, column ")
                              .arg(QString::fromStdString((dir / "palettes.xml").string()));
    EXPECT_TRUE(tip.startsWith(where)) << tip.toStdString();
    EXPECT_GT(tip.size(), where.size() + 4) << "the reader's reason follows the place";
    EXPECT_EQ(w.cboPalettes->toolTip(), tip);               // the closed list shows it as well
    EXPECT_EQ(err, "Tintara: " + tip.toStdString() + "\n"); // once, on standard error

    inputAnswer = QStringLiteral("New one"); // later failures show the same item and the same reason
    w.cmdNew->click();
    EXPECT_EQ(w.cboPalettes->itemData(0, Qt::ToolTipRole).toString(), tip);
}

TEST_F(MainWindowTest, ABadColourStopsTheLoadAtItsChip)
{
    writeFile(dir / "palettes.xml", "<P><Palette name=\"A\"><Color COLOR=\"#FF8000\"/><Color COLOR=\"#GG0000\"/>"
                                    "<Color COLOR=\"#0000FF\"/></Palette></P>");
    TfrmMain& w = open();
    EXPECT_EQ(items(w.cboPalettes), QStringList({"Error loading Palettes.xml"}));
    EXPECT_TRUE(w.IsChipLocked(1));
    EXPECT_EQ(w.chipColor(1), rgbColor(255, 128, 0));
    EXPECT_EQ(w.currentChipIndex(), 2);
    EXPECT_FALSE(w.IsChipLocked(2));
    EXPECT_TRUE(w.cboPalettes->itemData(0, Qt::ToolTipRole).isNull()); // the file itself was read
}

TEST_F(MainWindowTest, AFileThatCannotBeWrittenIsReportedAndKeepsTheWindowOpen)
{
    writeFile(dir / "palettes.xml", kTwoPalettes);
    TfrmMain& w = open();
    std::filesystem::remove(dir / "palettes.xml");
    std::filesystem::create_directory(dir / "palettes.xml"); // cannot be replaced by a file
    EXPECT_FALSE(w.FormClose());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir / "Tintara.ini")); // the settings wait for the next close
}

} // namespace
} // namespace tintara::testing
