// The slider base's input paths, seen through the sliders the main window uses: 26 x 143, vertical,
// new arrow style.
#include "PickerInput.h"
#include "pickers/HColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/VColorPicker.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace tintara {
namespace {

using namespace testinput;

constexpr QPoint kWheelAt{10, 60};

QWidget* toolTipLabel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
            return w;
    return nullptr;
}

class TrackBarPickerTest : public testing::Test {
protected:
    TrackBarPickerTest()
    {
        window.setGeometry(100, 100, 300, 200);
        for (ChannelSliderPicker* s : std::initializer_list<ChannelSliderPicker*>{&hue, &value}) {
            s->setParent(&window);
            s->show();
            s->resize(26, 143);
            s->setNewArrowStyle(true);
            s->setPlatformServices(&platform);
            QObject::connect(s, &TktTrackBarPicker::OnChange, [this](QObject* sender) {
                log.push_back(sender == &hue ? "hue change" : "value change");
            });
            QObject::connect(s, &TktTrackBarPicker::OnMouseDown,
                             [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                                 log.push_back("down " + std::to_string(value.Value()));
                             });
            QObject::connect(s, &TktTrackBarPicker::OnMouseUp,
                             [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                                 log.push_back("up " + std::to_string(value.Value()));
                             });
            QObject::connect(s, &TktTrackBarPicker::OnKeyDown, [this](QObject*, int key, Qt::KeyboardModifiers) {
                log.push_back("keydown " + std::to_string(key));
            });
            QObject::connect(s, &TktTrackBarPicker::OnKeyUp, [this](QObject*, int key, Qt::KeyboardModifiers) {
                log.push_back("keyup " + std::to_string(key));
            });
        }
        hue.setLayout(lyVertical);
        hue.move(10, 26);
        value.move(72, 26);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // Whatever the first show queued is painted now, so the tests start from a quiet slider.
        hue.repaint();
        value.repaint();
        log.clear();
    }

    int count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }

    FakePlatform platform;
    KeyWindow window;
    THColorPicker hue;
    TVColorPicker value;
    std::vector<std::string> log;
};

TEST_F(TrackBarPickerTest, MainWindowGeometry)
{
    EXPECT_EQ(value.EdgeInset(), 8);
    EXPECT_EQ(value.ArrowDepth(), 9);
    EXPECT_EQ(value.StripRect(), (TRect{0, 8, 15, 135}));
    value.setNewArrowStyle(false);
    EXPECT_EQ(value.EdgeInset(), 6);
    EXPECT_EQ(value.ArrowDepth(), 10);
    EXPECT_EQ(value.StripRect(), (TRect{0, 6, 16, 137}));
}

TEST_F(TrackBarPickerTest, MouseInputReachesListenersOncePerPaint)
{
    press(&value, {10, 8 + 65}); // ArrowPos 65: value 128
    // The value is stored before OnMouseDown, so the window's handler reads the new one.
    EXPECT_THAT(log, testing::ElementsAre("down 128"));
    EXPECT_TRUE(value.ChangePending());
    EXPECT_TRUE(value.hasFocus());
    drag(&value, {10, 20});
    drag(&value, {10, 30});
    drag(&value, {10, 40});
    EXPECT_EQ(count("value change"), 0);
    value.repaint();
    EXPECT_EQ(count("value change"), 1);
    value.repaint();
    EXPECT_EQ(count("value change"), 1);
    EXPECT_EQ(value.Value(), 255 - 62); // Round(255 - 32 * 255 / 131) = Round(192.7)
    // The arrow snaps to the value's own position at the paint.
    EXPECT_EQ(value.ArrowPos(), 32);

    release(&value, {10, 200});
    EXPECT_EQ(log.back(), "up 0");
    value.repaint();
    EXPECT_EQ(count("value change"), 2);
    EXPECT_FALSE(value.ChangePending());
}

TEST_F(TrackBarPickerTest, PointerBelowTheTrackGivesTheLastHue)
{
    press(&hue, {5, 142});
    EXPECT_EQ(hue.Hue(), 360);
    EXPECT_EQ(hue.ArrowPos(), 134);
    hue.repaint();
    EXPECT_EQ(hue.ArrowPos(), 131);
    release(&hue, {5, 142});
}

