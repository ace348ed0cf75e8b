// The Rainbow (hue-saturation field + luminance slider) and Hue (saturation-luminance field + hue
// slider) composites at the main window's 169 x 143: children, the order of notifications, forwarded
// events, focus and wheel.
#include "PickerInput.h"
#include "colormodel/RGBHSLUtils.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/LColorPicker.h"
#include "pickers/SLColorPicker.h"
#include "pickers/SLFieldGeometry.h"
#include "pickers/SLHColorPicker.h"
#include "platform/FakePlatform.h"

#include <QTest>
#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace tintara {
namespace {

using namespace testinput;

template <typename Composite> class CompositeTest : public testing::Test {
protected:
    CompositeTest()
    {
        window.setGeometry(100, 100, 300, 200);
        picker.setParent(&window);
        picker.setGeometry(10, 26, 169, 143);
        picker.setPlatformServices(&platform);
        QObject::connect(&picker, &Composite::OnChange, [this](QObject* sender) {
            EXPECT_EQ(sender, &picker);
            log.push_back("change " + hex(picker.SelectedColor()));
        });
        QObject::connect(&picker, &Composite::OnMouseDown,
                         [this](QObject* sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                             EXPECT_EQ(sender, &picker);
                             log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
                         });
        QObject::connect(&picker, &Composite::OnMouseUp,
                         [this](QObject* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             EXPECT_EQ(sender, &picker);
                             log.push_back("up");
                         });
        QObject::connect(&picker, &Composite::OnKeyDown, [this](QObject* sender, int key, Qt::KeyboardModifiers) {
            EXPECT_EQ(sender, &picker);
            if (key != Qt::Key_Control && key != Qt::Key_Shift)
                log.push_back("key");
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        paint();
        log.clear();
    }

    static std::string hex(TColor c)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%06X", c);
        return buf;
    }
    // Delivers the repaints that are due, as the event loop would.
    void paint()
    {
        picker.field()->repaint();
        picker.slider()->repaint();
    }
    int changes() const
    {
        return static_cast<int>(
            std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.rfind("change", 0) == 0; }));
    }

    FakePlatform platform;
    QWidget window;
    Composite picker;
    std::vector<std::string> log;
};

// --- Rainbow ----------------------------------------------------------------------------------

using Rainbow = CompositeTest<THSLColorPicker>;

