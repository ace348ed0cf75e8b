// The mixer drives the current colour: operating a picker locks the current chip and takes the
// picker's colour into it, and every display follows.
#include "MainWindowFixture.h"
#include "PickerInput.h"

#include "pickers/HColorPicker.h"
#include "pickers/HSColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/HexaColorPicker.h"
#include "pickers/LColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/SLColorPicker.h"
#include "pickers/SLHColorPicker.h"
#include "pickers/VColorPicker.h"

#include <QBackingStore>
#include <QGroupBox>
#include <QPaintEvent>

#include <algorithm>
#include <vector>

namespace tintara::testing {
namespace {

using namespace testinput;

// Wheel events land in the middle of the control.
bool wheelOver(QWidget* w, int delta)
{
    return wheel(w, delta, QPoint(w->width() / 2, w->height() / 2));
}

QString hexOf(TColor c)
{
    return QString::asprintf("%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
}

// Combs of the 142 x 138 hexagon: the one just east of the centre and the next one east.
constexpr QPoint kEast(69, 53);
constexpr QPoint kEast2(78, 53);
constexpr TColor kEastColor = rgbColor(255, 212, 255);

// Counts the area of every paint a control gets.
class PaintAreas : public QObject {
public:
    explicit PaintAreas(QWidget* w) { w->installEventFilter(this); }
    int largest = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            int area = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                area += r.width() * r.height();
            largest = std::max(largest, area);
        }
        return false;
    }
};

} // namespace

TEST_F(MainWindowTest, TheHexagonFollowsTheSampleWhileItsTabIsShown)
{
    TfrmMain& w = open();
    THexaColorPicker* hex = w.HexColorPicker;
    EXPECT_EQ(w.pagesMixer->currentWidget(), w.tabHex);
    EXPECT_EQ(hex->geometry(), QRect(17, 31, 142, 138));
    sample(kEastColor);
    EXPECT_EQ(hex->SelectedColor(), kEastColor);
    EXPECT_EQ(hex->model().SelectedComb(), 2);
    sample(rgbColor(1, 2, 3)); // no comb has it: nothing outlined
    EXPECT_FALSE(hex->model().SelectionMatched());

    // A hidden tab's picker is left alone and catches up when shown.
    w.pagesMixer->setCurrentWidget(w.tabSliders);
    sample(kEastColor);
    EXPECT_EQ(hex->SelectedColor(), rgbColor(1, 2, 3));
    w.pagesMixer->setCurrentWidget(w.tabHex);
    EXPECT_EQ(hex->SelectedColor(), kEastColor);
}

TEST_F(MainWindowTest, PressingAndDraggingTheHexagonMixesIntoALockedChip)
{
    TfrmMain& w = open();
    sample(rgbColor(10, 20, 30));
    THexaColorPicker* hex = w.HexColorPicker;
    sendMouse(hex, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, kEast2);
    const TColor east2 = hex->ColorUnderCursor();
    sendMouse(hex, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, kEast2);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), east2);
    EXPECT_EQ(w.windowTitle(), "Tintara - " + hexOf(east2));

    // The chip follows a mouse message behind the picker, and the refresh never pushes back.
    sendMouse(hex, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, kEast);
    sendMouse(hex, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, kEast);
    EXPECT_EQ(hex->SelectedColor(), kEastColor);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), kEastColor);
    EXPECT_EQ(w.txtRGB->text(), "FFD4FF");
    EXPECT_EQ(w.txtDecRGB->text(), QString::number(kEastColor));
    EXPECT_EQ(w.txtHue->text(), QString::number(w.HueColorPicker->Hue()));
    sendMouse(hex, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, kEast);

    sample(rgbColor(1, 2, 3));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), kEastColor);
}

