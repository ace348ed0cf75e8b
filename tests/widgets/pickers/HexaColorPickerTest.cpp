// The hexagon picker at the main window's size, 142 x 138: radius 60, comb size 11. Client points:
// the centre comb (60, 53), the comb east of it (69, 53), the next one (78, 53); the greys from
// (0, 109): white (11, 120), the first grey (33, 115), black (124, 120); the slider (120, 11)-(142, 102).
#include "pickers/HexaColorPicker.h"

#include "PickerInput.h"
#include "colormodel/HTMLColors.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace tintara {
namespace {

using namespace testinput;

constexpr QPoint kCentre(60, 53);
constexpr QPoint kEast(69, 53);
constexpr QPoint kEast2(78, 53);
constexpr QPoint kFirstGrey(33, 115);
constexpr TColor kEastColor = rgbColor(255, 212, 255);

void askHint(QWidget* w, QPoint at)
{
    QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &help);
}
QWidget* toolTipLabel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
            return w;
    return nullptr;
}

std::string hex(TColor c)
{
    return c == clNone ? "none" : ColorToHexText(c);
}

class HexaColorPickerTest : public testing::Test {
protected:
    HexaColorPickerTest()
    {
        window.setGeometry(100, 100, 300, 250);
        picker.setParent(&window);
        picker.setGeometry(17, 31, 142, 138);
        QObject::connect(&picker, &PickerBase::OnChange,
                         [this](QObject*) { log.push_back("change " + hex(picker.SelectedColor())); });
        QObject::connect(&picker, &THexaColorPicker::OnIntensityChange,
                         [this](QObject*) { log.push_back("intensity " + std::to_string(picker.Intensity())); });
        QObject::connect(&picker, &PickerBase::OnMouseDown,
                         [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             log.push_back("down " + hex(picker.SelectedColor()));
                         });
        QObject::connect(&picker, &PickerBase::OnMouseUp,
                         [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             log.push_back("up " + hex(picker.SelectedColor()));
                         });
        QObject::connect(&picker, &PickerBase::OnKeyDown, [this](QObject*, int key, Qt::KeyboardModifiers) {
            log.push_back("keydown " + std::to_string(key));
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        picker.repaint();
        log.clear();
    }
    ~HexaColorPickerTest() override { QToolTip::hideText(); }

    QImage frame() { return picker.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    KeyWindow window;
    THexaColorPicker picker;
    std::vector<std::string> log;
};

TEST(HexaColorPicker, StartsAsDesigned)
{
    THexaColorPicker p;
    EXPECT_EQ(p.size(), QSize(204, 206));
    EXPECT_EQ(p.minimumSize(), QSize(93, 85));
    EXPECT_EQ(p.HintFormat(), "RGB(%r, %g, %b)\rHex: %h");
    EXPECT_TRUE(p.ShowHint());
    EXPECT_EQ(p.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(p.Intensity(), 100);
    EXPECT_EQ(p.IntensityIncrement(), 1);
    EXPECT_EQ(p.SliderWidth(), 12);
    EXPECT_EQ(p.SelectedColor(), clBlack);
    EXPECT_EQ(p.model().SelectedComb(), -17);
    // Before it is first shown, the geometry of radius 90.
    EXPECT_EQ(p.model().Radius(), 90);
    p.show();
    EXPECT_EQ(p.model().Radius(), 91);

    // A colour assigned before the control is first shown stays.
    THexaColorPicker early;
    early.setSelectedColor(kEastColor);
    early.show();
    EXPECT_EQ(early.SelectedColor(), kEastColor);
    EXPECT_EQ(early.model().SelectedComb(), 2);
}

TEST_F(HexaColorPickerTest, ClickingACombSelectsItAfterTheOwnerHeardOfThePress)
{
    ASSERT_EQ(picker.model().Radius(), 60);
    drag(&picker, kEast, Qt::NoButton);
    EXPECT_TRUE(picker.InCombArea());
    EXPECT_EQ(picker.ColorUnderCursor(), kEastColor);
    press(&picker, kEast);
    EXPECT_TRUE(picker.hasFocus());
    release(&picker, kEast);
    // OnMouseDown sees the black of before; the release assigns the same colour once more.
    EXPECT_THAT(log, testing::ElementsAre("down 000000", "change FFD4FF", "up FFD4FF", "change FFD4FF"));
    EXPECT_EQ(picker.model().SelectedComb(), 2);

    // Other buttons reach the owner and do nothing else.
    log.clear();
    press(&picker, kEast2, Qt::RightButton);
    release(&picker, kEast2, Qt::RightButton);
    EXPECT_THAT(log, testing::ElementsAre("down FFD4FF", "up FFD4FF"));

    // A double click is a press, then OnDblClick.
    int doubles = 0;
    QObject::connect(&picker, &THexaColorPicker::OnDblClick, [&doubles](QObject*) { ++doubles; });
    sendMouse(&picker, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, kEast2);
    release(&picker, kEast2);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(picker.model().SelectedComb(), 3);
}

TEST_F(HexaColorPickerTest, ADragActsOnlyInTheAreaItBeganIn)
{
    press(&picker, kEast);
    drag(&picker, kFirstGrey);
    drag(&picker, {125, 50});
    EXPECT_EQ(picker.SelectedColor(), kEastColor);
    EXPECT_EQ(picker.Intensity(), 100);
    // Over a gap between combs the selection stays; the next comb takes it.
    drag(&picker, {60 - 13, 53 - 49});
    EXPECT_EQ(picker.SelectedColor(), kEastColor);
    drag(&picker, kEast2);
    EXPECT_EQ(picker.model().SelectedComb(), 3);
    release(&picker, kEast2);

    press(&picker, kFirstGrey);
    EXPECT_EQ(picker.SelectedColor(), rgbColor(225, 225, 225));
    drag(&picker, kEast);
    EXPECT_EQ(picker.SelectedColor(), rgbColor(225, 225, 225));
    drag(&picker, {38, 123});
    EXPECT_EQ(picker.SelectedColor(), rgbColor(210, 210, 210));
    release(&picker, {38, 123});

    // Sideways off the slider the drag stops acting, and picks up again in its columns.
    press(&picker, {125, 57});
    EXPECT_EQ(picker.Intensity(), 49); // 1 - 46 / 91
    drag(&picker, {119, 20});
    drag(&picker, {60, 53});
    EXPECT_EQ(picker.Intensity(), 49); // 1 - 46 / 91
    EXPECT_EQ(picker.model().SelectedComb(), -3);
    drag(&picker, {142, 11});
    EXPECT_EQ(picker.Intensity(), 100);
    release(&picker, {142, 11});
}

TEST_F(HexaColorPickerTest, ADragCutShortByHidingHoldsNothing)
{
    press(&picker, {125, 50});
    picker.hide();
    picker.show();
    press(&picker, kEast);
    release(&picker, kEast);
    EXPECT_EQ(picker.model().SelectedComb(), 2);
    // Also when the release was lost some other way.
    press(&picker, {125, 50});
    press(&picker, kFirstGrey);
    EXPECT_EQ(picker.SelectedColor(), rgbColor(225, 225, 225));
    release(&picker, kFirstGrey);
}

TEST_F(HexaColorPickerTest, SliderDragClampsAboveAndBelow)
{
    press(&picker, kEast);
    release(&picker, kEast);
    log.clear();
    press(&picker, {125, 50});
    EXPECT_EQ(picker.Intensity(), 57); // 1 - 39 / 91
    drag(&picker, {125, -40});
    EXPECT_EQ(picker.Intensity(), 100);
    drag(&picker, {131, 400});
    EXPECT_EQ(picker.Intensity(), 0);
    release(&picker, {131, 400});
    // The selected comb keeps its place and takes its new colour; each step tells both listeners.
    EXPECT_EQ(picker.SelectedColor(), rgbColor(43, 0, 43));
    EXPECT_THAT(log, testing::ElementsAre("down FFD4FF", "change A479A4", "intensity 57", "change FFD4FF",
                                          "intensity 100", "change 2B002B", "intensity 0", "up 2B002B"));
}

TEST_F(HexaColorPickerTest, WheelAndUpDownStepTheIntensity)
{
    picker.setIntensityIncrement(5);
    picker.setIntensity(50);
    picker.setFocus();
    log.clear();
    EXPECT_TRUE(wheel(&picker, 120, kCentre));
    EXPECT_EQ(picker.Intensity(), 55);
    EXPECT_TRUE(wheel(&picker, -240, kCentre));
    EXPECT_EQ(picker.Intensity(), 45);
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.Intensity(), 50);
    QTest::keyClick(&picker, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(picker.Intensity(), 45);
    EXPECT_EQ(std::count(log.begin(), log.end(), "keydown " + std::to_string(Qt::Key_Down)), 1);
    // The picker's own handling comes first, then OnKeyDown.
    EXPECT_EQ(log.back(), "keydown " + std::to_string(Qt::Key_Down));
    EXPECT_EQ(log[log.size() - 2], "intensity 45");
    QTest::keyClick(&picker, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(picker.Intensity(), 100);
    QTest::keyClick(&picker, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(picker.Intensity(), 0);
    EXPECT_TRUE(window.keys.empty());
    EXPECT_TRUE(picker.HandlesKey(Qt::Key_Left));
    EXPECT_FALSE(picker.HandlesKey(Qt::Key_A));
    QTest::keyClick(&picker, Qt::Key_A);
    EXPECT_THAT(window.keys, testing::ElementsAre(Qt::Key_A));

    // An owner that handles OnMouseWheel itself replaces the own step.
    QObject::connect(&picker, &PickerBase::OnMouseWheel,
                     [this](QObject*, Qt::KeyboardModifiers, int delta, QPoint, bool* handled) {
                         picker.setIntensity(picker.Intensity() + (delta > 0 ? 1 : -1));
                         *handled = true;
                     });
    wheel(&picker, 120, kCentre);
    EXPECT_EQ(picker.Intensity(), 1);
}

TEST_F(HexaColorPickerTest, CtrlLeftAndRightTakeWhiteAndBlackAndPlainOnesWalkTheCombs)
{
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(picker.SelectedColor(), clWhite);
    EXPECT_EQ(picker.model().SelectedComb(), -1);
    QTest::keyClick(&picker, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(picker.SelectedColor(), clBlack);
    // From black the keys step from the centre comb.
    QTest::keyClick(&picker, Qt::Key_Right);
    EXPECT_EQ(picker.SelectedColor(), kEastColor);
    QTest::keyClick(&picker, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(picker.SelectedColor(), clWhite);
}

TEST_F(HexaColorPickerTest, HintsDescribeTheCombOrTheIntensity)
{
    drag(&picker, kEast, Qt::NoButton);
    askHint(&picker, kEast);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "RGB(255, 212, 255)\nHex: FFD4FF");
    // Moving on updates the hint at once.
    drag(&picker, kFirstGrey, Qt::NoButton);
    EXPECT_EQ(QToolTip::text(), "RGB(225, 225, 225)\nHex: E1E1E1");

    picker.setIntensity(75);
    drag(&picker, {125, 40}, Qt::NoButton);
    askHint(&picker, {125, 40});
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Intensity: 75%");
    // At the slider's right edge, 8 pixels above the cursor; it follows the cursor.
    ASSERT_NE(toolTipLabel(), nullptr);
    EXPECT_EQ(toolTipLabel()->pos(), picker.mapToGlobal(QPoint(142, 32)));
    drag(&picker, {127, 60}, Qt::NoButton);
    EXPECT_EQ(toolTipLabel()->pos(), picker.mapToGlobal(QPoint(142, 52)));

    // There is no "%hex": it is the hex digits followed by "ex".
    picker.setHintFormat("%hex");
    drag(&picker, kEast, Qt::NoButton);
    EXPECT_EQ(QToolTip::text(), "CA9FCAex"); // at intensity 75
}

TEST_F(HexaColorPickerTest, WithoutACombTheOwnerMaySupplyTheHint)
{
    int asked = 0;
    QObject::connect(&picker, &THexaColorPicker::OnHint, [&asked](QObject*, int cell, QString* text) {
        ++asked;
        *text = QStringLiteral("cell %1").arg(cell);
    });
    drag(&picker, kEast, Qt::NoButton);
    askHint(&picker, {60 - 13, 53 - 49}); // a gap: the last move was over a comb
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "cell -1");
    EXPECT_EQ(asked, 1);

    // Nothing under the last move and not over the slider: the picker adds nothing.
    drag(&picker, {100, 130}, Qt::NoButton);
    EXPECT_EQ(picker.ColorUnderCursor(), clNone);
    askHint(&picker, {100, 130});
    EXPECT_EQ(asked, 1);

    // With ShowHint off no hint is shown.
    QToolTip::hideText();
    picker.setShowHint(false);
    drag(&picker, kEast, Qt::NoButton);
    askHint(&picker, kEast);
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text().startsWith("RGB"));
}

// The pixels in which two frames differ lie within the box around a comb and are inverted.
void expectOutlineAround(const QImage& plain, const QImage& outlined, QPoint centre, int size)
{
    int inverted = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb a = plain.pixel(x, y) & 0xFFFFFF;
            const QRgb b = outlined.pixel(x, y) & 0xFFFFFF;
            if (a == b)
                continue;
            EXPECT_EQ(a ^ 0xFFFFFF, b) << x << "," << y;
            EXPECT_LE(std::abs(x - centre.x()), size / 2 + 2) << x << "," << y;
            EXPECT_LE(std::abs(y - centre.y()), size / 2 + 2) << x << "," << y;
            ++inverted;
        }
    }
    EXPECT_GT(inverted, 2 * size);
}

TEST_F(HexaColorPickerTest, PaintsCombsGreysGradientMarkerAndOutline)
{
    picker.setSelectedColor(rgbColor(1, 2, 3));
    const QImage plain = frame();
    // Nothing outlined: the frame is the cached image.
    EXPECT_EQ(plain, picker.combImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(plain.pixel(kCentre) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(plain.pixel(kEast) & 0xFFFFFF, 0xFFD4FFu);
    EXPECT_EQ(plain.pixel(60 + 52, 53) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(plain.pixel(11, 120) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(plain.pixel(kFirstGrey) & 0xFFFFFF, 0xE1E1E1u);
    EXPECT_EQ(plain.pixel(124, 120) & 0xFFFFFF, 0u);
    // The gradient takes x = 120 .. 131, white at the top, black at the bottom.
    EXPECT_EQ(plain.pixel(120, 11) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(plain.pixel(131, 56) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(plain.pixel(125, 101) & 0xFFFFFF, 0u);
    const QRgb background = picker.Color().rgb() & 0xFFFFFF;
    EXPECT_EQ(plain.pixel(132, 56) & 0xFFFFFF, background);
    EXPECT_EQ(plain.pixel(125, 105) & 0xFFFFFF, background);
    // The marker's tip at (Width - 8, 11) at intensity 100, in the shadow colour, filled with the window's.
    EXPECT_EQ(plain.pixel(134, 11), picker.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(plain.pixel(138, 11), picker.palette().color(QPalette::Base).rgb());
    EXPECT_EQ(plain.pixel(138, 30) & 0xFFFFFF, background);

    picker.setSelectedColor(kEastColor);
    expectOutlineAround(plain, frame(), kEast, 11);
    picker.setSelectedColor(rgbColor(225, 225, 225));
    expectOutlineAround(plain, frame(), kFirstGrey, 11);

    // White outlines the white comb and the white centre.
    picker.setSelectedColor(clWhite);
    const QImage both = frame();
    EXPECT_NE(both.pixel(60, 53 - 6), plain.pixel(60, 53 - 6));
    EXPECT_NE(both.pixel(11, 120 - 11), plain.pixel(11, 120 - 11));

    // A colour no comb has: nothing outlined; an intensity change then reports no colour.
    picker.setSelectedColor(rgbColor(1, 2, 3));
    EXPECT_EQ(frame(), plain);
    picker.setIntensity(60);
    EXPECT_EQ(picker.SelectedColor(), clNone);
    EXPECT_EQ(frame().pixel(kCentre) & 0xFFFFFF, 0x999999u);
    EXPECT_EQ(frame().pixel(134, 46) & 0xFFFFFF, picker.palette().color(QPalette::Dark).rgb() & 0xFFFFFF);
}

TEST_F(HexaColorPickerTest, ASelectionChangeCopiesTheCachedImage)
{
    const int builds = picker.combImageBuildCount();
    const int frames = picker.frameCount();
    int changes = 0;
    QObject::connect(&picker, &PickerBase::OnChange, [&changes](QObject*) { ++changes; });
    // The same colour with the same selection: OnChange each time, no repaint.
    for (int i = 0; i < 3; ++i)
        picker.setSelectedColor(clBlack);
    QApplication::processEvents();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(picker.frameCount(), frames);

    picker.setSelectedColor(kEastColor);
    picker.setSelectedColor(rgbColor(225, 225, 225));
    QApplication::processEvents();
    EXPECT_EQ(picker.frameCount(), frames + 1);
    EXPECT_EQ(picker.combImageBuildCount(), builds);

    picker.setIntensity(50);
    picker.repaint();
    EXPECT_EQ(picker.combImageBuildCount(), builds + 1);
    // The same intensity again rebuilds nothing but still reports.
    picker.setIntensity(50);
    picker.repaint();
    EXPECT_EQ(picker.combImageBuildCount(), builds + 1);
}

TEST_F(HexaColorPickerTest, SizesFollowTheLayout)
{
    picker.setMinimumSize(0, 0);
    picker.resize(80, 200);
    picker.resize(142, 60);
    EXPECT_EQ(picker.model().Radius(), 60);
    picker.resize(204, 206);
    EXPECT_EQ(picker.model().Radius(), 91);
    picker.repaint();

    // A new slider width sizes the control to the layout, and the radius follows the new size.
    picker.resize(142, 138);
    picker.setSliderWidth(20);
    EXPECT_EQ(picker.size(), QSize(60 * 2 + 20 + 10 + 2, 135 + 2));
    EXPECT_EQ(picker.model().Radius(), 59);
    EXPECT_EQ(picker.model().SliderRect().Left, 118);
    const QImage img = frame();
    EXPECT_EQ(img.size(), picker.size());
}

} // namespace
} // namespace tintara
