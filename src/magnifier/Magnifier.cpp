#include "magnifier/Magnifier.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace tintara {

TMagnifier::TMagnifier(ScreenSource& screen, QWidget* parent) : QWidget(parent), core_(screen)
{
    // Every pixel is painted from the zoom bitmap (or the background where it does not reach), so Qt
    // need not erase first; that keeps a repaint from flickering.
    setAttribute(Qt::WA_OpaquePaintEvent);
    core_.requestRepaint = [this] { update(); };
    core_.parentBounds = [this] {
        const QWidget* p = parentWidget() ? parentWidget() : this;
        const QPoint topLeft = p->mapToGlobal(QPoint(0, 0));
        return TRect{topLeft.x(), topLeft.y(), topLeft.x() + p->width(), topLeft.y() + p->height()};
    };
    syncSize();
}

void TMagnifier::setMagnification(int value)
{
    syncSize();
    core_.setMagnification(value);
}

void TMagnifier::setPointSize(int value)
{
    syncSize();
    core_.setPointSize(value);
}

void TMagnifier::setHiLite(bool value)
{
    syncSize();
    core_.setHiLite(value);
}

void TMagnifier::setHiLiteColor(TColor value)
{
    syncSize();
    core_.setHiLiteColor(value);
}

void TMagnifier::setGrid(bool value)
{
    syncSize();
    core_.setGrid(value);
}

void TMagnifier::setGridColor(TColor value)
{
    syncSize();
    core_.setGridColor(value);
}

void TMagnifier::setSmooth(bool value)
{
    syncSize();
    core_.setSmooth(value);
}

TColor TMagnifier::pickColor(bool Force)
{
    syncSize();
    return core_.pickColor(Force);
}

void TMagnifier::setVisible(bool visible)
{
    core_.setVisible(visible);
    QWidget::setVisible(visible);
}

void TMagnifier::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    syncSize();
    try {
        core_.Resize();
    } catch (const std::exception&) {
        // Usually CursorPosError: the cells are already recomputed and the picture catches up with
        // the next cursor move.
    }
}

void TMagnifier::paintEvent(QPaintEvent* event)
{
    core_.paintOverlays();
    const Bitmap32& zoom = core_.ZoomBitmap();
    QPainter painter(this);
    QRegion uncovered = event->region();
    if (!zoom.empty()) {
        // Shown straight from the bitmap's memory: its rows are already QImage's RGB32 layout.
        const QImage image(reinterpret_cast<const uchar*>(zoom.bits()), zoom.width(), zoom.height(),
                           static_cast<qsizetype>(zoom.width()) * 4, QImage::Format_RGB32);
        painter.drawImage(0, 0, image);
        uncovered -= QRect(0, 0, zoom.width(), zoom.height());
    }
    // Before the first capture, or when the control grew without a new picture.
    for (const QRect& r : uncovered)
        painter.fillRect(r, palette().window());
}

} // namespace tintara
