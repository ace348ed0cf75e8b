#include "magnifier/Magnifier.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QRegion>
#include <QTest>
#include <gtest/gtest.h>

namespace tintara {
namespace {

QRgb rgbOf(TColor c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

class MagnifierWidgetTest : public testing::Test {
protected:
    MagnifierWidgetTest() : screen(800, 600), magnifier(screen)
    {
        // Left half red, right half blue from the cursor's column on, one green pixel on the cursor.
        screen.fillScreen(rgbColor(200, 0, 0));
        screen.fillRect({400, 0, 800, 600}, rgbColor(0, 0, 200));
        screen.setScreenPixel(400, 300, rgbColor(0, 180, 0));
        screen.setCursorPos(400, 300);
        magnifier.resize(273, 116);
        // Shown, so resize events arrive at once instead of waiting for the first show.
        magnifier.show();
    }

    void designed()
    {
        magnifier.setMagnification(10);
        magnifier.setPointSize(1);
        magnifier.setHiLite(true);
        magnifier.setHiLiteColor(clMaroon);
        magnifier.setGrid(false);
        magnifier.setGridColor(clNavy);
        magnifier.setCurColor(clWhite);
    }

    QImage shot() { return magnifier.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    FakePlatform screen;
    TMagnifier magnifier;
};

TEST_F(MagnifierWidgetTest, PaintsTheEnlargedBlockWithItsHiLite)
{
    designed();
    EXPECT_EQ(magnifier.pickColor(true), rgbColor(0, 180, 0));
    EXPECT_EQ(magnifier.Green(), 180u);

    const QImage img = shot();
    ASSERT_EQ(img.size(), QSize(273, 116));
    // The capture starts 14 pixels left of the cursor: cells 0..13 red, the cursor's cell 14 (pixels
    // 140..149) green, blue after it. The hi-lite runs on columns 139 and 150, rows 59 and 70.
    EXPECT_EQ(img.pixel(5, 5), rgbOf(rgbColor(200, 0, 0)));
    EXPECT_EQ(img.pixel(135, 65), rgbOf(rgbColor(200, 0, 0)));
    EXPECT_EQ(img.pixel(145, 65), rgbOf(rgbColor(0, 180, 0)));
    EXPECT_EQ(img.pixel(155, 65), rgbOf(rgbColor(0, 0, 200)));
    EXPECT_EQ(img.pixel(145, 50), rgbOf(rgbColor(0, 0, 200)));
    for (const QPoint p : {QPoint(139, 59), QPoint(139, 70), QPoint(150, 59), QPoint(150, 70), QPoint(139, 65),
                           QPoint(150, 65), QPoint(145, 59), QPoint(145, 70)})
        EXPECT_EQ(img.pixel(p), rgbOf(clMaroon)) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(140, 60), rgbOf(rgbColor(0, 180, 0)));
    EXPECT_EQ(img.pixel(272, 115), rgbOf(rgbColor(0, 0, 200)));
}

TEST_F(MagnifierWidgetTest, GridAndSettersShowAtOnce)
{
    designed();
    magnifier.setGrid(true);
    QImage img = shot();
    // Cell (13, 5) is boxed: its first column 130 and last 139 carry the grid pen; cell (14, 5) is not.
    EXPECT_EQ(img.pixel(130, 55), rgbOf(clNavy));
    EXPECT_EQ(img.pixel(135, 55), rgbOf(rgbColor(200, 0, 0)));
    EXPECT_EQ(img.pixel(140, 55), rgbOf(rgbColor(0, 0, 200)));

    magnifier.setGrid(false);
    magnifier.setHiLiteColor(clLime);
    img = shot();
    EXPECT_EQ(img.pixel(130, 55), rgbOf(rgbColor(200, 0, 0))) << "the fresh capture removed the old grid";
    EXPECT_EQ(img.pixel(139, 65), rgbOf(clLime));
}

TEST_F(MagnifierWidgetTest, ResizeRecomputesTheCellsAndRecaptures)
{
    designed();
    const int before = screen.captureCount();
    magnifier.resize(150, 80);
    EXPECT_EQ(magnifier.core().CellsAcross(), 15);
    EXPECT_EQ(magnifier.core().CellsDown(), 8);
    EXPECT_GT(screen.captureCount(), before);
    const QImage img = shot();
    // 15 x 8 cells: the cursor is in cell 8, 5; pixels 80..89, 50..59.
    EXPECT_EQ(img.pixel(85, 55), rgbOf(rgbColor(0, 180, 0)));
    EXPECT_EQ(img.pixel(79, 55), rgbOf(clMaroon));
}

TEST_F(MagnifierWidgetTest, CursorFailureDuringResizeStaysInside)
{
    designed();
    screen.setCursorPosFails(true);
    magnifier.resize(200, 100); // must not throw out of the resize event
    EXPECT_EQ(magnifier.core().CellsAcross(), 20);
    EXPECT_THROW(magnifier.pickColor(false), CursorPosError);
}

TEST_F(MagnifierWidgetTest, HiddenWidgetDoesNotCapture)
{
    designed();
    magnifier.hide();
    const int before = screen.captureCount();
    magnifier.setPointSize(3);
    EXPECT_EQ(screen.captureCount(), before);
    magnifier.show();
    const int shown = screen.captureCount();
    magnifier.setPointSize(3);
    EXPECT_EQ(screen.captureCount(), shown + 1);
}

TEST_F(MagnifierWidgetTest, ParentCentreWithoutFollowMouse)
{
    QWidget parent;
    parent.setGeometry(100, 50, 301, 201);
    TMagnifier child(screen, &parent);
    child.setGeometry(10, 10, 273, 116);
    child.setMagnification(10);
    child.setFollowMouse(false);
    child.pickColor(false);
    const QPoint topLeft = parent.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(child.core().LastPoint(), (TPoint{topLeft.x() + 150, topLeft.y() + 100}));
    EXPECT_TRUE(child.CaptureOpaque());
}

TEST_F(MagnifierWidgetTest, UncoveredAreaIsPaintedNotLeftUndefined)
{
    // Before any magnification there is no picture: the widget shows its background.
    ASSERT_TRUE(magnifier.core().ZoomBitmap().empty());
    const QImage img = shot();
    EXPECT_EQ(img.pixel(10, 10), magnifier.palette().window().color().rgb());
}

// In a window, the picture is enlarged straight into the window's own picture, rectangle by
// rectangle of each repaint, and shows there what the bitmap with its overlays shows.
TEST_F(MagnifierWidgetTest, PaintsStraightIntoTheWindowWhatTheBitmapShows)
{
    QWidget window;
    window.setGeometry(100, 50, 320, 160);
    TMagnifier child(screen, &window);
    child.setGeometry(13, 7, 273, 116);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    child.setMagnification(6);
    child.setHiLite(true);
    child.setHiLiteColor(clMaroon);
    child.setGrid(true);
    child.setGridColor(clNavy);
    const auto onScreen = [&] {
        const QImage* store = static_cast<const QImage*>(window.backingStore()->paintDevice());
        return store->copy(QRect(child.mapTo(&window, QPoint(0, 0)), child.size()))
            .convertToFormat(QImage::Format_RGB32);
    };
    // What the bitmap shows with its overlays, the way the widget paints where it cannot paint
    // straight into the picture beneath it.
    const auto asTheBitmapShows = [&] {
        child.core().paintOverlays();
        const Bitmap32& z = child.core().ZoomBitmap();
        QImage image(child.size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, 0xFF000000u | z.pixel(x, y));
        return image;
    };
    for (const bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "sharp");
        child.setSmooth(smooth);
        screen.setCursorPos(397, 303);
        child.pickColor(false);
        child.repaint();
        const QImage whole = onScreen();
        // Painted without the bitmap: it holds the enlargement alone, as a capture leaves it.
        EXPECT_NE(child.core().ZoomBitmap().pixel(137, 62), pixelFromColor(clMaroon));
        EXPECT_EQ(whole, asTheBitmapShows());

        // A new capture painted in part only (across cells, the hi-lite and the grid) into other
        // pictures, the part's top-left at `at`: opaque, also where the picture has an alpha channel
        // (as the window system's has).
        screen.setCursorPos(402, 298);
        child.pickColor(false);
        const QRect part(37, 21, 131, 53);
        const QPoint at(9, 4);
        const QImage now = asTheBitmapShows();
        for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            QImage target(200, 90, format);
            target.fill(Qt::white);
            child.render(&target, at, QRegion(part));
            for (int y = 0; y < target.height(); ++y) {
                for (int x = 0; x < target.width(); ++x) {
                    const QPoint p = QPoint(x, y) - at + part.topLeft();
                    ASSERT_EQ(target.pixel(x, y), part.contains(p) ? now.pixel(p) : qRgb(255, 255, 255))
                        << x << "," << y << " in format " << format;
                }
            }
        }
    }
}

TEST_F(MagnifierWidgetTest, PutsANewCaptureStraightInTheWindowAndInTheToolkitsPicture)
{
    QWidget window;
    window.setGeometry(100, 50, 320, 160);
    TMagnifier child(screen, &window);
    child.setGeometry(13, 7, 273, 116);
    // A control on top of the magnifier's lower right corner: that part is neither put nor drawn.
    QWidget cover(&window);
    cover.setGeometry(230, 90, 70, 50);
    cover.setAutoFillBackground(true);
    QPalette coverPalette;
    coverPalette.setColor(QPalette::Window, QColor(0x12, 0x34, 0x56));
    cover.setPalette(coverPalette);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    child.setMagnification(6);
    child.setHiLite(true);
    child.setGrid(true);
    QCoreApplication::processEvents();

    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    child.installEventFilter(&counter);
    screen.setPresentsPictures(true);
    // The picture may reach past the control; the window shows only the control.
    const QRect picture = QRect(0, 0, child.core().pictureWidth(), child.core().pictureHeight()) & child.rect();
    const QRect covered = cover.geometry().translated(-child.pos());
    for (const bool coverShown : {false, true}) {
        SCOPED_TRACE(coverShown ? "under a control" : "all of it showing");
        cover.setVisible(coverShown);
        QCoreApplication::processEvents();
        counter.paints = 0;
        screen.clearPresented();
        screen.setCursorPos(coverShown ? 397 : 404, 303);
        child.pickColor(false);
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints, 0); // no repaint through the toolkit

        ASSERT_EQ(screen.presentCount(), 1);
        const FakePlatform::Presented& put = screen.lastPresented();
        EXPECT_EQ(put.windowId, static_cast<std::uintptr_t>(window.winId()));
        EXPECT_EQ(QPoint(put.x, put.y), QPoint(13, 7));
        QRegion putRegion;
        for (const TRect& r : put.rects)
            putRegion += QRect(r.Left, r.Top, r.width(), r.height());
        EXPECT_EQ(putRegion, coverShown ? QRegion(picture) - covered : QRegion(picture));

        child.core().paintOverlays();
        const Bitmap32& shows = child.core().ZoomBitmap();
        const QImage* store = static_cast<const QImage*>(window.backingStore()->paintDevice());
        int wrongPut = 0, wrongStore = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QPoint inWindow = child.pos() + QPoint(x, y);
                if (putRegion.contains(QPoint(x, y))) {
                    wrongPut += (screen.presentationPixels().pixel(x, y) & 0xFFFFFFu) != shows.pixel(x, y);
                    wrongStore += store->pixel(inWindow) != (0xFF000000u | shows.pixel(x, y));
                } else {
                    wrongStore += store->pixel(inWindow) != qRgb(0x12, 0x34, 0x56);
                }
            }
        EXPECT_EQ(wrongPut, 0);
        EXPECT_EQ(wrongStore, 0);
    }

    // Where the desktop cannot put pictures, the toolkit repaints.
    screen.setPresentsPictures(false);
    screen.clearPresented();
    counter.paints = 0;
    screen.setCursorPos(402, 298);
    child.pickColor(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(screen.presentCount(), 0);
}

} // namespace
} // namespace tintara
