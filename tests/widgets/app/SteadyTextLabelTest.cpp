#include "app/SteadyTextLabel.h"

#include <QImage>

#include <gtest/gtest.h>

namespace tintara {
namespace {

QImage picture(QLabel& label)
{
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The status line drawn from its kept layout looks as the label draws it, through the pulse's colour
// changes and a change of text.
TEST(SteadyTextLabelTest, LooksAsTheLabelThroughColourAndTextChanges)
{
    QLabel plain;
    SteadyTextLabel steady;
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    for (QLabel* label : std::initializer_list<QLabel*>{&plain, &steady}) {
        label->setFont(f);
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->resize(254, 12);
    }
    const char* texts[] = {"Click this Tintara window to start grabbing colors",
                           "Press Ctrl and G on your keyboard to grab a Color", "x"};
    for (const char* text : texts)
        for (const int red : {140, 170, 200}) {
            SCOPED_TRACE(testing::Message() << text << " " << red);
            for (QLabel* label : std::initializer_list<QLabel*>{&plain, &steady}) {
                label->setText(QString::fromLatin1(text));
                QPalette p = label->palette();
                p.setColor(QPalette::Window, QColor(red, 0, 0));
                p.setColor(QPalette::WindowText, Qt::white);
                label->setPalette(p);
            }
            EXPECT_TRUE(picture(plain) == picture(steady));
        }
}

} // namespace
} // namespace tintara