TEST_F(TrackBarPickerTest, DragConfinesTheCursorToTheControlUntilAnyButtonUp)
{
    press(&value, {10, 50});
    EXPECT_FALSE(platform.confineRect().has_value());
    drag(&value, {10, 60});
    const QPoint topLeft = value.mapToGlobal(QPoint(0, 0));
    ASSERT_TRUE(platform.confineRect().has_value());
    EXPECT_EQ(*platform.confineRect(), (TRect{topLeft.x(), topLeft.y(), topLeft.x() + 26, topLeft.y() + 143}));
    release(&value, {10, 60});
    EXPECT_FALSE(platform.confineRect().has_value());

    // A move without the button confines nothing but still fires OnMouseMove.
    int moves = 0;
    QObject::connect(&value, &TktTrackBarPicker::OnMouseMove,
                     [&moves](QObject*, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) { ++moves; });
    drag(&value, {10, 70}, Qt::NoButton);
    EXPECT_EQ(moves, 1);
    EXPECT_FALSE(platform.confineRect().has_value());
    value.repaint();
    EXPECT_EQ(value.Value(), sliderValueFromPos(SliderChannel::Value, 143, 52)); // from the drag, not the move
}

TEST_F(TrackBarPickerTest, RightButtonIsSwallowedButReleasesConfinement)
{
    const int before = value.Value();
    press(&value, {10, 100}, Qt::RightButton);
    release(&value, {10, 100}, Qt::RightButton);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(value.Value(), before);
    EXPECT_FALSE(value.ChangePending());
    EXPECT_EQ(platform.releaseCalls(), 1);
    value.repaint();
    EXPECT_TRUE(log.empty());
}

TEST_F(TrackBarPickerTest, HidingDuringADragFreesTheCursor)
{
    press(&value, {10, 50});
    drag(&value, {10, 60});
    ASSERT_TRUE(platform.confineRect().has_value());
    value.hide();
    EXPECT_FALSE(platform.confineRect().has_value());
}

TEST_F(TrackBarPickerTest, WheelStepsAndFiresOnChangeEvenAtTheEndOfTheRange)
{
    value.setValue(254);
    log.clear();
    EXPECT_TRUE(wheel(&value, 120, kWheelAt));
    EXPECT_EQ(value.Value(), 255);
    EXPECT_TRUE(wheel(&value, 120, kWheelAt));
    EXPECT_EQ(value.Value(), 255);
    // One OnChange per notch from the handler, none from the setter inside it.
    EXPECT_EQ(count("value change"), 2);
    EXPECT_TRUE(value.NotifyEnabled());

    value.setIncrement(10);
    wheel(&value, -240, kWheelAt);
    EXPECT_EQ(value.Value(), 235);
    EXPECT_EQ(count("value change"), 4);
    // Half a notch waits for the other half.
    EXPECT_FALSE(wheel(&value, -60, kWheelAt));
    EXPECT_EQ(value.Value(), 235);
    EXPECT_TRUE(wheel(&value, -60, kWheelAt));
    EXPECT_EQ(value.Value(), 225);
}

TEST_F(TrackBarPickerTest, HandledOnMouseWheelReplacesTheOwnStep)
{
    // What the main window's mixer does: step itself and mark the event handled.
    QObject::connect(&hue, &TktTrackBarPicker::OnMouseWheel,
                     [this](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                         hue.setHue(hue.Hue() + (delta > 0 ? -1 : 1));
                         *handled = true;
                     });
    hue.setHue(100);
    log.clear();
    EXPECT_TRUE(wheel(&hue, 120, kWheelAt));
    EXPECT_EQ(hue.Hue(), 99);
    EXPECT_EQ(count("hue change"), 1); // the setter's only

    // An owner that turns the own stepping off gets the wheel passed on to the parent instead.
    TVColorPicker other;
    other.setOwnWheelStepping(false);
    const int v = other.Value();
    EXPECT_FALSE(wheel(&other, 120, kWheelAt));
    EXPECT_EQ(other.Value(), v);
}