TEST_F(MainWindowTest, TheWheelOverTheHexagonStepsTheIntensityAndNeverStoresNoColour)
{
    TfrmMain& w = open();
    THexaColorPicker* hex = w.HexColorPicker;
    sample(kEastColor);
    EXPECT_TRUE(wheelOver(hex, -120));
    EXPECT_EQ(hex->Intensity(), 99);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    const TColor dimmed = hex->SelectedColor();
    EXPECT_NE(dimmed, kEastColor);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), dimmed);
    EXPECT_TRUE(wheelOver(hex, 120));
    EXPECT_EQ(hex->Intensity(), 100);

    // With no comb selected an intensity change leaves the hexagon without a colour; the chip keeps its own.
    w.SetChipLocked(false);
    sample(rgbColor(1, 2, 3));
    EXPECT_TRUE(wheelOver(hex, -120));
    EXPECT_EQ(hex->SelectedColor(), clNone);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rgbColor(1, 2, 3));
    EXPECT_EQ(w.txtRGB->text(), "010203");
}

TEST_F(MainWindowTest, AnArrowKeyOnTheHexagonLocksTheChip)
{
    TfrmMain& w = open();
    sample(kEastColor);
    w.HexColorPicker->setFocus();
    key(Qt::Key_Right);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), w.HexColorPicker->SelectedColor());
}

TEST_F(MainWindowTest, PressingAndDraggingTheRainbowFieldMixesIntoALockedChip)
{
    TfrmMain& w = open();
    sample(rgbColor(0, 128, 0));
    THSLColorPicker* rainbow = w.HSLColorPicker;
    EXPECT_EQ(rainbow->geometry(), QRect(10, 26, 169, 143));
    w.pagesMixer->setCurrentWidget(w.tabRainbow);
    EXPECT_EQ(rainbow->Hue(), 80); // caught up on show: green on the 0..239 hue scale

    QWidget* field = rainbow->field();
    sendMouse(field, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(84, 0));
    const TColor pressed = rainbow->SelectedColor();
    EXPECT_EQ(rainbow->Hue(), rainbow->field()->HueValue()); // taken after the field's repaint
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), pressed);
    EXPECT_EQ(w.windowTitle(), "Tintara - " + hexOf(pressed));

    sendMouse(field, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(20, 60));
    QApplication::processEvents(); // the field reports from its repaint
    sendMouse(field, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(20, 60));
    const TColor dragged = rainbow->SelectedColor();
    EXPECT_NE(dragged, pressed);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), dragged);
    EXPECT_EQ(w.txtRGB->text(), hexOf(dragged));
    sendMouse(field, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(20, 60));

    // A wheel notch away from the user raises the luminance by one and takes the colour.
    const int luminance = rainbow->Luminance();
    EXPECT_TRUE(wheelOver(rainbow->slider(), 120));
    EXPECT_EQ(rainbow->Luminance(), luminance + 1);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rainbow->SelectedColor());

    sample(rgbColor(1, 2, 3));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rainbow->SelectedColor());
}

TEST_F(MainWindowTest, TheHueTabMixesFromItsFieldAndItsWheelLowersTheHue)
{
    TfrmMain& w = open();
    TSLHColorPicker* hue = w.SLHColorPicker;
    EXPECT_EQ(hue->geometry(), QRect(10, 26, 169, 143));
    EXPECT_EQ(hue->SelectedColor(), clFuchsia);
    sample(rgbColor(0, 0, 255));
    EXPECT_EQ(hue->SelectedColor(), clFuchsia); // hidden: left alone
    w.pagesMixer->setCurrentWidget(w.tabHue);
    EXPECT_EQ(hue->Hue(), 240);
    EXPECT_EQ(hue->slider()->Hue(), 240);

    sendMouse(hue->field(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(63, 40));
    const TColor pressed = hue->SelectedColor();
    EXPECT_NE(pressed, rgbColor(0, 0, 255));
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), pressed);
    sendMouse(hue->field(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(63, 40));

    // The hue slider reports a press from its next repaint; the colour taken is the one after it.
    sendMouse(hue->slider(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(13, 30));
    EXPECT_NE(hue->Hue(), 240);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), hue->SelectedColor());
    sendMouse(hue->slider(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(13, 30));
    hue->setSelectedColor(rgbColor(0, 0, 255));

    EXPECT_TRUE(wheelOver(hue->slider(), 120));
    EXPECT_EQ(hue->Hue(), 239);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), hue->SelectedColor());
    EXPECT_TRUE(wheelOver(hue->slider(), -120));
    EXPECT_EQ(hue->Hue(), 240);
}

