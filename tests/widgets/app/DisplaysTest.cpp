// The colour group, the value strip, CMYK, titles and the sampling loop's status label.
#include "MainWindowFixture.h"

#include "pickers/HColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/VColorPicker.h"

#include <QBackingStore>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace tintara::testing {
namespace {

struct DisplayCase {
    TColor color;
    const char* hex;
    const char* decimal;
    const char* rgb[3];
    const char* cmyk[4];
    const char* swatch;
};

TEST_F(MainWindowTest, EveryDisplayFollowsTheSample)
{
    const DisplayCase cases[] = {
        {rgbColor(0, 0, 0), "000000", "0", {"0", "0", "0"}, {"0", "0", "0", "100"}, "Black\n\nWebSafe"},
        {rgbColor(255, 255, 255),
         "FFFFFF",
         "16777215",
         {"255", "255", "255"},
         {"0", "0", "0", "0"},
         "White\n\nWebSafe"},
        {rgbColor(255, 128, 0), "FF8000", "33023", {"255", "128", "0"}, {"0", "50", "100", "0"}, ""},
        {rgbColor(255, 0, 0), "FF0000", "255", {"255", "0", "0"}, {"0", "100", "100", "0"}, "Red\n\nWebSafe"},
        {rgbColor(0, 0, 1), "000001", "65536", {"0", "0", "1"}, {"100", "100", "0", "100"}, ""},
    };
    TfrmMain& w = open();
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(c.hex);
        sample(c.color);
        EXPECT_EQ(w.txtRGB->text(), c.hex);
        EXPECT_EQ(w.txtDecRGB->text(), c.decimal);
        EXPECT_EQ(w.txtDecR->text(), c.rgb[0]);
        EXPECT_EQ(w.txtDecG->text(), c.rgb[1]);
        EXPECT_EQ(w.txtDecB->text(), c.rgb[2]);
        EXPECT_EQ(w.lblCyan->text(), c.cmyk[0]);
        EXPECT_EQ(w.lblMagenta->text(), c.cmyk[1]);
        EXPECT_EQ(w.lblYellow->text(), c.cmyk[2]);
        EXPECT_EQ(w.lblBlack->text(), c.cmyk[3]);
        EXPECT_EQ(w.txtColorCurrent->text(), c.swatch);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Tintara - ") + c.hex);
        EXPECT_EQ(w.chipColor(1), c.color);
        EXPECT_EQ(w.txtColorCurrent->palette().color(QPalette::Window),
                  QColor(redOf(c.color), greenOf(c.color), blueOf(c.color)));
    }
    // Dark colours get white text on the swatch, light ones black.
    sample(rgbColor(0, 0, 255));
    EXPECT_EQ(w.txtColorCurrent->palette().color(QPalette::WindowText), QColor(Qt::white));
    sample(rgbColor(201, 0, 0));
    EXPECT_EQ(w.txtColorCurrent->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(MainWindowTest, SlidersAndHsvFieldsFollowTheSample)
{
    TfrmMain& w = open();
    sample(rgbColor(255, 128, 0));
    EXPECT_EQ(w.txtHue->text(), "30");
    EXPECT_EQ(w.txtSaturation->text(), "255");
    EXPECT_EQ(w.txtValue->text(), "255");
    EXPECT_EQ(w.HueColorPicker->Hue(), 30);
    // Coupled: each slider's fixed channels are the other two sliders' values.
    EXPECT_EQ(w.ValColorPicker->Hue(), 30);
    EXPECT_EQ(w.SatColorPicker->Value(), 255);

    w.pagesMixer->setCurrentWidget(w.tabSliders);
    EXPECT_EQ(w.RedColorPicker->Value(), 255);
    EXPECT_EQ(w.GreenColorPicker->Value(), 128);
    EXPECT_EQ(w.BlueColorPicker->Value(), 0);
    sample(rgbColor(10, 20, 30));
    EXPECT_EQ(w.GreenColorPicker->Value(), 20);
}

TEST_F(MainWindowTest, AStillCursorWritesNothing)
{
    TfrmMain& w = open();
    sample(rgbColor(12, 34, 56));
    w.txtDecR->setFocus();
    w.txtDecR->setCursorPosition(1);
    const int captures = platform.captureCount();
    w.timTintaraTimer();
    w.timTintaraTimer();
    EXPECT_EQ(platform.captureCount(), captures);
    EXPECT_EQ(w.txtDecR->cursorPosition(), 1); // unchanged text is not rewritten, so the caret stays
}

// A read-out rewritten while another control has the focus shows its caret at the start once it gets
// the focus; coming back to the window does not move the caret of a field being edited.
TEST_F(MainWindowTest, ARewrittenReadOutGetsTheFocusWithTheCaretAtTheStart)
{
    TfrmMain& w = open();
    sample(rgbColor(12, 34, 56));
    w.txtRGB->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(w.txtRGB->cursorPosition(), 0);
    w.txtRGB->setCursorPosition(3);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w.txtRGB, &out);
    QApplication::sendEvent(w.txtRGB, &in);
    EXPECT_EQ(w.txtRGB->cursorPosition(), 3);
}

TEST_F(MainWindowTest, CopyPutsHexOrDecimalOnTheClipboard)
{
    TfrmMain& w = open();
    sample(rgbColor(255, 128, 0));
    w.cmdCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "FF8000");
    w.cmdHash->click();
    ASSERT_TRUE(w.cmdHash->isChecked());
    w.cmdCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "#FF8000");
    EXPECT_EQ(w.txtRGB->text(), "FF8000");
    w.cmdCopyDec->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "33023");
    EXPECT_EQ(QApplication::focusWidget(), w.ChipByIndex(1));
}

