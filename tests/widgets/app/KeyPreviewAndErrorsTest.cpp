// Keys reach the window's preview once whichever control has the focus; entering the palette list
// saves once, and only on a real entry; an error that leaves a handler is reported, not fatal.
#include "MainWindowFixture.h"

#include "app/Application.h"

#include <QCheckBox>
#include <QSlider>

namespace tintara::testing {
namespace {

TintaraApplication& application()
{
    return *static_cast<TintaraApplication*>(QCoreApplication::instance());
}

// The file cannot be replaced any more: every save of the palettes is reported, so they can be counted.
void blockPaletteFile(const std::filesystem::path& dir)
{
    std::filesystem::remove(dir / "palettes.xml");
    std::filesystem::create_directory(dir / "palettes.xml");
}

TEST_F(MainWindowTest, EveryFocusedControlLetsEachKeyThroughToThePreviewOnce)
{
    TfrmMain& w = open();
    for (QWidget* focused : std::initializer_list<QWidget*>{w.ChipByIndex(1), w.txtRGB, w.txtDecRGB, w.txtDecR,
                                                            w.txtDecG, w.txtDecB, w.txtHue, w.cboPalettes}) {
        SCOPED_TRACE(focused->objectName().toStdString());
        key(Qt::Key_F1);
        ASSERT_FALSE(w.IsChipLocked(1));
        focused->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), focused);

        key(Qt::Key_F3);
        EXPECT_EQ(w.currentChipIndex(), 3);
        key(Qt::Key_G, Qt::ControlModifier); // once: locked; twice would leave it unlocked
        EXPECT_TRUE(w.IsChipLocked(3));
        key(Qt::Key_G, Qt::ControlModifier);
        EXPECT_FALSE(w.IsChipLocked(3));
    }
}

TEST_F(MainWindowTest, LockThenTypeAColourFromTheKeyboardInTheHexField)
{
    TfrmMain& w = open();
    sample(rgbColor(0x10, 0x20, 0x30));
    w.txtRGB->setFocus(Qt::MouseFocusReason);
    key(Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(w.IsChipLocked(1));
    typeInto(w.txtRGB, QStringLiteral("C0FFEE"));
    sample(rgbColor(0, 0, 0));
    EXPECT_EQ(w.chipColor(1), rgbColor(0xC0, 0xFF, 0xEE));
    EXPECT_EQ(w.txtRGB->text(), "C0FFEE");
}

TEST_F(MainWindowTest, EnteringThePaletteListSavesOnceAndOnlyOnARealEntry)
{
    TfrmMain& w = open();
    blockPaletteFile(dir);

    w.cboPalettes->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(errors.size(), 1u);
    w.ChipByIndex(1)->setFocus(Qt::MouseFocusReason);
    w.cboPalettes->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(errors.size(), 2u);

    // The list's own popup closing hands the focus back: not an entry.
    w.cboPalettes->showPopup();
    w.cboPalettes->hidePopup();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.cboPalettes);
    EXPECT_EQ(errors.size(), 2u);

    // Nor is the window becoming active again with the list still focused.
    QWidget other;
    other.setGeometry(700, 100, 100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.cboPalettes);
    EXPECT_EQ(errors.size(), 2u);
}

class ErrorBoundaryTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        application().setErrorReporter([this](const QString& message) { reported.push_back(message); });
    }
    void TearDown() override
    {
        application().setErrorReporter(nullptr);
        MainWindowTest::TearDown();
    }
    std::vector<QString> reported;
};

TEST_F(ErrorBoundaryTest, AnUnreadableCursorIsReportedByHandlersAndRetriedByTheTick)
{
    TfrmMain& w = open();
    sample(rgbColor(0x11, 0x22, 0x33));
    platform.setCursorPosFails(true); // the pointer is on another screen

    for (int i = 0; i < 3; ++i)
        w.timTintaraTimer(); // the tick says nothing and tries again
    EXPECT_TRUE(reported.empty());

    key(Qt::Key_F2);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "The cursor position cannot be read");
    // Each of these asks the magnifier for a fresh capture; each reports and the next one still runs.
    QTest::keyClick(w.trkZoom, Qt::Key_Right);
    QTest::mouseClick(w.chkHiLite, Qt::LeftButton);
    QTest::mouseClick(w.chkGrid, Qt::LeftButton);
    QTest::mouseClick(w.ChipByIndex(4), Qt::LeftButton);
    EXPECT_EQ(reported.size(), 5u);
    EXPECT_FALSE(w.chkHiLite->isChecked());
    EXPECT_TRUE(w.chkGrid->isChecked());

    // The program carries on: the cursor comes back and everything works as before.
    platform.setCursorPosFails(false);
    sample(rgbColor(0x44, 0x55, 0x66));
    EXPECT_EQ(w.currentChipIndex(), 4);
    EXPECT_EQ(w.txtRGB->text(), "445566");
    key(Qt::Key_F2);
    EXPECT_EQ(w.currentChipIndex(), 2);
    EXPECT_EQ(w.chipColor(2), rgbColor(0x44, 0x55, 0x66));
    ASSERT_TRUE(w.FormClose());
    EXPECT_TRUE(std::filesystem::exists(dir / "Tintara.ini"));
    EXPECT_TRUE(std::filesystem::exists(dir / "palettes.xml"));
}

TEST_F(ErrorBoundaryTest, AnErrorInsideTheErrorBoxGoesToStderrNotIntoAnotherBox)
{
    int nested = 0;
    application().setErrorReporter([&](const QString& message) {
        reported.push_back(message);
        QTimer::singleShot(0, [&] {
            ++nested;
            throw std::runtime_error("again");
        });
        QCoreApplication::processEvents(); // the box's own event loop
    });
    QTimer::singleShot(0, [] { throw std::runtime_error("first"); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(reported, std::vector<QString>{"first"});
}

} // namespace
} // namespace tintara::testing