TEST_F(Rainbow, ConstructionAndPlacement)
{
    THSLColorPicker fresh;
    EXPECT_EQ(fresh.size(), QSize(297, 271));
    EXPECT_EQ(fresh.field()->geometry(), QRect(0, 8, 255, 255));
    EXPECT_EQ(fresh.slider()->geometry(), QRect(257, 0, 26, 271));
    EXPECT_EQ(fresh.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(fresh.Hue(), 0);
    EXPECT_EQ(fresh.Saturation(), 240);
    EXPECT_EQ(fresh.Luminance(), 120);
    EXPECT_EQ(fresh.LuminanceIncrement(), 1);
    EXPECT_EQ(fresh.HSPickerHintFormat(), "H: %h S: %s\rHex: %hex");
    EXPECT_EQ(fresh.LPickerHintFormat(), "Luminance: %l");
    EXPECT_TRUE(fresh.slider()->NewArrowStyle());
    EXPECT_EQ(fresh.slider()->Layout(), lyVertical);
    EXPECT_EQ(fresh.slider()->ArrowPlacement(), spAfter);

    // The main window's size.
    EXPECT_EQ(picker.field()->geometry(), QRect(0, 8, 127, 127));
    EXPECT_EQ(picker.slider()->geometry(), QRect(129, 0, 26, 143));
    picker.setHSPickerHintFormat("%h");
    picker.setLuminanceIncrement(5);
    EXPECT_EQ(picker.field()->HintFormat(), "%h");
    EXPECT_EQ(picker.slider()->Increment(), 5);
}

TEST_F(Rainbow, FieldDragReachesTheCompositeAfterTheFieldRepaints)
{
    press(picker.field(), {84, 0}); // blue's column at the top
    EXPECT_THAT(log, testing::ElementsAre("down 84,0"));
    paint();
    // The field reports hue and saturation; the slider takes them and the colour is the slider's.
    const TColor blueish = ColorFromScaledHsl(picker.field()->HueValue(), 240, 120, Scale240);
    EXPECT_EQ(picker.SelectedColor(), blueish);
    EXPECT_EQ(picker.slider()->Hue(), picker.field()->HueValue());
    EXPECT_EQ(picker.Hue(), picker.field()->HueValue());
    EXPECT_EQ(log.back(), "change " + hex(blueish));
    EXPECT_EQ(picker.Blue(), blueOf(blueish));

    drag(picker.field(), {20, 60});
    release(picker.field(), {20, 60});
    EXPECT_EQ(log.back(), "up");
    paint();
    EXPECT_EQ(picker.Hue(), picker.field()->HueValue());
    EXPECT_EQ(picker.Saturation(), picker.field()->SaturationValue());
    EXPECT_EQ(picker.SelectedColor(),
              ColorFromScaledHsl(picker.Hue(), picker.Saturation(), picker.Luminance(), Scale240));
}

TEST_F(Rainbow, SliderDragChangesTheLuminanceAfterItsRepaint)
{
    press(picker.slider(), {10, 8});
    EXPECT_THAT(log, testing::ElementsAre("down 10,8"));
    paint();
    EXPECT_EQ(picker.Luminance(), 240);
    EXPECT_EQ(picker.SelectedColor(), rgbColor(255, 255, 255));
    EXPECT_EQ(picker.field()->HintLuminance(), 240);
    release(picker.slider(), {10, 8});
    EXPECT_EQ(log.back(), "up");
}

TEST_F(Rainbow, RightClickOnTheFieldMovesTheMarkerAndChoosesOnRelease)
{
    press(picker.field(), {60, 60}, Qt::RightButton);
    EXPECT_EQ(picker.field()->MarkerPos(), (TPoint{60, 60}));
    release(picker.field(), {60, 60}, Qt::RightButton);
    paint();
    const TColor shown = colorFromPixel(picker.field()->shownField().pixel(60, 60));
    EXPECT_EQ(picker.Hue(), HueFromColor(shown, Scale240));
    EXPECT_EQ(picker.Saturation(), SaturationFromColor(shown, Scale240));
}

TEST_F(Rainbow, AssignmentEndsInOneChangeAfterTheFieldsRepaint)
{
    // An unchanged colour changes no slider value: nothing until the field paints, then one change.
    picker.setSelectedColor(rgbColor(255, 0, 0));
    EXPECT_EQ(changes(), 0);
    paint();
    EXPECT_THAT(log, testing::ElementsAre("change 0000FF"));

    // A new colour: the slider's changes report at once, the field's report ends it.
    log.clear();
    picker.setSelectedColor(rgbColor(0, 0, 128)); // navy: (159, 240, 60)
    EXPECT_EQ(picker.slider()->Hue(), 159);
    EXPECT_EQ(picker.Luminance(), 60);
    const int atOnce = changes();
    EXPECT_GE(atOnce, 1);
    paint();
    EXPECT_EQ(changes(), atOnce + 1);
    // The HSL round trip of navy.
    EXPECT_EQ(picker.SelectedColor(), ColorFromScaledHsl(159, 240, 60, Scale240));
}

TEST_F(Rainbow, WheelOnTheSliderIsForwardedNotStepped)
{
    const QPoint onSlider(10, 60);
    EXPECT_FALSE(wheel(picker.slider(), 120, onSlider));
    EXPECT_EQ(picker.slider()->Luminance(), 120);

    // What the main window does with it: step the composite's Luminance copy and mark it handled.
    std::vector<QObject*> senders;
    QObject::connect(&picker, &THSLColorPicker::OnMouseWheel,
                     [&](QObject* sender, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                         senders.push_back(sender);
                         picker.setLuminance(picker.Luminance() + (delta > 0 ? 1 : -1));
                         *handled = true;
                     });
    picker.setLuminance(239);
    EXPECT_TRUE(wheel(picker.slider(), 120, onSlider));
    EXPECT_EQ(picker.Luminance(), 240);
    // Past the end the copy runs on while the slider stays at 240 ...
    wheel(picker.slider(), 120, onSlider);
    wheel(picker.slider(), 120, onSlider);
    EXPECT_EQ(picker.Luminance(), 242);
    EXPECT_EQ(picker.slider()->Luminance(), 240);
    // ... so as many steps back are needed before the slider moves again.
    wheel(picker.slider(), -120, onSlider);
    wheel(picker.slider(), -120, onSlider);
    EXPECT_EQ(picker.slider()->Luminance(), 240);
    wheel(picker.slider(), -120, onSlider);
    EXPECT_EQ(picker.slider()->Luminance(), 239);
    EXPECT_EQ(picker.Luminance(), 239);
    EXPECT_THAT(senders, testing::Each(&picker));
    EXPECT_EQ(senders.size(), 6u); // once per notch: what the slider passed on does not come again

    // The field has no wheel of its own: its wheel reaches the composite's handlers like any child's.
    wheel(picker.field(), 120, {30, 30});
    EXPECT_EQ(senders.size(), 7u);
    EXPECT_EQ(picker.Luminance(), 240);
}

TEST_F(Rainbow, FocusGoesToTheFieldAndItsKeysAreTheComposites)
{
    picker.setFocus();
    EXPECT_EQ(QApplication::focusWidget(), picker.field());
    paint();
    log.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_THAT(log, testing::ElementsAre("key"));
    EXPECT_EQ(picker.field()->MarkerPos(), (TPoint{10, 0}));
    paint();
    EXPECT_EQ(picker.Hue(), picker.field()->HueValue());
    EXPECT_GT(picker.Hue(), 0);
}

// --- Hue --------------------------------------------------------------------------------------

using HueComposite = CompositeTest<TSLHColorPicker>;

TEST_F(HueComposite, ConstructionAndPlacement)
{
    TSLHColorPicker fresh;
    EXPECT_EQ(fresh.size(), QSize(297, 271));
    EXPECT_EQ(fresh.field()->geometry(), QRect(0, 8, 255, 255));
    EXPECT_EQ(fresh.slider()->geometry(), QRect(257, 0, 26, 271));
    EXPECT_EQ(fresh.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(fresh.Hue(), 0);
    EXPECT_EQ(fresh.Saturation(), 255);
    EXPECT_EQ(fresh.Luminance(), 255);
    EXPECT_EQ(fresh.field()->SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(fresh.slider()->Layout(), lyVertical);
    EXPECT_TRUE(fresh.slider()->NewArrowStyle());
    EXPECT_EQ(fresh.HPickerHintFormat(), "Hue: %h");
    EXPECT_EQ(fresh.SLPickerHintFormat(), "S: %s L: %l\rHex: %hex");
    fresh.setSLPickerHintFormat("S: %s");
    EXPECT_EQ(fresh.field()->HintFormat(), "S: %s");

    EXPECT_EQ(picker.field()->geometry(), QRect(0, 8, 127, 127));
    EXPECT_EQ(picker.slider()->geometry(), QRect(129, 0, 26, 143));
}

TEST_F(HueComposite, FieldPressReportsAtOnce)
{
    // The right and bottom edges are outside the field.
    press(picker.field(), {127, 0});
    EXPECT_THAT(log, testing::ElementsAre("down 127,0"));
    release(picker.field(), {127, 0});
    log.clear();

    press(picker.field(), {63, 0}); // saturation MulDiv(255, 63, 127) = 126
    // The change comes before the composite's OnMouseDown.
    EXPECT_THAT(log, testing::ElementsAre("change " + hex(slColorAt(0, {63, 0}, 127, 127)), "down 63,0"));
    EXPECT_EQ(picker.Saturation(), 126);
    drag(picker.field(), {0, 126});
    EXPECT_EQ(picker.SelectedColor(), rgbColor(2, 2, 2));
    EXPECT_EQ(picker.Luminance(), 2);
    EXPECT_EQ(log.back(), "change 020202");
    release(picker.field(), {0, 126});
}

TEST_F(HueComposite, SliderDragRetintsTheFieldAfterItsRepaint)
{
    press(picker.slider(), {10, 8 + 44}); // ArrowPos 44: Round(44 * 360 / 131) = 121
    EXPECT_EQ(picker.field()->Hue(), 0);
    paint();
    EXPECT_EQ(picker.slider()->Hue(), 121);
    EXPECT_EQ(picker.field()->Hue(), 121);
    EXPECT_EQ(picker.Hue(), 121);
    EXPECT_EQ(picker.SelectedColor(), picker.field()->SelectedColor());
    EXPECT_EQ(log.back(), "change " + hex(picker.field()->SelectedColor()));
    release(picker.slider(), {10, 52});
}

TEST_F(HueComposite, AssignmentEndsInAChangeAtOnce)
{
    picker.setSelectedColor(rgbColor(255, 0, 0)); // unchanged: exactly one
    EXPECT_THAT(log, testing::ElementsAre("change 0000FF"));

    log.clear();
    picker.setSelectedColor(clBlue);
    EXPECT_EQ(picker.slider()->Hue(), 240);
    EXPECT_EQ(picker.Hue(), 240);
    EXPECT_EQ(log.back(), "change FF0000");
    EXPECT_EQ(picker.SelectedColor(), clBlue);

    log.clear();
    picker.setSelectedColor(clFuchsia);
    EXPECT_EQ(picker.slider()->Hue(), 300);
    EXPECT_EQ(picker.field()->Hue(), 300);
    EXPECT_EQ(log.back(), "change FF00FF");
    // The field shows magenta at its top-right (its last column stands for saturation 253).
    paint();
    EXPECT_EQ(colorFromPixel(picker.field()->shownField().pixel(126, 0)), rgbColor(255, 2, 255));
}

TEST_F(HueComposite, WheelOnTheSliderIsForwardedNotStepped)
{
    const QPoint onSlider(10, 60);
    wheel(picker.slider(), 120, onSlider);
    EXPECT_EQ(picker.slider()->Hue(), 0);

    QObject::connect(&picker, &TSLHColorPicker::OnMouseWheel,
                     [&](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                         picker.setHue(picker.Hue() + (delta > 0 ? -1 : 1));
                         *handled = true;
                     });
    wheel(picker.slider(), 120, onSlider);
    EXPECT_EQ(picker.Hue(), -1);
    EXPECT_EQ(picker.slider()->Hue(), 0);
    wheel(picker.slider(), -120, onSlider);
    wheel(picker.slider(), -120, onSlider);
    EXPECT_EQ(picker.slider()->Hue(), 1);
    EXPECT_EQ(picker.field()->Hue(), 1);
}

TEST_F(HueComposite, FocusGoesToTheSlider)
{
    picker.setFocus();
    EXPECT_EQ(QApplication::focusWidget(), picker.slider());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_THAT(log, testing::Contains("key"));
    EXPECT_EQ(picker.slider()->Hue(), 360);
    EXPECT_EQ(picker.field()->Hue(), 360);
}

TEST_F(HueComposite, BackgroundIsTheCompositesColour)
{
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(pal);
    QImage shot = picker.grab().toImage();
    // Above the field, and between the field and the slider: the parent's colour.
    EXPECT_EQ(shot.pixel(5, 3), qRgb(10, 20, 30));
    EXPECT_EQ(shot.pixel(128, 60), qRgb(10, 20, 30));
    picker.setColor(QColor(200, 0, 0));
    shot = picker.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 3), qRgb(200, 0, 0));
}

TEST(CompositeSizes, TinyCompositesStaySafe)
{
    FakePlatform platform;
    THSLColorPicker rainbow;
    TSLHColorPicker hue;
    rainbow.setPlatformServices(&platform);
    hue.setPlatformServices(&platform);
    for (const QSize size : {QSize(1, 1), QSize(0, 0), QSize(41, 16)}) {
        rainbow.resize(size);
        hue.resize(size);
        rainbow.show();
        hue.show();
        rainbow.setSelectedColor(rgbColor(12, 200, 90));
        hue.setSelectedColor(rgbColor(12, 200, 90));
        press(rainbow.field(), {0, 0});
        press(hue.field(), {0, 0});
        rainbow.hide(); // a lost release: the cursor is freed anyway
        hue.hide();
        EXPECT_FALSE(platform.confineRect().has_value());
        EXPECT_EQ(rainbow.field()->size(), QSize(0, 0));
    }
}

} // namespace
} // namespace tintara