TEST_F(MainWindowTest, WebSnapRoundsALockedChipToWebSafe)
{
    TfrmMain& w = open();
    sample(rgbColor(100, 150, 200));
    EXPECT_FALSE(w.cmdSnap->isVisibleTo(&w)); // unlocked: no snap
    key(Qt::Key_G, Qt::ControlModifier);
    ASSERT_TRUE(w.IsChipLocked(1));
    EXPECT_TRUE(w.cmdSnap->isVisibleTo(&w));
    w.cmdSnap->click();
    EXPECT_EQ(w.chipColor(1), rgbColor(102, 153, 204));
    EXPECT_EQ(w.txtRGB->text(), "6699CC");
    EXPECT_FALSE(w.cmdSnap->isVisibleTo(&w));
    EXPECT_EQ(w.txtColorCurrent->text(), "\n\nWebSafe");

    // 25 rounds down, 26 up; a field that is no number stops the snap with an error.
    w.txtDecR->setText("25");
    w.txtDecG->setText("26");
    w.txtDecB->setText("x");
    w.cmdSnap->click();
    EXPECT_EQ(w.txtDecR->text(), "0");
    EXPECT_EQ(w.txtDecG->text(), "51");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "'x' is not a valid integer value");
    EXPECT_EQ(w.chipColor(1), rgbColor(102, 153, 204));
}

