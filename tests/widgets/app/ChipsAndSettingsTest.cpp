// Chips and their keys, the collapsible panels, and the settings the window reads and writes.
#include "MainWindowFixture.h"

#include <QGroupBox>
#include <QTimer>

namespace tintara::testing {
namespace {

TEST_F(MainWindowTest, FunctionKeysChooseChipsAndUnlockedChipsTurnWhite)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.currentChipIndex(), 1); // the default palette was loaded, which selects chip 1
    key(Qt::Key_F4);
    EXPECT_EQ(w.currentChipIndex(), 4);
    sample(rgbColor(10, 20, 30));
    EXPECT_EQ(w.chipColor(4), rgbColor(10, 20, 30));
    key(Qt::Key_F5, Qt::ShiftModifier); // modifiers do not matter
    EXPECT_EQ(w.currentChipIndex(), 5);
    EXPECT_EQ(w.chipColor(4), clWhite);
    EXPECT_EQ(w.ChipByIndex(4)->frameStyle(), QFrame::Panel | QFrame::Sunken);
    EXPECT_EQ(w.ChipByIndex(5)->frameStyle(), QFrame::Box | QFrame::Plain);

    // Locked chips keep their colour and check mark.
    key(Qt::Key_F4);
    sample(rgbColor(250, 250, 250));
    key(Qt::Key_G, Qt::ControlModifier);
    key(Qt::Key_F16);
    EXPECT_EQ(w.currentChipIndex(), 16);
    EXPECT_EQ(w.chipColor(4), rgbColor(250, 250, 250));
    EXPECT_TRUE(w.IsChipLocked(4));
    EXPECT_FALSE(w.ChipByIndex(4)->text().isEmpty());
    EXPECT_EQ(w.ChipByIndex(4)->palette().color(QPalette::WindowText), QColor(Qt::black)); // light colour

    QTest::mouseClick(w.ChipByIndex(7), Qt::LeftButton);
    EXPECT_EQ(w.currentChipIndex(), 7);
}