TEST_F(MainWindowTest, DraggingTheGreenSliderChangesOnlyTheGreenByte)
{
    TfrmMain& w = open();
    sample(rgbColor(0x33, 0x66, 0x99));
    w.pagesMixer->setCurrentWidget(w.tabSliders);
    EXPECT_EQ(w.GreenColorPicker->Value(), 0x66);             // the shown tab catches up
    EXPECT_EQ(QApplication::focusWidget(), w.ChipByIndex(1)); // a tab change hands the focus to the first chip

    TVColorPicker* green = w.GreenColorPicker;
    QTest::mousePress(green, Qt::LeftButton, {}, QPoint(13, 20));
    QTest::mouseMove(green, QPoint(13, 30));
    const int dragged = green->Value();
    EXPECT_NE(dragged, 0x66);
    QTest::mouseRelease(green, Qt::LeftButton, {}, QPoint(13, 30));

    const TColor mixed = rgbColor(0x33, dragged, 0x99);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), mixed);
    EXPECT_EQ(w.txtRGB->text(), hexOf(mixed));
    EXPECT_EQ(w.txtDecRGB->text(), QString::number(mixed));
    EXPECT_EQ(w.txtDecG->text(), QString::number(dragged));
    EXPECT_EQ(w.windowTitle(), "Tintara - " + hexOf(mixed));

    // The sampling loop leaves the locked chip alone.
    sample(rgbColor(1, 2, 3));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), mixed);
    EXPECT_EQ(w.GreenColorPicker->Value(), dragged);
}

TEST_F(MainWindowTest, DraggingTheHsvSlidersMixesTheirColourAndIsNotPushedBack)
{
    TfrmMain& w = open();
    sample(rgbColor(255, 0, 0));
    w.pagesMixer->setCurrentWidget(w.tabSliders);
    THColorPicker* hue = w.HueColorPicker;
    QTest::mousePress(hue, Qt::LeftButton, {}, QPoint(13, 40));
    const int pressedHue = hue->Hue();
    QTest::mouseMove(hue, QPoint(13, 70));
    const int draggedHue = hue->Hue();
    EXPECT_NE(pressedHue, draggedHue);
    // The refresh of the mixed colour does not move the slider being dragged.
    EXPECT_EQ(w.txtHue->text(), QString::number(draggedHue));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), w.ValColorPicker->SelectedColor());
    EXPECT_EQ(w.ValColorPicker->Hue(), draggedHue);
    QTest::mouseRelease(hue, Qt::LeftButton, {}, QPoint(13, 70));
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
}

TEST_F(MainWindowTest, ATickThatRunsWhileTheMixerLetsEventsRunDoesNotUndoThePress)
{
    TfrmMain& w = open();
    sample(rgbColor(0, 128, 0));
    w.pagesMixer->setCurrentWidget(w.tabRainbow);
    platform.fillScreen(rgbColor(1, 2, 3));
    platform.setCursorPos(700, 700);
    // The tick is queued, so it runs while the press lets pending events run, before the chip is locked:
    // it samples the screen but must not push that colour into the picker being pressed.
    QMetaObject::invokeMethod(&w, &TfrmMain::timTintaraTimer, Qt::QueuedConnection);
    THSLColorPicker* rainbow = w.HSLColorPicker;
    sendMouse(rainbow->field(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(84, 0));
    EXPECT_EQ(rainbow->Hue(), rainbow->field()->HueValue());
    EXPECT_EQ(rainbow->Saturation(), 240);
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rainbow->SelectedColor());
    sendMouse(rainbow->field(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(84, 0));
}

TEST_F(MainWindowTest, WheelOverASliderStepsOneUnitInItsDirection)
{
    struct Case {
        const char* slider;
        int delta;
        int step;
    };
    const Case cases[] = {
        {"HueColorPicker", 120, -1},    {"HueColorPicker", -120, 1}, {"SatColorPicker", 120, -1},
        {"ValColorPicker", 120, 1},     {"ValColorPicker", -30, -1}, {"RedColorPicker", 120, 1},
        {"GreenColorPicker", -120, -1}, {"BlueColorPicker", 360, 1},
    };
    TfrmMain& w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        w.SetChipLocked(false);
        sample(rgbColor(100, 150, 50));
        w.pagesMixer->setCurrentWidget(w.tabSliders);
        auto* slider = w.findChild<HsvSliderPicker*>(QLatin1String(c.slider));
        ASSERT_NE(slider, nullptr);
        const auto own = [&] {
            if (QLatin1String(c.slider) == QLatin1String("HueColorPicker"))
                return slider->Hue();
            if (QLatin1String(c.slider) == QLatin1String("SatColorPicker"))
                return slider->Saturation();
            return slider->Value();
        };
        const int before = own();
        EXPECT_TRUE(wheelOver(slider, c.delta));
        EXPECT_EQ(own(), before + c.step);
        EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
        // The flag is clear again: the next forced refresh moves the slider to the chip's colour.
        EXPECT_EQ(w.txtHue->text(), QString::number(w.HueColorPicker->Hue()));
    }
    // The red, green and blue sliders are the channels of the mixed colour.
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rgbColor(100, 150, 51));
}

