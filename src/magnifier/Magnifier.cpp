#include "magnifier/Magnifier.h"

#include <QBackingStore>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tintara {

TMagnifier::TMagnifier(ScreenSource& screen, QWidget* parent) : QWidget(parent), screen_(screen), core_(screen)
{
    // Every pixel is painted from the zoom bitmap (or the background where it does not reach), so Qt
    // need not erase first; that keeps a repaint from flickering.
    setAttribute(Qt::WA_OpaquePaintEvent);
    core_.requestRepaint = [this] { showCapture(); };
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

// A picture whose pixels the magnifier may write directly: 32 bits a pixel where an opaque pixel is
// 0xffRRGGBB, not shared, at 1:1.
bool writableDirectly(const QImage& image)
{
    const QImage::Format format = image.format();
    return (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ||
            format == QImage::Format_ARGB32) &&
           image.devicePixelRatio() == 1 && image.isDetached();
}

// The picture a painter on a widget draws into, when its pixels can be written directly: the raster
// engine's own image, writable directly and shifted by whole pixels only. `offset` is the widget's
// origin in it.
QImage* pixelsBeneath(QPainter& painter, QPoint& offset)
{
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster)
        return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    if (!writableDirectly(*image))
        return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::trunc(t.dx()) || t.dy() != std::trunc(t.dy()))
        return nullptr;
    offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    return image;
}

// Whether all of the control shows: inside each of its parents and under none of the controls stacked
// above it. Asked on every move without building a region; only when it does not, the toolkit works
// out the part that shows.
bool showsWhole(const QWidget* control)
{
    QRect r = control->rect();
    for (const QWidget* c = control; !c->isWindow(); c = c->parentWidget()) {
        const QWidget* parent = c->parentWidget();
        if (parent == nullptr)
            return false;
        r.translate(c->pos());
        if (!parent->rect().contains(r))
            return false;
        const QObjectList& siblings = parent->children();
        for (auto it = std::find(siblings.begin(), siblings.end(), c) + 1; it < siblings.end(); ++it) {
            if (!(*it)->isWidgetType())
                continue;
            const auto* above = static_cast<const QWidget*>(*it);
            if (!above->isWindow() && above->isVisible() && above->geometry().intersects(r))
                return false;
        }
    }
    return true;
}

} // namespace

void TMagnifier::showCapture()
{
    if (!presentCapture())
        update();
}

// A repaint through the toolkit costs it a round of its own on every move, and before it paints over
// what it last sent to the screen it waits for the server to have read it: a round trip each time.
// Put straight in the window through the desktop's own connection, the new picture costs one request,
// whose reading the next cursor query confirms for free. The toolkit's picture of the window gets the
// same pixels, so that whatever it shows later (an expose, say) is the same picture.
bool TMagnifier::presentCapture()
{
    const QRect picture(0, 0, core_.pictureWidth(), core_.pictureHeight());
    if (picture.isEmpty() || !isVisible() || !updatesEnabled())
        return false;
    QWidget* top = window();
    if (!top->testAttribute(Qt::WA_WState_Created) || !top->updatesEnabled())
        return false;
    QBackingStore* store = backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image)
        return false;
    auto* target = static_cast<QImage*>(device);
    if (!writableDirectly(*target) || devicePixelRatio() != 1)
        return false;
    const QPoint offset = mapTo(top, QPoint(0, 0));
    const QRect inWindow = picture & rect() & target->rect().translated(-offset);
    if (inWindow.isEmpty())
        return true;
    Bitmap32 surface = screen_.presentationSurface(picture.width(), picture.height());
    if (surface.empty())
        return false;
    presented_.clear();
    // The control's origin in the toolkit's picture (asked once: each row's address would be a call).
    const qsizetype stride = target->bytesPerLine() / 4;
    std::uint32_t* const origin = reinterpret_cast<std::uint32_t*>(target->bits()) + offset.y() * stride + offset.x();
    const auto put = [&](const QRect& r) {
        Bitmap32 part = Bitmap32::over(surface.scanLine(r.top()) + r.left(), r.width(), r.height(), surface.stride());
        core_.renderPicture(part, r.left(), r.top());
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(origin + (r.top() + y) * stride + r.left(), part.scanLine(y),
                        static_cast<std::size_t>(r.width()) * 4);
        presented_.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    };
    if (showsWhole(this)) {
        put(inWindow);
    } else {
        // Parents and controls on top cut the picture.
        for (const QRect& r : visibleRegion() & inWindow)
            put(r);
    }
    return screen_.present(static_cast<std::uintptr_t>(top->winId()), offset.x(), offset.y(), presented_.data(),
                           presented_.size());
}

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