TEST_F(MainWindowTest, TypedEntryChangesALockedChip)
{
    TfrmMain& w = open();
    sample(rgbColor(1, 2, 3));
    key(Qt::Key_G, Qt::ControlModifier);

    // Key by key: nothing happens until the sixth character, then the field is rewritten canonically.
    typeInto(w.txtRGB, "ff800");
    EXPECT_EQ(w.chipColor(1), rgbColor(1, 2, 3));
    QTest::keyClicks(w.txtRGB, "0");
    EXPECT_EQ(w.chipColor(1), rgbColor(255, 128, 0));
    EXPECT_EQ(w.txtRGB->text(), "FF8000");
    EXPECT_EQ(w.txtRGB->cursorPosition(), 0);

    struct Entry {
        QLineEdit* field;
        const char* text;
        TColor expected; // the chip's colour afterwards
    };
    const Entry entries[] = {
        {w.txtRGB, "GG0000", rgbColor(255, 128, 0)},
        {w.txtRGB, "00ff00", rgbColor(0, 255, 0)},
        {w.txtDecRGB, "255", rgbColor(255, 0, 0)},
        {w.txtDecRGB, "16777216", rgbColor(255, 0, 0)}, // beyond the colour range: ignored
        {w.txtDecRGB, "-1", rgbColor(255, 0, 0)},
        {w.txtDecG, "007", rgbColor(255, 7, 0)},
        {w.txtDecB, "256", rgbColor(255, 7, 0)},
        {w.txtDecB, "-1", rgbColor(255, 7, 0)},
        {w.txtDecB, "1a", rgbColor(255, 7, 0)},
        {w.txtDecB, "", rgbColor(255, 7, 0)},
        {w.txtHue, "100", rgbColor(255, 7, 0)}, // the H/S/V fields only display
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.text);
        e.field->setFocus();
        e.field->setText(QString::fromLatin1(e.text));
        QTest::keyRelease(e.field, Qt::Key_0);
        EXPECT_EQ(w.chipColor(1), e.expected);
    }
    EXPECT_EQ(w.txtDecG->text(), "7");
}

TEST_F(MainWindowTest, TypedEntryOnAnUnlockedChipFallsBackToTheSample)
{
    TfrmMain& w = open();
    sample(rgbColor(9, 9, 9));
    typeInto(w.txtDecR, "200");
    EXPECT_EQ(w.txtDecR->text(), "9");
    EXPECT_EQ(w.chipColor(1), rgbColor(9, 9, 9));
    // An entry that is not complete yet stays until the next tick, which rewrites it from the
    // sample although the sample did not change.
    typeInto(w.txtDecR, "x");
    typeInto(w.txtHue, "77");
    EXPECT_EQ(w.txtDecR->text(), "x");
    EXPECT_EQ(w.txtHue->text(), "77");
    w.timTintaraTimer();
    EXPECT_EQ(w.txtDecR->text(), "9");
    EXPECT_EQ(w.txtHue->text(), "0");
}

TEST_F(MainWindowTest, StatusLabelPulsesWhileAnotherWindowIsInFront)
{
    TfrmMain& w = open();
    platform.setForeground(false);
    int low = 255, high = 0;
    for (int i = 0; i < 200; ++i) {
        w.timTintaraTimer();
        const QColor bg = w.lblCtrlH->palette().color(QPalette::Window);
        EXPECT_EQ(bg.green(), 0);
        if (i > 60) {
            low = std::min(low, bg.red());
            high = std::max(high, bg.red());
        }
    }
    // The swing turns just outside 140 and 200, whatever red the button face starts from.
    EXPECT_GE(low, 138);
    EXPECT_LE(low, 139);
    EXPECT_GE(high, 201);
    EXPECT_LE(high, 202);
    EXPECT_EQ(w.lblCtrlH->text(), "Click this Tintara window to start grabbing colors");
    EXPECT_EQ(w.lblCtrlH->palette().color(QPalette::WindowText), QColor(Qt::white));

    platform.setForeground(true);
    w.timTintaraTimer();
    EXPECT_EQ(w.lblCtrlH->text(), "Press Ctrl and G on your keyboard to grab a Color");
    EXPECT_EQ(w.lblCtrlH->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    key(Qt::Key_G, Qt::ControlModifier);
    w.timTintaraTimer();
    EXPECT_EQ(w.lblCtrlH->text(), "Press Ctrl and G on your keyboard to ungrab a Color");
}

// While another window is active and the colour changes on every tick, the pulse's repaints share the
// window updates in which the displays follow the colour (every 40 ms) instead of adding updates of
// their own, except at the swing's turns; the pulse keeps its pace. Also when the ticks come late, and
// when the cursor moves on every other tick only (a hand's pace).
TEST_F(MainWindowTest, ThePulseJoinsTheDisplaysUpdatesWhileTheColourMoves)
{
    struct UpdateCounter : QObject {
        int updates = 0;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::UpdateRequest)
                ++updates;
            return QObject::eventFilter(watched, event);
        }
    };
    platform.setPresentsPictures(true); // as on X: the magnifier costs the toolkit no update
    TfrmMain& w = open();
    platform.setForeground(false);
    constexpr int kTicks = 300;
    constexpr int kTurns = kTicks / 30 + 1;
    for (const auto& [tickMs, moveEvery] : {std::pair{10, 1}, {15, 1}, {10, 2}}) {
        SCOPED_TRACE(tickMs);
        SCOPED_TRACE(moveEvery);
        platform.setClockStepMs(tickMs);
        sample(rgbColor(1, 2, 3));
        QApplication::processEvents();
        UpdateCounter counter;
        w.installEventFilter(&counter);
        int pulseSteps = 0;
        QColor shown = w.lblCtrlH->palette().color(QPalette::Window);
        for (int t = 0; t < kTicks; ++t) {
            if (t % moveEvery == 0)
                sample(rgbColor(t & 0xFF, (t * 7) & 0xFF, 0x40));
            else
                w.timTintaraTimer();
            QApplication::processEvents();
            const QColor now = w.lblCtrlH->palette().color(QPalette::Window);
            pulseSteps += now != shown;
            shown = now;
        }
        w.removeEventFilter(&counter);
        const int displayUpdates = (kTicks * tickMs + 39) / 40;
        EXPECT_LE(counter.updates, displayUpdates + kTurns);
        EXPECT_GE(pulseSteps, kTicks / 7);
        EXPECT_LE(pulseSteps, kTicks / 4);
    }
}

