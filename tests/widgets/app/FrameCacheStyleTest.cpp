#include "app/FrameCacheStyle.h"

#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace tintara {
namespace {

QImage picture(QLabel& label)
{
    return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A swatch whose frame comes from the cache looks as one drawn by the style itself, through changes
// of its colours, frame and size.
TEST(FrameCacheStyleTest, FramedSwatchesLookAsTheStyleDrawsThem)
{
    FrameCacheStyle cache;
    QLabel plain, cached;
    cached.setStyle(&cache);
    struct Case {
        int frame;
        int lineWidth;
        QSize size;
        QColor window;
        QColor text;
    };
    const Case cases[] = {
        {QFrame::Panel | QFrame::Sunken, 1, {109, 37}, QColor(12, 200, 90), Qt::black},
        {QFrame::Panel | QFrame::Sunken, 1, {109, 37}, QColor(250, 250, 250), Qt::white},
        {QFrame::Box | QFrame::Plain, 1, {29, 30}, QColor(0, 0, 128), Qt::white},
        {QFrame::Box | QFrame::Plain, 1, {29, 30}, QColor(255, 255, 0), Qt::black}, // the mark's colour is the frame's
        {QFrame::Panel | QFrame::Sunken, 1, {30, 30}, QColor(1, 2, 3), Qt::white},
        {QFrame::Panel | QFrame::Raised, 3, {40, 24}, QColor(90, 60, 30), Qt::black},
        {QFrame::Box | QFrame::Sunken, 2, {6, 5}, QColor(90, 60, 30), Qt::black}, // all frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame << " " << c.size.width() << "x" << c.size.height());
        for (QLabel* label : {&plain, &cached}) {
            label->setFrameStyle(c.frame);
            label->setLineWidth(c.lineWidth);
            label->resize(c.size);
            label->setAutoFillBackground(true);
            label->setAlignment(Qt::AlignCenter);
            label->setText(QStringLiteral("Teal"));
            QPalette p = label->palette();
            p.setColor(QPalette::Window, c.window);
            p.setColor(QPalette::WindowText, c.text);
            label->setPalette(p);
        }
        EXPECT_TRUE(picture(plain) == picture(cached));
        EXPECT_TRUE(picture(plain) == picture(cached)); // the second time from the cache
    }
}

} // namespace
} // namespace tintara