TEST_F(MainWindowTest, AnArrowKeyOnASliderLocksTheChipEvenWhenNothingMoves)
{
    TfrmMain& w = open();
    sample(rgbColor(0, 0, 255));
    w.pagesMixer->setCurrentWidget(w.tabSliders);
    w.BlueColorPicker->setFocus();
    ASSERT_EQ(w.BlueColorPicker->Value(), 255);
    key(Qt::Key_Up); // already at the top
    EXPECT_TRUE(w.IsChipLocked(w.currentChipIndex()));
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rgbColor(0, 0, 255));
    key(Qt::Key_Down);
    EXPECT_EQ(w.chipColor(w.currentChipIndex()), rgbColor(0, 0, w.BlueColorPicker->Value()));
    EXPECT_LT(w.BlueColorPicker->Value(), 255);
}

// Ticks 10 ms apart, each on a new colour: the values and read-outs follow every tick, the pickers'
// pictures at most every 40 ms, ending on the colour shown; a user's action shows at once.
TEST_F(MainWindowTest, TheMixerFollowsAMovingColourAtItsCadence)
{
    TfrmMain& w = open();
    w.pagesMixer->setCurrentWidget(w.tabHue);
    const auto heldBack = [&w] {
        const auto pickers = w.grpMixer->findChildren<PickerBase*>();
        return std::any_of(pickers.begin(), pickers.end(), [](PickerBase* p) { return p->hasHeldBackRepaint(); });
    };
    platform.setClockStepMs(10);
    platform.advanceClockMs(1000); // a pause
    sample(rgbColor(200, 40, 40));
    EXPECT_FALSE(heldBack()); // the first change after a pause shows at once
    sample(rgbColor(40, 200, 40));
    EXPECT_TRUE(heldBack());
    EXPECT_EQ(w.txtHue->text(), "120");
    EXPECT_EQ(w.SLHColorPicker->Hue(), 120);
    w.timTintaraTimer();
    w.timTintaraTimer(); // the cursor rests; 30 ms since the pickers were painted
    EXPECT_TRUE(heldBack());
    w.timTintaraTimer();
    EXPECT_FALSE(heldBack());
    sample(rgbColor(40, 40, 200));
    EXPECT_TRUE(heldBack());
    w.SelectChip(2);
    EXPECT_FALSE(heldBack());
}