TEST_F(MainWindowTest, CtrlGHoldsTheColourWhileTheScreenChanges)
{
    TfrmMain& w = open();
    sample(rgbColor(0, 0, 128));
    key(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(w.IsChipLocked(1));
    EXPECT_EQ(w.ChipByIndex(1)->palette().color(QPalette::WindowText), QColor(Qt::white)); // dark colour
    const int captures = platform.captureCount();
    sample(rgbColor(255, 255, 0));
    EXPECT_EQ(platform.captureCount(), captures); // a locked chip is never sampled
    EXPECT_EQ(w.windowTitle(), "Tintara - 000080");
    EXPECT_EQ(w.txtRGB->text(), "000080");

    key(Qt::Key_G); // G alone does nothing
    EXPECT_TRUE(w.IsChipLocked(1));
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(w.IsChipLocked(1));
    EXPECT_TRUE(w.ChipByIndex(1)->text().isEmpty());
    platform.setCursorPos(600, 600); // the magnifier captures again once the cursor moves
    w.timTintaraTimer();
    EXPECT_EQ(w.windowTitle(), "Tintara - FFFF00");
}

TEST_F(MainWindowTest, AnUnlockedChipNeverShowsTheColourALockedChipLentTheMagnifier)
{
    TfrmMain& w = open();
    sample(rgbColor(200, 0, 0));
    key(Qt::Key_G, Qt::ControlModifier);
    platform.fillScreen(rgbColor(0, 200, 0)); // the screen changes under a still cursor
    key(Qt::Key_F2);
    EXPECT_EQ(w.chipColor(2), rgbColor(0, 200, 0));
    EXPECT_EQ(w.windowTitle(), "Tintara - 00C800");
    key(Qt::Key_F1);
    key(Qt::Key_G, Qt::ControlModifier); // unlocking: the next tick samples afresh
    w.timTintaraTimer();
    EXPECT_EQ(w.chipColor(1), rgbColor(0, 200, 0));
}

TEST_F(MainWindowTest, PanelsCollapseAndTheWindowFollows)
{
    TfrmMain& w = open();
    const int height = w.height();
    QTest::mouseClick(w.imgToggleMixer, Qt::LeftButton);
    EXPECT_EQ(w.height(), height - 184);
    EXPECT_EQ(w.grpMixer->height(), 11);
    EXPECT_EQ(w.imgToggleMixer->property("tag").toInt(), 1);
    QTest::mouseClick(w.imgToggleMixer, Qt::LeftButton);
    EXPECT_EQ(w.height(), height);
    EXPECT_EQ(w.grpMixer->height(), 195);

    const int magnify = w.grpMagnify->height();
    QTest::mouseClick(w.imgToggleMagnify, Qt::LeftButton);
    EXPECT_EQ(w.grpMagnify->height(), 11);
    EXPECT_EQ(w.height(), height - magnify + 11);
    QTest::mouseClick(w.imgToggleMagnify, Qt::LeftButton);
    EXPECT_EQ(w.grpMagnify->height(), magnify);
}

TEST_F(MainWindowTest, DefaultRunPlacesTheWindowAndWritesTheThirteenEntries)
{
    TfrmMain& w = open();
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(w.pos(), QPoint(200, 150));
    EXPECT_EQ(w.size(), QSize(295, 595));
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(readFile(dir / "Tintara.ini"), "[Options]\r\nX=200\r\nY=150\r\nXOffset=0\r\nYOffset=0\r\nWidth=295\r\n"
                                             "Height=595\r\nFirstRun=0\r\nIs4K=0\r\n\r\n"
                                             "[Panel1]\r\nClosed=0\r\n\r\n[Panel2]\r\nClosed=0\r\n\r\n"
                                             "[Panel3]\r\nClosed=0\r\n\r\n[Panel4]\r\nClosed=0\r\n\r\n"
                                             "[Panel5]\r\nClosed=0\r\n\r\n");
}

TEST_F(MainWindowTest, StoredSettingsComeBackWithoutDrift)
{
    writeFile(dir / "Tintara.ini", "[Options]\r\nX=-40\r\nY=3000\r\nWidth=200\r\nHeight=700\r\nXOffset=5\r\n"
                                   "YOffset=-2\r\n[Panel4]\r\nClosed=1\r\n[Mine]\r\nKeep=yes\r\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.pos(), QPoint(-40, 3000)); // no clamping to the screen
    EXPECT_EQ(w.width(), 295);             // but never narrower than designed
    EXPECT_EQ(w.height(), 700);
    EXPECT_EQ(w.grpMixer->height(), 11);
    EXPECT_EQ(w.pntMagnify->OffsetX(), 5);
    EXPECT_EQ(w.pntMagnify->OffsetY(), -2);
    ASSERT_TRUE(w.FormClose());
    const std::string ini = readFile(dir / "Tintara.ini");
    EXPECT_NE(ini.find("X=-40\r\nY=3000\r\nWidth=295\r\nHeight=700\r\nXOffset=5\r\nYOffset=-2\r\n"), std::string::npos)
        << ini;
    EXPECT_NE(ini.find("[Panel4]\r\nClosed=1\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[Mine]\r\nKeep=yes\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, AMagnifyPanelClosedAtStartReopensWithTheFallbackHeight)
{
    // 421 leaves the Magnify box exactly collapsed-high below the other four boxes.
    writeFile(dir / "Tintara.ini", "[Options]\r\nHeight=421\r\n[Panel5]\r\nClosed=1\r\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.grpMagnify->height(), 11);
    EXPECT_EQ(w.imgToggleMagnify->property("tag").toInt(), 1);
    QTest::mouseClick(w.imgToggleMagnify, Qt::LeftButton);
    EXPECT_EQ(w.height(), 421 + 75);
    EXPECT_EQ(w.grpMagnify->height(), 86);
}

TEST_F(MainWindowTest, FirstRunQuestionSetsFourKOnYesOnly)
{
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        writeFile(dir / "Tintara.ini", "[Options]\r\nFirstRun=1\r\n");
        answerYes = yes;
        questions = 0;
        TfrmMain& w = open();
        EXPECT_EQ(questions, 1);
        EXPECT_EQ(w.pntMagnify->FourK(), yes);
        ASSERT_TRUE(w.FormClose());
        const std::string ini = readFile(dir / "Tintara.ini");
        EXPECT_NE(ini.find("FirstRun=0\r\n"), std::string::npos);
        EXPECT_NE(ini.find(yes ? "Is4K=1\r\n" : "Is4K=0\r\n"), std::string::npos);
        window.reset();
    }
}

TEST_F(MainWindowTest, TheMinimumWidthHoldsForTheUserToo)
{
    TfrmMain& w = open();
    w.resize(100, 400);
    EXPECT_EQ(w.width(), 295);
    EXPECT_EQ(w.height(), 400);
}

} // namespace
} // namespace tintara::testing
