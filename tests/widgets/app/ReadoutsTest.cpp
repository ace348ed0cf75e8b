#include "app/ReadoutEdit.h"
#include "app/ReadoutLabel.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tintara {
namespace {

// The read-out paints its digits from glyphs drawn once; it must look as the line edit it stands for:
// the same pixels.
class ReadoutEditTest : public ::testing::Test {
protected:
    template <class Edit>
    static std::unique_ptr<QLineEdit> make(int width, int pixelSize)
    {
        auto edit = std::make_unique<Edit>();
        edit->setFrame(false);
        edit->setAutoFillBackground(true);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixelSize);
        f.setStyleStrategy(QFont::PreferNoShaping);
        edit->setFont(f);
        edit->setMaxLength(8);
        edit->resize(width, 17);
        return edit;
    }

    // Largest difference of one channel between the two pictures.
    static int largestDifference(const QImage& a, const QImage& b)
    {
        EXPECT_EQ(a.size(), b.size());
        int worst = 0;
        for (int y = 0; y < std::min(a.height(), b.height()); ++y)
            for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))});
            }
        return worst;
    }

    static QImage picture(QWidget& widget)
    {
        return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(ReadoutEditTest, LooksAsTheLineEditItStandsFor)
{
    struct Case {
        int width;
        int pixelSize;
        const char* text;
    };
    static constexpr Case cases[] = {
        {59, 11, "A3F0C1"},   {59, 11, "FFFFFF"},   {59, 11, "16777215"}, {59, 11, "0"},  {28, 11, "255"},
        {28, 11, "7"},        {59, 11, "BEEF-01"},  {59, 14, "8D9E"},     {28, 9, "360"}, {59, 11, "1234567"},
        {28, 11, "99999999"}, // wider than the field: the line edit scrolls, the read-out leaves it to it
        {59, 11, "x1F"},      // a character the glyphs do not hold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto plain = make<QLineEdit>(c.width, c.pixelSize);
        const auto readout = make<ReadoutEdit>(c.width, c.pixelSize);
        plain->setText(QString::fromLatin1(c.text));
        readout->setText(QString::fromLatin1(c.text));
        plain->setCursorPosition(0);
        readout->setCursorPosition(0);
        EXPECT_LE(largestDifference(picture(*plain), picture(*readout)), 0);
    }
}

TEST_F(ReadoutEditTest, FollowsItsColoursAndFontWhenTheyChange)
{
    const auto plain = make<QLineEdit>(59, 11);
    const auto readout = make<ReadoutEdit>(59, 11);
    for (QLineEdit* edit : {plain.get(), readout.get()})
        edit->setText(QStringLiteral("C0FFEE"));
    (void)picture(*readout); // glyphs drawn with the first colours
    for (QLineEdit* edit : {plain.get(), readout.get()}) {
        QPalette p = edit->palette();
        p.setColor(QPalette::Text, QColor(200, 30, 40));
        p.setColor(QPalette::Base, QColor(10, 20, 90));
        edit->setPalette(p);
    }
    EXPECT_LE(largestDifference(picture(*plain), picture(*readout)), 0);
    for (QLineEdit* edit : {plain.get(), readout.get()}) {
        QFont f = edit->font();
        f.setPixelSize(13);
        edit->setFont(f);
    }
    EXPECT_LE(largestDifference(picture(*plain), picture(*readout)), 0);
}

// A shown text paints at once; the line edit (its signals, what accessibility reads) gets it when the
// owner commits, or first thing when anything but a paint reaches the field, or at once with the focus.
TEST_F(ReadoutEditTest, ShowsATextAtOnceAndHandsItToTheLineEditWhenCommitted)
{
    const auto plain = make<QLineEdit>(59, 11);
    const auto made = make<ReadoutEdit>(59, 11);
    auto& readout = static_cast<ReadoutEdit&>(*made);
    QStringList changes;
    QObject::connect(&readout, &QLineEdit::textChanged, [&changes](const QString& text) { changes << text; });

    plain->setText(QStringLiteral("C0FFEE"));
    plain->setCursorPosition(0);
    readout.show(); // as a field of a shown window: no pending resize for the picture to send
    readout.showText(QLatin1StringView("C0FFEE"));
    EXPECT_EQ(readout.text(), "C0FFEE");
    EXPECT_EQ(readout.QLineEdit::text(), "");
    EXPECT_LE(largestDifference(picture(*plain), picture(readout)), 0);
    EXPECT_TRUE(readout.hasUncommittedText()); // painted what it shows, not the line edit's text
    readout.commitText();
    EXPECT_EQ(readout.QLineEdit::text(), "C0FFEE");
    EXPECT_EQ(changes, QStringList{"C0FFEE"});

    readout.showText(QLatin1StringView("BEEF01"));
    readout.showText(QLatin1StringView("123456789")); // longer than the field takes
    EXPECT_EQ(readout.text(), "12345678");
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(&readout, &home);
    EXPECT_EQ(readout.QLineEdit::text(), "12345678");
    EXPECT_EQ(changes, (QStringList{"C0FFEE", "12345678"}));

    readout.setText(QStringLiteral("typed")); // through the line edit: shown as it is
    EXPECT_EQ(readout.text(), "typed");
    EXPECT_FALSE(readout.hasUncommittedText());

    QApplication::setActiveWindow(&readout);
    readout.setFocus();
    ASSERT_TRUE(readout.hasFocus());
    readout.setCursorPosition(3);
    readout.showText(QLatin1StringView("ABC"));
    EXPECT_EQ(readout.QLineEdit::text(), "ABC"); // the user may be about to edit it
    EXPECT_EQ(readout.cursorPosition(), 0);
}

// In a window, a new value goes straight into the toolkit's picture of the window, only where the
// read-out shows: a control on top of it keeps its pixels.
TEST_F(ReadoutEditTest, PaintsStraightIntoTheWindowOnlyWhereItShows)
{
    QWidget window;
    window.resize(80, 30);
    auto* readout = new ReadoutEdit(&window);
    readout->setFrame(false);
    readout->setAutoFillBackground(true);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::PreferNoShaping);
    readout->setFont(f);
    readout->setGeometry(5, 5, 59, 17);
    readout->setFocusPolicy(Qt::NoFocus); // alone in its window it would take the focus, and show a caret
    auto* above = new QWidget(&window);
    above->setAutoFillBackground(true);
    QPalette red = above->palette();
    red.setColor(QPalette::Window, Qt::red);
    above->setPalette(red);
    above->setGeometry(40, 0, 30, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    readout->showText(QLatin1StringView("C0FFEE"));
    QTest::qWait(30);
    readout->showText(QLatin1StringView("123456"));
    QTest::qWait(30);
    EXPECT_TRUE(readout->hasUncommittedText()); // painted from its glyphs
    const auto* store = static_cast<const QImage*>(window.backingStore()->paintDevice());
    const QImage shown = store->copy(QRect(5, 5, 35, 17)).convertToFormat(QImage::Format_RGB32);
    const QImage asItIs = readout->grab(QRect(0, 0, 35, 17)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_LE(largestDifference(shown, asItIs), 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 40; x < 70; ++x)
            ASSERT_EQ(store->pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
}

// The percentages paint from glyphs too; they must look as the labels they stand for.
TEST_F(ReadoutEditTest, ReadoutLabelsLookAsTheLabelsTheyStandFor)
{
    struct Case {
        QSize size;
        int pixelSize;
        Qt::Alignment alignment;
        int margin;
        const char* text;
    };
    constexpr auto kRight = Qt::AlignRight | Qt::AlignVCenter;
    constexpr auto kLeft = Qt::AlignLeft | Qt::AlignVCenter;
    static const Case cases[] = {
        {{22, 14}, 11, kRight, 0, "0"},   {{22, 14}, 11, kRight, 0, "100"}, {{22, 14}, 11, kRight, 0, "47"},
        {{22, 15}, 11, kRight, 0, "8"},   {{30, 13}, 9, kLeft, 0, "360"},   {{30, 16}, 12, kRight, 1, "-25"},
        {{22, 14}, 11, kRight, 0, "1234"}, // wider than the label: clipped by the text engine
        {{22, 14}, 11, Qt::AlignCenter, 0, "55"}, // centred: left to the label
        {{22, 14}, 11, kRight, 0, "5%"},  // a character the glyphs do not hold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QLabel plain;
        ReadoutLabel readout;
        for (QLabel* label : {&plain, static_cast<QLabel*>(&readout)}) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(c.pixelSize);
            f.setStyleStrategy(QFont::PreferNoShaping);
            label->setFont(f);
            QPalette p = label->palette();
            p.setColor(QPalette::Window, QColor(236, 233, 216));
            label->setPalette(p);
            label->setAutoFillBackground(true);
            label->setAlignment(c.alignment);
            label->setMargin(c.margin);
            label->resize(c.size);
            label->setText(QString::fromLatin1(c.text));
        }
        EXPECT_LE(largestDifference(picture(plain), picture(readout)), 0);
        QPalette p = readout.palette();
        p.setColor(QPalette::WindowText, QColor(20, 90, 200));
        for (QLabel* label : {&plain, static_cast<QLabel*>(&readout)})
            label->setPalette(p);
        EXPECT_LE(largestDifference(picture(plain), picture(readout)), 0);
    }
}

// A percentage shown while the colour moves paints at once; the label itself (its size hint, what
// accessibility reads) gets it when the owner commits or any event but a paint arrives, without a
// repaint of its own. A look the glyphs do not stand for takes the text at once.
TEST_F(ReadoutEditTest, ReadoutLabelsShowAValueAtOnceAndTakeItWhenCommitted)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return QObject::eventFilter(watched, event);
        }
    };
    const auto setUp = [](QLabel& label, Qt::Alignment alignment) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(11);
        f.setStyleStrategy(QFont::PreferNoShaping);
        label.setFont(f);
        label.setAutoFillBackground(true);
        label.setAlignment(alignment);
        label.resize(22, 14);
    };
    // In a window, as the percentages are: the window, not the label, receives its update requests.
    QWidget window;
    window.resize(60, 20);
    QLabel plain;
    auto& readout = *new ReadoutLabel(&window);
    auto& centred = *new ReadoutLabel(&window);
    setUp(plain, Qt::AlignRight | Qt::AlignVCenter);
    setUp(readout, Qt::AlignRight | Qt::AlignVCenter);
    setUp(centred, Qt::AlignCenter);
    centred.move(30, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    readout.showText(QLatin1StringView("12"));
    QTest::qWait(30); // its first paint, which tells that it paints from glyphs
    readout.showText(QLatin1StringView("47"));
    EXPECT_EQ(readout.text(), "47");
    EXPECT_EQ(readout.QLabel::text(), "12");
    QTest::qWait(30); // the repaint showText() asked for: the window's update may come on a timer
    PaintCounter counter;
    readout.installEventFilter(&counter);
    ASSERT_TRUE(readout.hasUncommittedText());
    readout.commitText();
    QTest::qWait(30);
    EXPECT_EQ(readout.QLabel::text(), "47");
    EXPECT_EQ(counter.paints, 0);
    readout.removeEventFilter(&counter);
    plain.setText(QStringLiteral("47"));
    EXPECT_LE(largestDifference(picture(plain), picture(readout)), 0);

    readout.showText(QLatin1StringView("100"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&readout, &enter);
    EXPECT_EQ(readout.QLabel::text(), "100");
    EXPECT_FALSE(readout.hasUncommittedText());

    centred.showText(QLatin1StringView("5"));
    QTest::qWait(30);
    centred.showText(QLatin1StringView("55"));
    EXPECT_EQ(centred.QLabel::text(), "55");
}

} // namespace
} // namespace tintara