TEST_F(MainWindowTest, MinimisingStopsTheLoopAndRestoringStartsIt)
{
    TfrmMain& w = open();
    w.timTintara->start();
    w.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(w.timTintara->isActive());
    EXPECT_EQ(w.windowIconText(), "Tintara"); // the taskbar's text while minimised
    w.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(w.timTintara->isActive());
    w.timTintara->stop();
    // With the cursor still nothing is sampled anew, yet the first tick brings the taskbar title back.
    w.timTintaraTimer();
    EXPECT_EQ(w.windowIconText(), w.windowTitle());
    EXPECT_EQ(w.windowIconText(), "Tintara - 000000");
    w.timTintara->stop();
}

// Ticks 10 ms apart over a screen whose every pixel differs: the read-outs show every tick; the
// window title, the taskbar's title and the read-outs' texts as other programs read them (through the
// line edit, as a screen reader does) follow at most every 100 ms, and they end on the colour shown.
TEST_F(MainWindowTest, TheTitleFollowsAMovingColourAtItsCadenceAndEndsOnIt)
{
    TfrmMain& w = open();
    const auto readBy = [](ReadoutEdit* readout) { return static_cast<QLineEdit*>(readout)->text(); };
    platform.setClockStepMs(10);
    platform.advanceClockMs(1000); // a pause since the window showed its first colour
    sample(rgbColor(0x11, 0x22, 0x33));
    EXPECT_EQ(w.windowTitle(), "Tintara - 112233"); // the first change after a pause shows at once
    EXPECT_EQ(w.windowIconText(), "Tintara - 112233");
    EXPECT_EQ(readBy(w.txtRGB), "112233");
    sample(rgbColor(0x44, 0x55, 0x66));
    EXPECT_EQ(w.txtRGB->text(), "445566");
    EXPECT_EQ(w.windowTitle(), "Tintara - 112233");
    EXPECT_EQ(readBy(w.txtRGB), "112233");
    for (int t = 0; t < 8; ++t)
        w.timTintaraTimer(); // the cursor rests; 90 ms since the title was written
    EXPECT_EQ(w.windowTitle(), "Tintara - 112233");
    EXPECT_EQ(readBy(w.txtDecG), "34");
    w.timTintaraTimer();
    EXPECT_EQ(w.windowTitle(), "Tintara - 445566");
    EXPECT_EQ(w.windowIconText(), "Tintara - 445566");
    for (ReadoutEdit* readout : {w.txtRGB, w.txtDecRGB, w.txtHue, w.txtSaturation, w.txtValue, w.txtDecR, w.txtDecG, w.txtDecB})
        EXPECT_EQ(readBy(readout), readout->text()) << readout->objectName().toStdString();
    for (ReadoutLabel* label : {w.lblCyan, w.lblMagenta, w.lblYellow, w.lblBlack})
        EXPECT_EQ(label->QLabel::text(), label->text()) << label->objectName().toStdString();
    // A user's choice of a chip shows at once.
    sample(rgbColor(0x77, 0x88, 0x99));
    w.SelectChip(2);
    EXPECT_EQ(w.windowTitle(), "Tintara - 778899");
    EXPECT_EQ(readBy(w.txtDecB), "153");
}

