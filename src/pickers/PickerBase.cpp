#include "pickers/PickerBase.h"

#include "platform/PlatformServices.h"
#include "raster/Bitmap32.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdlib>

namespace tintara {

namespace {

constexpr int kHintHideMs = 5000;

// QToolTip puts its tip 2 pixels right of and one cursor height below the point it is given; the
// platform cursors Qt knows here (xcb, offscreen) all report the 16-pixel default. A tip that belongs
// exactly at a point is asked for that far up and to the left.
constexpr QPoint kToolTipOffset(2, 16);

// Qt hides a tip when the pointer leaves the rectangle it was shown for, and moves a tip whose text
// did not change only when the new point lies outside that rectangle. A rectangle no pointer reaches
// makes every request move the tip; the request that follows each move keeps it up.
const QRect kFollowEveryMove(-0x8000, -0x8000, 1, 1);

} // namespace

void drawBitmap(QPainter& p, const QRect& target, const Bitmap32& bitmap)
{
    if (bitmap.empty())
        return;
    const QImage image(reinterpret_cast<const uchar*>(bitmap.bits()), bitmap.width(), bitmap.height(),
                       static_cast<qsizetype>(bitmap.stride()) * 4, QImage::Format_RGB32);
    p.drawImage(target, image);
}

PickerBase::PickerBase(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted by paintPicker: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // OnMouseMove fires for every move, button or not, and the hint follows the pointer.
    setMouseTracking(true);
}

PickerBase::~PickerBase()
{
    if (confined_)
        releaseCursor();
}

QColor PickerBase::Color() const
{
    return palette().color(QPalette::Window);
}

void PickerBase::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    updateShown();
}

bool PickerBase::HandlesKey(int /*qtKey*/) const
{
    return false;
}

bool PickerBase::wheelNotch(bool /*up*/)
{
    return false;
}

std::optional<PickerHint> PickerBase::hintAt(QPoint /*pointer*/)
{
    return std::nullopt;
}

// --- painting -----------------------------------------------------------------------------------

void PickerBase::renderFrame(QImage& image)
{
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (image.size() != pixels || image.format() != QImage::Format_RGB32) {
        image = QImage(pixels, QImage::Format_RGB32);
    }
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    paintPicker(p);
}

void PickerBase::updateShown()
{
    if (repaintsHeld_)
        held_ = Held::Whole;
    else
        update();
}

void PickerBase::updateShown(const QRect& drawnMarker, const QRect& marker)
{
    if (!repaintsHeld_) {
        update(drawnMarker);
        update(marker);
        return;
    }
    switch (held_) {
    case Held::Whole:
        break;
    case Held::Nothing:
        held_ = Held::Marker;
        heldDrawnMarker_ = drawnMarker;
        heldMarker_ = marker;
        break;
    case Held::Marker:
        // A paint of part of the control since (an expose) may have drawn the marker somewhere else.
        heldDrawnMarker_ |= drawnMarker;
        heldMarker_ = marker;
        break;
    }
}

void PickerBase::repaintHeldBack()
{
    switch (held_) {
    case Held::Nothing:
        break;
    case Held::Marker:
        update(heldDrawnMarker_);
        update(heldMarker_);
        break;
    case Held::Whole:
        update();
        break;
    }
    held_ = Held::Nothing;
}

void PickerBase::paintEvent(QPaintEvent* e)
{
    // A paint of part of the control (an expose) leaves what was held back outside it on the screen.
    if (e->region().rectCount() == 1 && e->rect().contains(rect()))
        held_ = Held::Nothing;
    {
        // The toolkit's backing store is the back buffer: a frame of its own would cost a second
        // painter and a copy on every repaint.
        QPainter screen(this);
        paintPicker(screen);
    }
    // After the frame is out, so that a listener that repaints does not nest inside this painter.
    if (changePending_) {
        changePending_ = false;
        fireChange();
    }
}

// --- cursor confinement -------------------------------------------------------------------------

void PickerBase::confineCursor()
{
    if (platform_ == nullptr)
        return;
    // The platform works in physical screen pixels.
    const qreal dpr = devicePixelRatioF();
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    auto px = [dpr](int v) { return qRound(v * dpr); };
    platform_->confineCursor({px(topLeft.x()), px(topLeft.y()), px(topLeft.x() + width()), px(topLeft.y() + height())});
    confined_ = true;
}

void PickerBase::releaseCursor()
{
    confined_ = false;
    if (platform_ != nullptr)
        platform_->releaseCursor();
}

void PickerBase::hideEvent(QHideEvent* e)
{
    // A drag cut short by hiding never sees its button-up: the cursor must not stay caught.
    if (confined_)
        releaseCursor();
    QWidget::hideEvent(e);
}

// --- wheel --------------------------------------------------------------------------------------

void PickerBase::wheelEvent(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0) {
        e->ignore();
        return;
    }
    const QPoint pos = e->position().toPoint();
    const Qt::KeyboardModifiers modifiers = e->modifiers();
    bool handled = false;
    emit OnMouseWheel(this, modifiers, delta, pos, &handled);
    if (!handled) {
        const int steps = wheel_.add(delta);
        for (int i = 0; i < std::abs(steps); ++i)
            handled = wheelStep(steps > 0, modifiers, pos);
    }
    // Unhandled, the event goes on to the parent like any other wheel event.
    e->setAccepted(handled);
    refreshHint(pos);
}

bool PickerBase::wheelStep(bool up, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    bool handled = false;
    if (up)
        emit OnMouseWheelUp(this, modifiers, pos, &handled);
    else
        emit OnMouseWheelDown(this, modifiers, pos, &handled);
    if (handled || !ownWheelStepping_)
        return handled;
    return wheelNotch(up);
}

// --- keyboard -----------------------------------------------------------------------------------

void PickerBase::keyReleaseEvent(QKeyEvent* e)
{
    // A held key repeats its presses only; its one release comes when it is let go.
    if (!e->isAutoRepeat())
        emit OnKeyUp(this, e->key(), e->modifiers());
    e->ignore();
}

// --- hint ---------------------------------------------------------------------------------------

void PickerBase::present(const PickerHint& hint, QPoint pointer)
{
    if (hint.at) {
        QToolTip::showText(mapToGlobal(*hint.at) - kToolTipOffset, hint.text, this, kFollowEveryMove, kHintHideMs);
    } else {
        QToolTip::showText(mapToGlobal(pointer), hint.text, this, hint.keep, kHintHideMs);
    }
}

void PickerBase::refreshHint(QPoint pointer)
{
    if (!hintActive_ || !showHint_)
        return;
    const std::optional<PickerHint> hint = hintAt(pointer);
    if (hint)
        present(*hint, pointer);
    else
        QToolTip::hideText();
}

bool PickerBase::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        if (!showHint_) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        const QPoint pointer = static_cast<QHelpEvent*>(e)->pos();
        // From now on input refreshes the hint, also after a request left to the toolkit: the
        // pointer may reach something with a hint before the toolkit asks again.
        hintActive_ = true;
        const std::optional<PickerHint> hint = hintAt(pointer);
        if (!hint)
            return QWidget::event(e);
        present(*hint, pointer);
        return true;
    }
    return QWidget::event(e);
}

void PickerBase::leaveEvent(QEvent* e)
{
    hintActive_ = false;
    QWidget::leaveEvent(e);
}

} // namespace tintara
