#include "pickers/ktTrackBarPicker.h"

#include "pickers/HintFormat.h"
#include "platform/PlatformServices.h"
#include "raster/Bitmap32.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdlib>

namespace tintara {

namespace {

constexpr int HintHideMs = 5000;
constexpr int DefaultWidth = 267;
constexpr int DefaultHeight = 22;

TrackKey trackKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return TrackKey::Left;
    case Qt::Key_Up:
        return TrackKey::Up;
    case Qt::Key_Right:
        return TrackKey::Right;
    case Qt::Key_Down:
        return TrackKey::Down;
    default:
        return TrackKey::Other;
    }
}

TPoint toTPoint(QPoint p)
{
    return {p.x(), p.y()};
}

QRect toQRect(const TRect& r)
{
    return {r.Left, r.Top, r.width(), r.height()};
}

// QToolTip places its label a cursor's height below the point it is given; the hint belongs exactly
// at the point, so the label is moved there (kept on the screen, as QToolTip would).
void placeToolTipLabel(QPoint at, const QWidget* owner)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("qtooltip_label") || !w->isVisible())
            continue;
        const QScreen* screen = QGuiApplication::screenAt(at);
        if (screen == nullptr)
            screen = owner->screen();
        QPoint p = at;
        if (screen != nullptr) {
            const QRect g = screen->geometry();
            p.setX(std::max(std::min(p.x(), g.right() + 1 - w->width()), g.left()));
            p.setY(std::max(std::min(p.y(), g.bottom() + 1 - w->height()), g.top()));
        }
        w->move(p);
        return;
    }
}

} // namespace

TktTrackBarPicker::TktTrackBarPicker(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted from the back buffer: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // OnMouseMove fires for every move, button or not, and the hint follows the pointer.
    setMouseTracking(true);
    resize(DefaultWidth, DefaultHeight);
}

TktTrackBarPicker::~TktTrackBarPicker()
{
    if (confined_)
        releaseCursor();
}

TrackBarShape TktTrackBarPicker::shape() const
{
    return {width(), height(), layout_, placement_, newArrowStyle_};
}

void TktTrackBarPicker::setLayout(TTrackBarLayout layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    HandleCommand(tcLayoutChanged);
    update();
}

void TktTrackBarPicker::setArrowPlacement(TSliderPlacement placement)
{
    if (placement == placement_)
        return;
    placement_ = placement;
    update();
}

void TktTrackBarPicker::setNewArrowStyle(bool newStyle)
{
    if (newStyle == newArrowStyle_)
        return;
    newArrowStyle_ = newStyle;
    update();
}

QColor TktTrackBarPicker::Color() const
{
    return palette().color(QPalette::Window);
}

void TktTrackBarPicker::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    update();
}

bool TktTrackBarPicker::HandlesKey(int qtKey) const
{
    return commandForKey(layout_, trackKeyOf(qtKey), false).has_value();
}

void TktTrackBarPicker::HandleCommand(TTrackBarCommand /*command*/) {}

int TktTrackBarPicker::ArrowPosFromValue()
{
    return 0;
}

QString TktTrackBarPicker::HintText()
{
    return {};
}

void TktTrackBarPicker::fireChange()
{
    emit OnChange(this);
}

void TktTrackBarPicker::issueQuietly(TTrackBarCommand command)
{
    NotifySuspender quiet(*this);
    HandleCommand(command);
}

void TktTrackBarPicker::drawStretched(const Bitmap32& bitmap)
{
    if (canvas_ == nullptr || bitmap.empty())
        return;
    const QImage image(reinterpret_cast<const uchar*>(bitmap.bits()), bitmap.width(), bitmap.height(),
                       static_cast<qsizetype>(bitmap.width()) * 4, QImage::Format_RGB32);
    canvas_->drawImage(toQRect(StripRect()), image);
}

// --- painting -----------------------------------------------------------------------------------

void TktTrackBarPicker::paintEvent(QPaintEvent* /*e*/)
{
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (backBuffer_.size() != pixels || backBuffer_.devicePixelRatio() != dpr) {
        backBuffer_ = QImage(pixels, QImage::Format_RGB32);
        backBuffer_.setDevicePixelRatio(dpr);
    }
    {
        QPainter p(&backBuffer_);
        p.fillRect(rect(), Color());
        arrowPos_ = ArrowPosFromValue();
        canvas_ = &p;
        struct CanvasReset {
            QPainter*& canvas;
            ~CanvasReset() { canvas = nullptr; }
        } reset{canvas_};
        HandleCommand(tcPaint);
        drawArrows(p);
    }
    {
        QPainter screen(this);
        screen.drawImage(0, 0, backBuffer_);
    }
    // After the frame is out, so that a listener that repaints does not nest inside this painter.
    if (changePending_) {
        changePending_ = false;
        fireChange();
    }
}