TEST_F(TrackBarPickerTest, ArrowKeysAlongTheTrackAreConsumed)
{
    hue.setHue(100);
    hue.setFocus();
    log.clear();
    QTest::keyClick(&hue, Qt::Key_Up);
    EXPECT_EQ(hue.Hue(), 99);
    QTest::keyClick(&hue, Qt::Key_Down);
    QTest::keyClick(&hue, Qt::Key_Down);
    EXPECT_EQ(hue.Hue(), 101);
    // OnChange first, then OnKeyDown; the window never sees the key.
    EXPECT_THAT(log,
                testing::ElementsAre(
                    "hue change", "keydown " + std::to_string(Qt::Key_Up), "keyup " + std::to_string(Qt::Key_Up),
                    "hue change", "keydown " + std::to_string(Qt::Key_Down), "keyup " + std::to_string(Qt::Key_Down),
                    "hue change", "keydown " + std::to_string(Qt::Key_Down), "keyup " + std::to_string(Qt::Key_Down)));
    EXPECT_TRUE(window.keys.empty());

    // Ctrl+Down: the end of the track, hue 360, the same red as hue 0. Shift is ignored.
    QTest::keyClick(&hue, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(hue.Hue(), 360);
    EXPECT_EQ(hue.SelectedColor(), rgbColor(255, 0, 0));
    // At the end of the range the key still fires OnChange.
    log.clear();
    QTest::keyPress(&hue, Qt::Key_Down);
    EXPECT_EQ(hue.Hue(), 360);
    EXPECT_THAT(log, testing::ElementsAre("hue change", "keydown " + std::to_string(Qt::Key_Down)));
    QTest::keyRelease(&hue, Qt::Key_Down);
    QTest::keyClick(&hue, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(hue.Hue(), 0);
    EXPECT_TRUE(window.keys.empty());
}

TEST_F(TrackBarPickerTest, KeysAcrossTheTrackGoOnToTheWindow)
{
    value.setFocus();
    EXPECT_FALSE(value.HandlesKey(Qt::Key_Left));
    EXPECT_TRUE(value.HandlesKey(Qt::Key_Up));
    const int before = value.Value();
    QTest::keyClick(&value, Qt::Key_Left);
    QTest::keyClick(&value, Qt::Key_A);
    EXPECT_EQ(value.Value(), before);
    EXPECT_THAT(window.keys, testing::ElementsAre(Qt::Key_Left, Qt::Key_A));
    // The ordinary OnKeyDown still fires; no OnChange.
    EXPECT_EQ(count("keydown " + std::to_string(Qt::Key_Left)), 1);
    EXPECT_EQ(count("value change"), 0);

    // Value shrinks along the track: Up raises it, Down lowers it.
    value.setValue(100);
    QTest::keyClick(&value, Qt::Key_Up);
    EXPECT_EQ(value.Value(), 101);
    QTest::keyClick(&value, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(value.Value(), 0);
}

TEST_F(TrackBarPickerTest, ResizeFiresNothing)
{
    value.resize(26, 200);
    value.resize(30, 143);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(value.NotifyEnabled());
}

TEST_F(TrackBarPickerTest, HintFollowsThePointerAndTheValue)
{
    value.setValue(200);
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 60), value.mapToGlobal(QPoint(10, 60)));
    QApplication::sendEvent(&value, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Value: 200");
    // Right of the control, 8 pixels above the pointer.
    QWidget* label = toolTipLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pos(), value.mapToGlobal(QPoint(26 + 2, 60 - 8)));

    // While the hint is up, dragging updates it to the value under the pointer.
    press(&value, {10, 8});
    drag(&value, {10, 8 + 131});
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Value: 0");
    EXPECT_EQ(toolTipLabel()->pos(), value.mapToGlobal(QPoint(28, 131)));
    release(&value, {10, 8 + 131});
    QToolTip::hideText();
}

TEST_F(TrackBarPickerTest, HintBreaksLinesAndCanBeTurnedOff)
{
    hue.setHintFormat("Hue:\r%h %H");
    hue.setHue(42);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 30), hue.mapToGlobal(QPoint(5, 30)));
    QApplication::sendEvent(&hue, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Hue:\n42 %H");
    QToolTip::hideText();

    hue.setShowHint(false);
    hue.setHintFormat("Hidden %h");
    QHelpEvent again(QEvent::ToolTip, QPoint(5, 30), hue.mapToGlobal(QPoint(5, 30)));
    QApplication::sendEvent(&hue, &again);
    press(&hue, {5, 40});
    drag(&hue, {5, 50});
    release(&hue, {5, 50});
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text().startsWith("Hidden"));
}