// While the colour keeps changing, the read-outs, the chip and the swatch take every tick's colour
// but repaint at most every 40 ms; the magnifier repaints every tick. A field with the focus, a resized
// window and the end of the movement show what they hold.
TEST_F(MainWindowTest, TheDisplaysRepaintAtTheirCadenceAndEndOnTheColourShown)
{
    TfrmMain& w = open();
    const QList<QWidget*> held = {w.txtRGB,    w.txtDecRGB,  w.txtHue,    w.txtSaturation,
                                  w.txtValue,  w.txtDecR,    w.txtDecG,   w.txtDecB,
                                  w.lblCyan,   w.lblMagenta, w.lblYellow, w.lblBlack,
                                  w.txtColorCurrent, w.chipLabels[w.currentChipIndex()]};
    const auto onScreen = [&w](QWidget* c) {
        QApplication::processEvents();
        const QImage* store = static_cast<const QImage*>(w.backingStore()->paintDevice());
        return store->copy(QRect(c->mapTo(&w, QPoint(0, 0)), c->size())).convertToFormat(QImage::Format_RGB32);
    };
    const auto asItIs = [](QWidget* c) { return c->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    // The chip's and the swatch's colours wait with their pictures; compared with the image alone, a
    // colour never set would look shown.
    const auto shownAsTheyAre = [&](const char* when, TColor colour) {
        for (QWidget* r : held)
            EXPECT_TRUE(onScreen(r) == asItIs(r)) << when << ": " << r->objectName().toStdString();
        const QColor want(redOf(colour), greenOf(colour), blueOf(colour));
        EXPECT_EQ(w.txtColorCurrent->palette().color(QPalette::Window), want) << when;
        EXPECT_EQ(w.chipLabels[w.currentChipIndex()]->palette().color(QPalette::Window), want) << when;
    };
    platform.setClockStepMs(10);
    platform.advanceClockMs(1000);
    sample(rgbColor(0x11, 0x22, 0x33)); // the first change after a pause shows at once
    shownAsTheyAre("after a pause", rgbColor(0x11, 0x22, 0x33));
    const QImage hexBefore = onScreen(w.txtRGB);
    const QImage magnifierBefore = onScreen(w.pntMagnify);
    sample(rgbColor(0xC4, 0x55, 0x66));
    EXPECT_EQ(w.txtRGB->text(), "C45566");
    EXPECT_EQ(w.lblCyan->text(), "0");
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rgbColor(0xC4, 0x55, 0x66));
    EXPECT_TRUE(onScreen(w.txtRGB) == hexBefore);
    EXPECT_FALSE(onScreen(w.pntMagnify) == magnifierBefore);

    w.repaint(); // an expose of the whole window leaves the digits as they were, not a hole
    EXPECT_TRUE(onScreen(w.txtRGB) == hexBefore);

    sample(rgbColor(0x20, 0x30, 0x40));
    w.resize(w.width(), w.height() + 1);
    shownAsTheyAre("after a resize", rgbColor(0x20, 0x30, 0x40));

    w.txtDecR->setFocus();
    sample(rgbColor(0x21, 0x31, 0x41));
    EXPECT_TRUE(onScreen(w.txtDecR) == asItIs(w.txtDecR));
    EXPECT_FALSE(onScreen(w.txtDecG) == asItIs(w.txtDecG));
    w.txtDecR->clearFocus();

    for (int t = 0; t < 5; ++t)
        w.timTintaraTimer(); // the cursor rests: 40 ms, and a tick of rest
    shownAsTheyAre("once the cursor rests", rgbColor(0x21, 0x31, 0x41));
}