// What the pickers' cadence held back goes out with a tick that repaints anyway: a tick that finds
// the cursor resting right after a move leaves it to the next tick, which usually brings a move;
// while the cursor rests it goes out a tick late at most.
TEST_F(MainWindowTest, AHeldBackPictureWaitsATickForTheNextMove)
{
    TfrmMain& w = open();
    w.pagesMixer->setCurrentWidget(w.tabRainbow);
    PickerBase* field = w.HSLColorPicker->field();
    platform.setClockStepMs(10);
    platform.advanceClockMs(1000);
    sample(rgbColor(200, 40, 40)); // painted at once after the pause
    sample(rgbColor(40, 200, 40));
    w.timTintaraTimer();
    sample(rgbColor(40, 40, 200));
    ASSERT_TRUE(field->hasHeldBackRepaint());
    w.timTintaraTimer(); // 40 ms since the last picture, but the cursor rests right after a move
    EXPECT_TRUE(field->hasHeldBackRepaint());
    sample(rgbColor(200, 200, 40)); // the move goes out with the pictures
    EXPECT_FALSE(field->hasHeldBackRepaint());
    sample(rgbColor(40, 200, 200));
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(field->hasHeldBackRepaint()) << tick;
        w.timTintaraTimer();
    }
    EXPECT_FALSE(field->hasHeldBackRepaint()); // 40 ms, and one tick of rest
}

// Over a varied screen a marker or an arrow moves on nearly every tick while the picture beneath it
// often stays: such a move repaints only around the marker, and whatever was held back or painted
// in part, the screen ends on what a whole repaint of each picker shows.
TEST_F(MainWindowTest, TheMixerRepaintsOnlyWhatMovedAndEndsOnThePickersWhole)
{
    TfrmMain& w = open();
    const auto onScreen = [&w](QWidget* c) {
        QApplication::processEvents();
        const QImage* store = static_cast<const QImage*>(w.backingStore()->paintDevice());
        return store->copy(QRect(c->mapTo(&w, QPoint(0, 0)), c->size())).convertToFormat(QImage::Format_RGB32);
    };
    const auto area = [](QWidget* c) { return c->width() * c->height(); };
    const auto whole = [](PickerBase* p) {
        QImage frame;
        p->renderFrame(frame);
        return frame;
    };
    // New saturations and values of one hue for longer than the pickers' cadence; then new hues,
    // greys and back, with an expose of a corner while a picture is held back.
    const std::vector<TColor> oneHue = {rgbColor(200, 100, 100), rgbColor(150, 30, 30), rgbColor(250, 10, 10),
                                        rgbColor(120, 0, 0), rgbColor(255, 128, 128)};
    const std::vector<TColor> varied = {rgbColor(40, 200, 40),   rgbColor(40, 180, 60), rgbColor(30, 30, 200),
                                        rgbColor(255, 255, 255), rgbColor(0, 0, 0),     rgbColor(128, 128, 128),
                                        rgbColor(90, 10, 140),   rgbColor(200, 40, 40)};
    // Ticks 10 ms apart hold the pictures back; a second apart, each tick paints at once.
    for (const int stepMs : {10, 1000}) {
        for (QWidget* tab : {w.tabRainbow, w.tabHue, w.tabSliders}) {
            platform.setClockStepMs(stepMs);
            w.pagesMixer->setCurrentWidget(tab);
            platform.advanceClockMs(1000);
            sample(rgbColor(200, 40, 40));
            QApplication::processEvents();
            const auto pickers = tab->findChildren<PickerBase*>();
            PaintAreas field(w.HSLColorPicker->field()), red(w.RedColorPicker);
            for (const std::vector<TColor>* moves : {&oneHue, &varied}) {
                for (TColor c : *moves) {
                    sample(c);
                    QApplication::processEvents();
                    if (c == rgbColor(30, 30, 200)) {
                        for (PickerBase* p : pickers)
                            p->repaint(0, 0, 6, 6);
                    }
                }
                for (int i = 0; i < 5; ++i) {
                    w.timTintaraTimer();
                    QApplication::processEvents();
                }
                for (PickerBase* p : pickers)
                    EXPECT_TRUE(onScreen(p) == whole(p)) << p->metaObject()->className();
            }
            // The field beneath the cross-hair and the red slider's strip do not depend on the colour.
            if (tab == w.tabRainbow) {
                EXPECT_LT(field.largest, area(w.HSLColorPicker->field()) / 4);
            }
            if (tab == w.tabSliders) {
                EXPECT_LT(red.largest, area(w.RedColorPicker) / 4);
            }
        }
    }
}
} // namespace tintara::testing