void TktTrackBarPicker::drawArrows(QPainter& p)
{
    QColor fill;
    QColor outline;
    if (newArrowStyle_) {
        fill = palette().color(QPalette::Base);
        outline = palette().color(QPalette::Dark);
    } else {
        fill = hasFocus() ? QColor(0, 0, 0) : QColor(128, 128, 128);
        outline = fill;
    }
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    const ArrowPolygons arrows = arrowPolygonsAt(shape(), arrowPos_);
    for (int i = 0; i < arrows.count; ++i) {
        const ArrowPolygon& a = arrows.arrows[static_cast<std::size_t>(i)];
        QPoint pts[7];
        for (int j = 0; j < a.count; ++j)
            pts[j] = QPoint(a.points[static_cast<std::size_t>(j)].x, a.points[static_cast<std::size_t>(j)].y);
        p.drawPolygon(pts, a.count);
    }
}

void TktTrackBarPicker::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    issueQuietly(tcResize);
}

void TktTrackBarPicker::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    update();
}

void TktTrackBarPicker::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    update();
}

// --- mouse ------------------------------------------------------------------------------------

void TktTrackBarPicker::mousePressEvent(QMouseEvent* e)
{
    // Only the left button does anything; the others are swallowed.
    e->accept();
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pt = e->position().toPoint();
    arrowPos_ = arrowPosFromPointer(shape(), toTPoint(pt));
    setFocus(Qt::MouseFocusReason);
    HandleCommand(tcMouseDown);
    changePending_ = true;
    update();
    emit OnMouseDown(this, e->button(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

void TktTrackBarPicker::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    if (e->buttons() & Qt::LeftButton) {
        confineCursor();
        arrowPos_ = arrowPosFromPointer(shape(), toTPoint(pt));
        HandleCommand(tcMouseMove);
        changePending_ = true;
        update();
    }
    emit OnMouseMove(this, e->buttons(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

void TktTrackBarPicker::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    releaseCursor();
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pt = e->position().toPoint();
    arrowPos_ = arrowPosFromPointer(shape(), toTPoint(pt));
    HandleCommand(tcMouseUp);
    changePending_ = true;
    update();
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

void TktTrackBarPicker::confineCursor()
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

void TktTrackBarPicker::releaseCursor()
{
    confined_ = false;
    if (platform_ != nullptr)
        platform_->releaseCursor();
}

void TktTrackBarPicker::hideEvent(QHideEvent* e)
{
    // A drag cut short by hiding never sees its button-up: the cursor must not stay caught.
    if (confined_)
        releaseCursor();
    QWidget::hideEvent(e);
}

// --- wheel ------------------------------------------------------------------------------------

void TktTrackBarPicker::wheelEvent(QWheelEvent* e)
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

bool TktTrackBarPicker::wheelStep(bool up, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    bool handled = false;
    if (up)
        emit OnMouseWheelUp(this, modifiers, pos, &handled);
    else
        emit OnMouseWheelDown(this, modifiers, pos, &handled);
    if (handled || !ownWheelStepping_)
        return handled;
    issueQuietly(up ? tcWheelUp : tcWheelDown);
    // Also at the end of the range, where the value did not change.
    fireChange();
    return true;
}

// --- keyboard ---------------------------------------------------------------------------------

void TktTrackBarPicker::keyPressEvent(QKeyEvent* e)
{
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    if (const auto command = commandForKey(layout_, trackKeyOf(e->key()), ctrl)) {
        issueQuietly(*command);
        fireChange();
        emit OnKeyDown(this, e->key(), e->modifiers());
        e->accept();
        refreshHint(mapFromGlobal(QCursor::pos()));
        return;
    }
    // Every other key, the arrows across the track too, goes on to the window's own handling.
    emit OnKeyDown(this, e->key(), e->modifiers());
    e->ignore();
}

void TktTrackBarPicker::keyReleaseEvent(QKeyEvent* e)
{
    // A held key repeats its presses only; its one release comes when it is let go.
    if (!e->isAutoRepeat())
        emit OnKeyUp(this, e->key(), e->modifiers());
    e->ignore();
}

// --- hint -------------------------------------------------------------------------------------

QString TktTrackBarPicker::hintDisplayText()
{
    return QString::fromStdString(hintLinesForDisplay(HintText().toStdString()));
}

QPoint TktTrackBarPicker::hintGlobalPos(QPoint pointer) const
{
    const TPoint at = hintPosition(shape(), toTPoint(pointer));
    return mapToGlobal(QPoint(at.x, at.y));
}

void TktTrackBarPicker::showHint(QPoint pointer)
{
    const QString text = hintDisplayText();
    const QPoint at = hintGlobalPos(pointer);
    QToolTip::showText(at, text, this, QRect(), HintHideMs);
    if (!text.isEmpty())
        placeToolTipLabel(at, this);
}

void TktTrackBarPicker::refreshHint(QPoint pointer)
{
    if (hintActive_ && showHint_)
        showHint(pointer);
}

bool TktTrackBarPicker::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        if (!showHint_) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        hintActive_ = true;
        showHint(static_cast<QHelpEvent*>(e)->pos());
        return true;
    }
    return QWidget::event(e);
}

void TktTrackBarPicker::leaveEvent(QEvent* e)
{
    hintActive_ = false;
    QWidget::leaveEvent(e);
}

} // namespace tintara