TEST_F(MainWindowTest, ZoomAndPointSettingsReachTheMagnifier)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.pntMagnify->Magnification(), 6);
    EXPECT_EQ(w.trkZoom->value(), 5);
    EXPECT_EQ(w.lblZoom->text(), "x6");
    for (const auto& [position, magnification, rest] : {std::tuple{10, 10, 9}, {9, 10, 9}, {36, 36, 35}, {1, 2, 1}}) {
        w.trkZoom->setValue(position);
        EXPECT_EQ(w.pntMagnify->Magnification(), magnification) << position;
        EXPECT_EQ(w.trkZoom->value(), rest) << position;
        EXPECT_EQ(w.lblZoom->text(), QStringLiteral("x%1").arg(magnification));
    }
    w.trkPoint->setValue(1);
    EXPECT_EQ(w.pntMagnify->PointSize(), 3);
    EXPECT_EQ(w.lblPoint->text(), "Point 3");
    EXPECT_EQ(QApplication::focusWidget(), w.ChipByIndex(1));

    chosenColor = std::nullopt; // Cancel keeps the colour
    w.txtHiLiteClick();
    EXPECT_EQ(w.pntMagnify->HiLiteColor(), clMaroon);
    chosenColor = rgbColor(0, 255, 0);
    w.txtGridClick();
    EXPECT_EQ(w.pntMagnify->GridColor(), rgbColor(0, 255, 0));
    EXPECT_EQ(w.txtGrid->palette().color(QPalette::Window), QColor(0, 255, 0));
}

TEST_F(MainWindowTest, ArrowKeysOnAChipMoveTheCursorButNotInAField)
{
    TfrmMain& w = open();
    w.ChipByIndex(1)->setFocus();
    platform.setCursorPos(100, 100);
    key(Qt::Key_Left);
    key(Qt::Key_Down);
    EXPECT_EQ(platform.cursor(), (TPoint{99, 101}));
    w.txtRGB->setFocus();
    key(Qt::Key_Right);
    EXPECT_EQ(platform.cursor(), (TPoint{99, 101}));
}

TEST_F(MainWindowTest, TheStatusBarKeepsItsHeightAndOpensTheToolsPageFromAnywhere)
{
    TfrmMain& w = open();
    for (const int height : {595, 300, 40}) {
        SCOPED_TRACE(height);
        w.resize(295, height);
        EXPECT_EQ(w.statusBar->geometry(), QRect(0, height - 17, 295, 17));
        EXPECT_TRUE(w.statusBar->isVisible());
        // The panel fills the bar's height and shows its whole text; the client panel is what gets cut.
        EXPECT_EQ(w.statusLink->geometry().top(), 0);
        EXPECT_EQ(w.statusLink->height(), 17);
        EXPECT_GE(w.statusLink->height(), w.statusLink->sizeHint().height());
        EXPECT_GE(w.statusLink->width(), std::max(100, w.statusLink->sizeHint().width()));
        EXPECT_LE(w.panMain->geometry().bottom(), w.statusBar->geometry().top() - 1);
    }
    w.resize(295, 595);

    QTest::mouseClick(w.statusLink, Qt::LeftButton);
    EXPECT_EQ(platform.openedUrls().size(), 1u);
    QTest::mouseClick(w.statusBar, Qt::LeftButton, {}, QPoint(280, 8)); // right of the panel
    EXPECT_EQ(platform.openedUrls().size(), 2u);
    QTest::mouseClick(w.statusBar, Qt::RightButton, {}, QPoint(280, 8));
    EXPECT_EQ(platform.openedUrls().size(), 2u);
}

} // namespace
} // namespace tintara::testing
