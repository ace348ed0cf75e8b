#include "pickers/ktTrackBarPicker.h"

#include "pickers/ArrowKeys.h"
#include "pickers/HintFormat.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace tintara {

namespace {

constexpr int DefaultWidth = 267;
constexpr int DefaultHeight = 22;

} // namespace

TktTrackBarPicker::TktTrackBarPicker(QWidget* parent) : PickerBase(parent)
{
    resize(DefaultWidth, DefaultHeight);
}

TktTrackBarPicker::~TktTrackBarPicker() = default;

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
    updateShown();
}

void TktTrackBarPicker::setArrowPlacement(TSliderPlacement placement)
{
    if (placement == placement_)
        return;
    placement_ = placement;
    updateShown();
}

void TktTrackBarPicker::setNewArrowStyle(bool newStyle)
{
    if (newStyle == newArrowStyle_)
        return;
    newArrowStyle_ = newStyle;
    updateShown();
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

void TktTrackBarPicker::paintStrip(QPainter& /*p*/) {}

void TktTrackBarPicker::issueQuietly(TTrackBarCommand command)
{
    NotifySuspender quiet(*this);
    HandleCommand(command);
}

void TktTrackBarPicker::drawStretched(QPainter& p, const Bitmap32& bitmap) const
{
    drawBitmap(p, toQRect(StripRect()), bitmap);
}

// --- painting -----------------------------------------------------------------------------------

void TktTrackBarPicker::paintPicker(QPainter& p)
{
    p.fillRect(rect(), Color());
    arrowPos_ = ArrowPosFromValue();
    drawnArrowPos_ = arrowPos_;
    paintStrip(p);
    drawArrows(p);
}

void TktTrackBarPicker::updateArrow()
{
    updateShown(toQRect(arrowBounds(shape(), drawnArrowPos_)), toQRect(arrowBounds(shape(), arrowPos_)));
}

namespace {

void drawArrowPolygons(QPainter& p, const ArrowPolygons& arrows, const QColor& fill, const QColor& outline)
{
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    for (int i = 0; i < arrows.count; ++i) {
        const ArrowPolygon& a = arrows.arrows[static_cast<std::size_t>(i)];
        QPoint pts[7];
        for (int j = 0; j < a.count; ++j)
            pts[j] = toQPoint(a.points[static_cast<std::size_t>(j)]);
        p.drawPolygon(pts, a.count);
    }
}

} // namespace

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
    const ArrowPolygons arrows = arrowPolygonsAt(shape(), arrowPos_);
    if (arrows.count == 0)
        return;
    // Translucent colours blend where the outline crosses the fill; only opaque ones come out of a
    // picture exactly as drawn in place.
    if (fill.alpha() != 255 || outline.alpha() != 255) {
        drawArrowPolygons(p, arrows, fill, outline);
        return;
    }
    // A pixel of margin beyond the bounds, which already hold the outline's.
    const TRect bounds = arrowBounds(shape(), arrowPos_);
    const TPoint origin{bounds.Left - 1, bounds.Top - 1};
    ArrowPolygons local = arrows;
    for (int i = 0; i < local.count; ++i) {
        ArrowPolygon& a = local.arrows[static_cast<std::size_t>(i)];
        for (int j = 0; j < a.count; ++j) {
            TPoint& pt = a.points[static_cast<std::size_t>(j)];
            pt = {pt.x - origin.x, pt.y - origin.y};
        }
    }
    if (arrowPicture_.isNull() || local != arrowPictureShape_ || fill.rgba() != arrowPictureFill_ ||
        outline.rgba() != arrowPictureOutline_) {
        arrowPicture_ = QImage(bounds.width() + 2, bounds.height() + 2, QImage::Format_ARGB32_Premultiplied);
        arrowPicture_.fill(Qt::transparent);
        QPainter picture(&arrowPicture_);
        drawArrowPolygons(picture, local, fill, outline);
        arrowPictureShape_ = local;
        arrowPictureFill_ = fill.rgba();
        arrowPictureOutline_ = outline.rgba();
    }
    p.drawImage(toQPoint(origin), arrowPicture_);
}

void TktTrackBarPicker::resizeEvent(QResizeEvent* e)
{
    PickerBase::resizeEvent(e);
    issueQuietly(tcResize);
}

void TktTrackBarPicker::focusInEvent(QFocusEvent* e)
{
    PickerBase::focusInEvent(e);
    updateShown();
}

void TktTrackBarPicker::focusOutEvent(QFocusEvent* e)
{
    PickerBase::focusOutEvent(e);
    updateShown();
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
    setChangePending();
    updateShown();
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
        setChangePending();
        updateShown();
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
    setChangePending();
    updateShown();
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

// --- wheel ------------------------------------------------------------------------------------

bool TktTrackBarPicker::wheelNotch(bool up)
{
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

// --- hint -------------------------------------------------------------------------------------

QString TktTrackBarPicker::hintDisplayText()
{
    return QString::fromStdString(hintLinesForDisplay(HintText().toStdString()));
}

QPoint TktTrackBarPicker::hintGlobalPos(QPoint pointer) const
{
    return mapToGlobal(toQPoint(hintPosition(shape(), toTPoint(pointer))));
}

std::optional<PickerHint> TktTrackBarPicker::hintAt(QPoint pointer)
{
    return PickerHint{hintDisplayText(), toQPoint(hintPosition(shape(), toTPoint(pointer))), {}};
}

} // namespace tintara
