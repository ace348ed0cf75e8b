// The hue-saturation and saturation-luminance fields on their own: values, marker, mouse, keys,
// hints and the sizes nobody designs for.
#include "PickerInput.h"
#include "colormodel/RGBHSLUtils.h"
#include "pickers/HSColorPicker.h"
#include "pickers/HSFieldGeometry.h"
#include "pickers/SLColorPicker.h"
#include "pickers/SLFieldGeometry.h"
#include "platform/FakePlatform.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace tintara {
namespace {

using namespace testinput;

template <typename Field> class FieldTest : public testing::Test {
protected:
    FieldTest()
    {
        window.setGeometry(100, 100, 400, 400);
        field.setParent(&window);
        field.move(10, 10);
        field.setPlatformServices(&platform);
        QObject::connect(&field, &Field::OnChange, [this](QObject* sender) {
            EXPECT_EQ(sender, &field);
            log.push_back("change");
        });
        QObject::connect(&field, &Field::OnMouseDown,
                         [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { log.push_back("down"); });
        QObject::connect(&field, &Field::OnMouseUp,
                         [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { log.push_back("up"); });
        QObject::connect(&field, &Field::OnKeyDown, [this](QObject*, int k, Qt::KeyboardModifiers) {
            // QTest presses a click's modifier keys on their own; those are not of interest here.
            if (k != Qt::Key_Shift && k != Qt::Key_Control && k != Qt::Key_Alt && k != Qt::Key_Meta)
                log.push_back("key");
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        field.setFocus();
        field.repaint();
        log.clear();
    }

    int count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
    // The frame as painted, so tests can look at the marker.
    QImage frame()
    {
        QImage image;
        field.renderFrame(image);
        return image;
    }

    FakePlatform platform;
    KeyWindow window;
    Field field;
    std::vector<std::string> log;
};

// --- hue-saturation field ------------------------------------------------------------------------

using HSField = FieldTest<THSColorPicker>;

TEST_F(HSField, StartsRedWithTheMarkerTopLeft)
{
    THSColorPicker fresh;
    EXPECT_EQ(fresh.size(), QSize(239, 240));
    EXPECT_EQ(fresh.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(fresh.HueValue(), 0);
    EXPECT_EQ(fresh.SaturationValue(), 240);
    EXPECT_EQ(fresh.LuminanceValue(), 120);
    EXPECT_EQ(fresh.HintLuminance(), 120);
    EXPECT_EQ(fresh.MarkerPos(), (TPoint{0, 0}));
    EXPECT_EQ(fresh.HintFormat(), "H: %h S: %s\rHex: %hex");
    EXPECT_EQ(fresh.focusPolicy(), Qt::StrongFocus);
}

TEST_F(HSField, AssignmentMovesTheMarkerAndEveryPaintReports)
{
    field.setSelectedColor(rgbColor(0, 0, 255));
    EXPECT_EQ(field.MarkerPos(), (TPoint{159, 0}));
    EXPECT_EQ(field.HueValue(), 159);
    EXPECT_TRUE(log.empty()); // the assignment itself reports nothing
    field.repaint();
    EXPECT_THAT(log, testing::ElementsAre("change"));
    // A paint that changes nothing reports again.
    field.repaint();
    EXPECT_EQ(count("change"), 2);

    // A grey's marker is computed one row below the field and drawn on its last row.
    field.setSelectedColor(rgbColor(128, 128, 128));
    EXPECT_EQ(field.MarkerPos(), (TPoint{0, 240}));
    field.repaint();
    EXPECT_EQ(field.DrawnMarkerPos(), (TPoint{0, 239}));
}

TEST_F(HSField, ValueWritesClampAndSelectTheHalfLuminanceColour)
{
    field.setSaturationValue(-5);
    EXPECT_EQ(field.SelectedColor(), rgbColor(128, 128, 128));
    EXPECT_EQ(field.SaturationValue(), 0);
    EXPECT_EQ(field.HueValue(), 0); // a grey has hue 0
    field.setSaturationValue(240);
    field.setHueValue(100);
    EXPECT_EQ(field.HueValue(), 100);
    EXPECT_EQ(field.SelectedColor(), ColorFromScaledHsl(100, 240, 120, Scale240));
    // 300 is held at 239, a full turn: red again, whose hue reads back as 0.
    field.setHueValue(300);
    EXPECT_EQ(field.SelectedColor(), ColorFromScaledHsl(239, 240, 120, Scale240));
    EXPECT_EQ(field.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(field.HueValue(), 0);
}

TEST_F(HSField, LeftDragTakesTheFieldColourConfinedUntilRelease)
{
    const Bitmap32& shown = field.shownField();
    press(&field, {80, 40});
    EXPECT_EQ(field.SelectedColor(), colorFromPixel(shown.pixel(80, 40)));
    EXPECT_THAT(log, testing::ElementsAre("down"));
    EXPECT_TRUE(field.hasFocus());
    const QPoint topLeft = field.mapToGlobal(QPoint(0, 0));
    ASSERT_TRUE(platform.confineRect().has_value());
    EXPECT_EQ(*platform.confineRect(), (TRect{topLeft.x(), topLeft.y(), topLeft.x() + 239, topLeft.y() + 240}));

    drag(&field, {120, 60});
    drag(&field, {500, -30}); // outside: held on the field
    EXPECT_EQ(field.MarkerPos(), (TPoint{238, 0}));
    EXPECT_EQ(field.SelectedColor(), colorFromPixel(shown.pixel(238, 0)));
    // The hue and saturation follow at the paint, which reports once.
    field.repaint();
    EXPECT_EQ(count("change"), 1);
    EXPECT_EQ(field.HueValue(), HueFromColor(colorFromPixel(shown.pixel(238, 0)), Scale240));

    release(&field, {60, 200});
    EXPECT_FALSE(platform.confineRect().has_value());
    EXPECT_EQ(field.SelectedColor(), colorFromPixel(shown.pixel(60, 200)));
    EXPECT_EQ(log.back(), "up");
}

TEST_F(HSField, RightClickMovesTheMarkerAtOnceAndChoosesOnRelease)
{
    const TColor before = field.SelectedColor();
    press(&field, {100, 100}, Qt::RightButton);
    EXPECT_EQ(field.MarkerPos(), (TPoint{100, 100}));
    EXPECT_EQ(field.SelectedColor(), before);
    EXPECT_FALSE(platform.confineRect().has_value());
    field.repaint();
    EXPECT_EQ(field.DrawnMarkerPos(), (TPoint{100, 100}));
    release(&field, {100, 100}, Qt::RightButton);
    EXPECT_EQ(field.SelectedColor(), colorFromPixel(field.shownField().pixel(100, 100)));
}

// The cross-hair's arms cover what lies 6 to 10 pixels from the chosen point, so Ctrl+Left lands on
// the left arm. The colour comes from the field there, not from the black the arm painted.
TEST_F(HSField, CtrlLeftOntoTheCrossHairReadsTheFieldNotTheArm)
{
    press(&field, {100, 120});
    release(&field, {100, 120});
    field.repaint();
    ASSERT_TRUE(field.hasFocus());
    const QImage painted = frame();
    EXPECT_EQ(painted.pixel(90, 120), qRgb(0, 0, 0)); // black: the focused marker's arm

    QTest::keyClick(&field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(field.MarkerPos(), (TPoint{90, 120}));
    const TColor expected = colorFromPixel(field.shownField().pixel(90, 120));
    EXPECT_NE(expected, rgbColor(0, 0, 0));
    EXPECT_EQ(field.SelectedColor(), expected);
    field.repaint();
    EXPECT_EQ(field.HueValue(), HueFromColor(expected, Scale240));
    EXPECT_GT(field.SaturationValue(), 0);
}

TEST_F(HSField, ArrowKeysStepFromTheDrawnMarkerAndStayOnTheField)
{
    field.setSelectedColor(rgbColor(255, 0, 0));
    field.repaint();
    QTest::keyClick(&field, Qt::Key_Left);
    EXPECT_EQ(field.MarkerPos(), (TPoint{0, 0}));
    EXPECT_EQ(field.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(log.back(), "key");

    field.setHueValue(4); // marker at x = 4
    field.repaint();
    QTest::keyClick(&field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(field.MarkerPos(), (TPoint{0, 0}));
    QTest::keyClick(&field, Qt::Key_Down, Qt::ControlModifier);
    // Still stepping from where the marker was drawn: no paint in between.
    EXPECT_EQ(field.MarkerPos(), (TPoint{4, 10}));
    // The arrows are the field's; other keys reach the window.
    QTest::keyClick(&field, Qt::Key_A);
    EXPECT_THAT(window.keys, testing::ElementsAre(Qt::Key_A));
    EXPECT_TRUE(field.HandlesKey(Qt::Key_Up));
    EXPECT_FALSE(field.HandlesKey(Qt::Key_A));
}

TEST_F(HSField, HintShowsTheHoveredHueAndSaturationAtTheHintLuminance)
{
    EXPECT_EQ(hintAt(&field, {0, 0}), ""); // nothing hovered yet
    drag(&field, {0, 0}, Qt::NoButton);
    EXPECT_EQ(field.HoverColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(hintAt(&field, {0, 0}), "H: 0 S: 240\nHex: FF0000");
    field.setHintLuminance(60);
    EXPECT_EQ(hintAt(&field, {0, 0}), "H: 0 S: 240\nHex: 800000");

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&field, &leave);
    EXPECT_EQ(field.HoverColor(), std::nullopt);
    EXPECT_EQ(hintAt(&field, {0, 0}), "");

    drag(&field, {0, 0}, Qt::NoButton);
    field.setShowHint(false);
    EXPECT_EQ(hintAt(&field, {0, 0}), "");
}

TEST_F(HSField, ResizeKeepsHueAndSaturationAndTinySizesAreSafe)
{
    field.setSelectedColor(rgbColor(0, 0, 255));
    field.resize(127, 127);
    EXPECT_EQ(field.MarkerPos(), (TPoint{84, 0}));
    EXPECT_EQ(field.shownField().width(), 127);

    for (const QSize size : {QSize(1, 1), QSize(0, 0)}) {
        field.resize(size);
        press(&field, {5, 5});
        drag(&field, {-3, 7});
        QTest::keyClick(&field, Qt::Key_Right, Qt::ControlModifier);
        release(&field, {0, 0});
        field.repaint();
        EXPECT_EQ(field.MarkerPos(), (TPoint{0, 0})) << size.width();
    }
    EXPECT_FALSE(platform.confineRect().has_value());
}

TEST_F(HSField, HidingMidDragFreesTheCursor)
{
    press(&field, {50, 50});
    ASSERT_TRUE(platform.confineRect().has_value());
    field.hide();
    EXPECT_FALSE(platform.confineRect().has_value());
}

// --- saturation-luminance field -----------------------------------------------------------------

using SLField = FieldTest<TSLColorPicker>;

TEST_F(SLField, StartsWhiteWithTheMarkerTopLeft)
{
    TSLColorPicker fresh;
    EXPECT_EQ(fresh.size(), QSize(255, 255));
    EXPECT_EQ(fresh.Hue(), 0);
    EXPECT_EQ(fresh.Saturation(), 0);
    EXPECT_EQ(fresh.Luminance(), 255);
    EXPECT_EQ(fresh.SelectedColor(), rgbColor(255, 255, 255));
    EXPECT_EQ(fresh.MarkerPos(), (TPoint{0, 0}));
    EXPECT_EQ(fresh.HintFormat(), "H: %h S: %s L: %l\rHex: %hex");
    EXPECT_TRUE(fresh.NotifyEnabled());
}

TEST_F(SLField, AssignmentReportsExactlyOnce)
{
    struct Case {
        TColor color;
        int hue, saturation, luminance;
    };
    const Case cases[] = {
        {rgbColor(255, 0, 0), 0, 255, 255},   {rgbColor(255, 0, 0), 0, 255, 255}, // unchanged: still one OnChange
        {rgbColor(255, 0, 1), 0, 255, 255},                                       // the hue rounds to 0, not 360
        {rgbColor(128, 128, 128), 0, 0, 128}, {rgbColor(0, 0, 255), 240, 255, 255},
    };
    for (const Case& c : cases) {
        log.clear();
        field.setSelectedColor(c.color);
        EXPECT_THAT(log, testing::ElementsAre("change")) << std::hex << c.color;
        EXPECT_EQ(field.Hue(), c.hue);
        EXPECT_EQ(field.Saturation(), c.saturation);
        EXPECT_EQ(field.Luminance(), c.luminance);
        EXPECT_TRUE(field.NotifyEnabled());
    }
    field.setSelectedColor(rgbColor(255, 0, 0));
    EXPECT_EQ(field.MarkerPos(), (TPoint{255, 0})); // one pixel beyond the last column
}

TEST_F(SLField, SettersClampAndReportOnlyChanges)
{
    QSignalSpy changes(&field, &TSLColorPicker::OnChange);
    const int builds = field.fieldBuildCount();
    field.setHue(400);
    EXPECT_EQ(field.Hue(), 360);
    field.setHue(360);
    field.setSaturation(-9);
    field.setLuminance(300);
    EXPECT_EQ(changes.count(), 1);
    // A hue shows the same field as hue 0; the field is built once for the paint.
    field.repaint();
    field.repaint();
    EXPECT_EQ(field.fieldBuildCount(), builds + 1);
    Bitmap32 hue0;
    buildSlFieldShown(hue0, 0, 255, 255);
    EXPECT_TRUE(std::equal(hue0.bits(), hue0.bits() + 255 * 255, field.shownField().bits()));
}

TEST_F(SLField, LeftPressAndDragReportAtOnceWithMulDivValues)
{
    field.resize(200, 200);
    press(&field, {100, 0});
    // The values are in place before OnMouseDown, which comes after the change.
    EXPECT_THAT(log, testing::ElementsAre("change", "down"));
    EXPECT_EQ(field.Saturation(), 128);
    EXPECT_EQ(field.Luminance(), 255);
    EXPECT_EQ(field.MarkerPos(), (TPoint{100, 0}));
    EXPECT_TRUE(platform.confineRect().has_value());
    EXPECT_TRUE(field.hasFocus());

    drag(&field, {50, 100});
    EXPECT_EQ(field.Saturation(), 64); // 63.75
    EXPECT_EQ(field.Luminance(), 128); // 127.5
    EXPECT_EQ(field.MarkerPos(), (TPoint{50, 100}));
    drag(&field, {250, 100}); // outside: ignored
    EXPECT_EQ(field.Saturation(), 64);
    EXPECT_EQ(count("change"), 2);

    release(&field, {200, 0}); // the right edge is outside
    EXPECT_FALSE(platform.confineRect().has_value());
    EXPECT_EQ(count("change"), 2);
    EXPECT_EQ(log.back(), "up");
}

TEST_F(SLField, RightButtonTakesTheFocusButChangesNothing)
{
    field.clearFocus();
    press(&field, {100, 100}, Qt::RightButton);
    release(&field, {100, 100}, Qt::RightButton);
    EXPECT_THAT(log, testing::ElementsAre("down", "up"));
    EXPECT_TRUE(field.hasFocus());
    EXPECT_EQ(field.Saturation(), 0);
    EXPECT_EQ(field.Luminance(), 255);
}

TEST_F(SLField, ArrowStepsPastAnEdgeAreRefusedButConsumed)
{
    field.setSaturation(7); // marker at x = 7
    log.clear();
    QTest::keyClick(&field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_THAT(log, testing::ElementsAre("key"));
    EXPECT_EQ(field.MarkerPos().x, 7);
    QTest::keyClick(&field, Qt::Key_Left);
    EXPECT_EQ(field.MarkerPos().x, 6);
    EXPECT_EQ(field.Saturation(), 6);
    EXPECT_THAT(log, testing::ElementsAre("key", "change", "key"));

    field.setSelectedColor(rgbColor(255, 0, 0)); // x = W
    QTest::keyClick(&field, Qt::Key_Right);
    EXPECT_EQ(field.MarkerPos().x, 255);
    QTest::keyClick(&field, Qt::Key_Left);
    EXPECT_EQ(field.MarkerPos().x, 254);
    EXPECT_TRUE(window.keys.empty());
    QTest::keyClick(&field, Qt::Key_B);
    EXPECT_THAT(window.keys, testing::ElementsAre(Qt::Key_B));
}

TEST_F(SLField, HintDescribesTheColourAtTheLastPointer)
{
    drag(&field, {254, 0}, Qt::NoButton);
    EXPECT_EQ(hintAt(&field, {254, 0}), "H: 0 S: 255 L: 128\nHex: FF0101");
    // Once the pointer has left, the top-left corner: white for every hue.
    field.setHue(200);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&field, &leave);
    EXPECT_EQ(field.LastMousePos(), (TPoint{0, 0}));
    EXPECT_EQ(hintAt(&field, {30, 30}), "H: 0 S: 0 L: 255\nHex: FFFFFF");
    field.setShowHint(false);
    EXPECT_EQ(hintAt(&field, {30, 30}), "");
}

TEST_F(SLField, MarkerPenContrastsWithTheColourBeneath)
{
    // Count the pen's pixels in the marker's box.
    auto penPixels = [this](QRgb pen) {
        const QImage img = frame();
        const TPoint m = field.MarkerPos();
        int n = 0;
        for (int y = m.y - 6; y <= m.y + 6; ++y)
            for (int x = m.x - 6; x <= m.x + 6; ++x)
                if (img.rect().contains(x, y) && img.pixel(x, y) == pen)
                    ++n;
        return n;
    };
    // The marker well inside the field: (100, 88, 88) beneath is dark, (250, 250, 126) is light.
    field.setSaturation(30);
    field.setLuminance(100);
    EXPECT_GE(penPixels(qRgb(255, 255, 255)), 16);
    field.setHue(60);
    field.setSaturation(128);
    field.setLuminance(250);
    EXPECT_GE(penPixels(qRgb(0, 0, 0)), 16);
}

TEST_F(SLField, TinySizesNeverDivideByZero)
{
    for (const QSize size : {QSize(1, 1), QSize(0, 0)}) {
        field.resize(size);
        field.setSelectedColor(rgbColor(10, 200, 30));
        press(&field, {0, 0});
        drag(&field, {0, 0});
        QTest::keyClick(&field, Qt::Key_Right);
        QTest::keyClick(&field, Qt::Key_Up, Qt::ControlModifier);
        release(&field, {0, 0});
        field.repaint();
        (void)hintAt(&field, {0, 0});
        EXPECT_GE(field.Saturation(), 0);
        EXPECT_LE(field.Luminance(), 255);
    }
    EXPECT_FALSE(platform.confineRect().has_value());
}

TEST_F(SLField, HidingMidDragFreesTheCursor)
{
    press(&field, {50, 50});
    ASSERT_TRUE(platform.confineRect().has_value());
    field.hide();
    EXPECT_FALSE(platform.confineRect().has_value());
}

} // namespace
} // namespace tintara