TEST_F(TrackBarPickerTest, PaintsGradientAndArrow)
{
    // A red channel slider, as on the main window.
    value.setSaturation(255);
    value.setValue(128);
    const QImage img = value.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(26, 143));
    // The strip (0, 8, 15, 135) shows the gradient stretched: pure reds from bright at the top to
    // nearly black at the bottom, the same across each row.
    int previous = 256;
    for (int y = 8; y < 135; ++y) {
        const QRgb left = img.pixel(0, y);
        EXPECT_EQ(img.pixel(14, y), left) << y;
        EXPECT_EQ(qGreen(left), 0);
        EXPECT_EQ(qBlue(left), 0);
        EXPECT_LT(qRed(left), previous) << y;
        previous = qRed(left);
    }
    EXPECT_GE(qRed(img.pixel(0, 8)), 253);
    EXPECT_LE(qRed(img.pixel(0, 134)), 3);
    EXPECT_NEAR(qRed(img.pixel(7, 71)), 128, 3);
    // Outside the strip and the arrow: the background.
    const QRgb background = value.Color().rgb();
    for (const QPoint p : {QPoint(20, 2), QPoint(5, 140), QPoint(5, 3), QPoint(15, 72), QPoint(25, 20)})
        EXPECT_EQ(img.pixel(p), background) << p.x() << "," << p.y();
    // The arrow's tip at (17, ArrowPos + 7) = (17, 72) carries the outline colour, inside it the fill.
    EXPECT_EQ(img.pixel(17, 72), value.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(img.pixel(24, 72), value.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(img.pixel(21, 72), value.palette().color(QPalette::Base).rgb());
}

TEST_F(TrackBarPickerTest, ClassicArrowIsBlackOnlyWithTheFocus)
{
    value.setNewArrowStyle(false);
    value.setValue(128);
    // Tip (19, 65 + 6); the triangle's inside at x = 22.
    QImage img = value.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(22, 71)), QColor(128, 128, 128));
    value.setFocus();
    img = value.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(22, 71)), QColor(0, 0, 0));
}

} // namespace
// A slider that draws nothing but its arrows, wherever the test puts them.
class ArrowOnlySlider : public TktTrackBarPicker {
public:
    int pos = 0;

protected:
    int ArrowPosFromValue() override { return pos; }
};

TEST_F(TrackBarPickerTest, ArrowsArePixelForPixelThePolygonsAtEveryPosition)
{
    struct Case {
        TTrackBarLayout layout;
        TSliderPlacement placement;
        bool newStyle;
        QSize size;
    };
    const Case cases[] = {
        {lyVertical, spAfter, true, {26, 143}},  {lyVertical, spBoth, false, {30, 100}},
        {lyVertical, spBefore, true, {30, 100}}, {lyHorizontal, spAfter, false, {180, 22}},
        {lyHorizontal, spBoth, true, {180, 30}}, {lyHorizontal, spBefore, false, {120, 22}},
    };
    for (const Case& c : cases) {
        ArrowOnlySlider slider;
        slider.setParent(&window);
        slider.setLayout(c.layout);
        slider.setArrowPlacement(c.placement);
        slider.setNewArrowStyle(c.newStyle);
        slider.resize(c.size);
        slider.show();
        const int length = c.layout == lyVertical ? c.size.height() : c.size.width();
        // The same picture moves along the track, and a focus change (the classic arrow's colour)
        // draws it anew.
        for (const bool focus : {false, true}) {
            if (focus)
                slider.setFocus();
            for (const int pos : {0, 1, length / 3, length - 7}) {
                SCOPED_TRACE(testing::Message() << "layout " << c.layout << " placement " << c.placement << " new "
                                                << c.newStyle << " focus " << focus << " pos " << pos);
                slider.pos = pos;
                const QImage shown = slider.grab().toImage().convertToFormat(QImage::Format_RGB32);
                QImage expected(c.size, QImage::Format_RGB32);
                expected.fill(slider.Color());
                {
                    QPainter p(&expected);
                    const QColor fill = c.newStyle ? slider.palette().color(QPalette::Base)
                                                   : (slider.hasFocus() ? QColor(0, 0, 0) : QColor(128, 128, 128));
                    const QColor outline = c.newStyle ? slider.palette().color(QPalette::Dark) : fill;
                    p.setPen(QPen(outline, 1));
                    p.setBrush(fill);
                    const ArrowPolygons arrows = arrowPolygonsAt(slider.shape(), pos);
                    ASSERT_GT(arrows.count, 0);
                    for (int i = 0; i < arrows.count; ++i) {
                        const ArrowPolygon& a = arrows.arrows[static_cast<std::size_t>(i)];
                        QPoint pts[7];
                        for (int j = 0; j < a.count; ++j)
                            pts[j] = QPoint(a.points[static_cast<std::size_t>(j)].x,
                                            a.points[static_cast<std::size_t>(j)].y);
                        p.drawPolygon(pts, a.count);
                    }
                }
                EXPECT_EQ(shown, expected);
            }
        }
    }
}

} // namespace tintara
