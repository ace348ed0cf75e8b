#include "app/ReadoutEdit.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>

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

    static QImage picture(QLineEdit& edit)
    {
        return edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

} // namespace
} // namespace tintara
