#include "magnifier/Magnifier.h"

#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTransform>

#include <cmath>
#include <cstdint>

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

namespace {

// The picture a painter on a widget draws into, when its pixels can be written directly: the raster
// engine's own image, 32 bits a pixel where an opaque pixel is 0xffRRGGBB, not shared, at 1:1 and
// shifted by whole pixels only. `offset` is the widget's origin in it.
QImage* pixelsBeneath(QPainter& painter, QPoint& offset)
{
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster)
        return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied &&
         format != QImage::Format_ARGB32) ||
        image->devicePixelRatio() != 1 || !image->isDetached())
        return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::trunc(t.dx()) || t.dy() != std::trunc(t.dy()))
        return nullptr;
    offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    return image;
}

} // namespace

void TMagnifier::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QRegion uncovered = event->region();
    const QRect picture(0, 0, core_.pictureWidth(), core_.pictureHeight());
    if (!picture.isEmpty()) {
        QPoint offset;
        if (QImage* target = pixelsBeneath(painter, offset)) {
            // Enlarged straight into that picture, each rectangle of the repaint on its own: no copy
            // of the whole picture on every move.
            const QRegion wanted = (event->region() & picture).translated(offset) & target->rect();
            const qsizetype stride = target->bytesPerLine() / 4;
            for (const QRect& r : wanted) {
                auto* first = reinterpret_cast<std::uint32_t*>(target->scanLine(r.top())) + r.left();
                Bitmap32 into = Bitmap32::over(first, r.width(), r.height(), stride);
                core_.renderPicture(into, r.left() - offset.x(), r.top() - offset.y());
            }
        } else {
            core_.paintOverlays();
            const Bitmap32& zoom = core_.ZoomBitmap();
            // Shown straight from the bitmap's memory: its rows are already QImage's RGB32 layout.
            const QImage image(reinterpret_cast<const uchar*>(zoom.bits()), zoom.width(), zoom.height(),
                               static_cast<qsizetype>(zoom.stride()) * 4, QImage::Format_RGB32);
            painter.drawImage(0, 0, image);
        }
        uncovered -= picture;
    }
    // Before the first capture, or when the control grew without a new picture.
    for (const QRect& r : uncovered)
        painter.fillRect(r, palette().window());
}

} // namespace tintara
