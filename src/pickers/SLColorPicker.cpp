#include "pickers/SLColorPicker.h"

#include "colormodel/RGBHSLUtils.h"
#include "pickers/ArrowKeys.h"
#include "pickers/HintFormat.h"
#include "pickers/SLFieldGeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tintara {

namespace {

constexpr int kDefaultSize = 255;

} // namespace

TSLColorPicker::TSLColorPicker(QWidget* parent)
    : PickerBase(parent), hintFormat_(QStringLiteral("H: %h S: %s L: %l\rHex: %hex"))
{
    resize(kDefaultSize, kDefaultSize);
    markerFromValues();
}

void TSLColorPicker::markerFromValues()
{
    markerPos_ = slMarkerFromValues(saturation_, luminance_, width(), height());
}

void TSLColorPicker::updateMarker()
{
    // The field beneath depends on the hue only.
    if (shownStale_)
        updateShown();
    else
        updateShown(toQRect(slMarkerRect(drawnMarkerPos_)), toQRect(slMarkerRect(markerPos_)));
}

bool TSLColorPicker::setValue(int& stored, int value, int maximum)
{
    ClampToRange(value, 0, maximum);
    if (value == stored)
        return false;
    stored = value;
    return true;
}

void TSLColorPicker::setHue(int value)
{
    if (!setValue(hue_, value, 360))
        return;
    shownStale_ = true;
    markerFromValues();
    updateShown();
    if (NotifyEnabled())
        fireChange();
}

void TSLColorPicker::setSaturation(int value)
{
    if (!setValue(saturation_, value, 255))
        return;
    markerFromValues();
    updateMarker();
    if (NotifyEnabled())
        fireChange();
}

void TSLColorPicker::setLuminance(int value)
{
    if (!setValue(luminance_, value, 255))
        return;
    markerFromValues();
    updateMarker();
    if (NotifyEnabled())
        fireChange();
}

TColor TSLColorPicker::SelectedColor() const
{
    return ColorFromTriple(TripleFromClampedHsv(hue_, saturation_, luminance_));
}

void TSLColorPicker::setSelectedColor(TColor color)
{
    {
        NotifySuspender quiet(*this);
        const Hsv hsv =
            HsvFromTriple(MakeTriple(static_cast<std::uint8_t>(redOf(color)), static_cast<std::uint8_t>(greenOf(color)),
                                     static_cast<std::uint8_t>(blueOf(color))));
        setHue(hsv.h);
        setSaturation(hsv.s);
        setLuminance(hsv.v);
    }
    fireChange();
}

void TSLColorPicker::chooseAt(TPoint p)
{
    markerPos_ = p;
    updateShown();
    NotifySuspender quiet(*this);
    const SlValues v = slValuesFromPoint(p, width(), height());
    setSaturation(v.saturation);
    setLuminance(v.luminance);
}

const Bitmap32& TSLColorPicker::shownField()
{
    if (shownStale_ || shown_.width() != width() || shown_.height() != height()) {
        buildSlFieldShown(shown_, hue_, width(), height());
        shownStale_ = false;
        ++fieldBuilds_;
    }
    return shown_;
}

// --- painting -----------------------------------------------------------------------------------

void TSLColorPicker::paintPicker(QPainter& p)
{
    drawBitmap(p, rect(), shownField());
    const TColor under = slColorAt(hue_, markerPos_, width(), height());
    p.setPen(QPen(slMarkerPenIsWhite(under) ? Qt::white : Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    // The outline covers the rectangle's columns left .. right - 1 and rows top .. bottom - 1.
    const TRect r = slMarkerRect(markerPos_);
    drawnMarkerPos_ = markerPos_;
    p.drawEllipse(QRect(r.Left, r.Top, r.width() - 1, r.height() - 1));
}

// --- mouse --------------------------------------------------------------------------------------

void TSLColorPicker::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    lastMousePos_ = toTPoint(pt);
    if (e->button() == Qt::LeftButton && rect().contains(pt)) {
        confineCursor();
        chooseAt(lastMousePos_);
        fireChange();
    }
    setFocus(Qt::MouseFocusReason);
    emit OnMouseDown(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
}

void TSLColorPicker::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    lastMousePos_ = toTPoint(pt);
    if ((e->buttons() & Qt::LeftButton) && rect().contains(pt)) {
        chooseAt(lastMousePos_);
        fireChange();
    }
    emit OnMouseMove(this, e->buttons(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

void TSLColorPicker::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    lastMousePos_ = toTPoint(pt);
    releaseCursor();
    if (e->button() == Qt::LeftButton && rect().contains(pt)) {
        chooseAt(lastMousePos_);
        fireChange();
    }
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
}

void TSLColorPicker::leaveEvent(QEvent* e)
{
    lastMousePos_ = {};
    PickerBase::leaveEvent(e);
}

// --- keyboard -----------------------------------------------------------------------------------

bool TSLColorPicker::HandlesKey(int qtKey) const
{
    return trackKeyOf(qtKey) != TrackKey::Other;
}

void TSLColorPicker::keyPressEvent(QKeyEvent* e)
{
    const TrackKey key = trackKeyOf(e->key());
    if (key == TrackKey::Other) {
        // Every other key goes on to the window's own handling.
        e->ignore();
        emit OnKeyDown(this, e->key(), e->modifiers());
        return;
    }
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    // A step past an edge is refused as a whole; the key is consumed either way.
    if (const auto to = slKeyStep(markerPos_, key, ctrl, width(), height())) {
        chooseAt(*to);
        fireChange();
    }
    e->accept();
    emit OnKeyDown(this, e->key(), e->modifiers());
}

// --- size and focus -----------------------------------------------------------------------------

void TSLColorPicker::resizeEvent(QResizeEvent* e)
{
    PickerBase::resizeEvent(e);
    markerFromValues();
}

void TSLColorPicker::focusInEvent(QFocusEvent* e)
{
    PickerBase::focusInEvent(e);
    updateShown();
}

void TSLColorPicker::focusOutEvent(QFocusEvent* e)
{
    PickerBase::focusOutEvent(e);
    updateShown();
}

// --- hint ---------------------------------------------------------------------------------------

std::optional<PickerHint> TSLColorPicker::hintAt(QPoint /*pointer*/)
{
    const TColor c = slColorAt(hue_, lastMousePos_, width(), height());
    PickerHint hint;
    hint.text = QString::fromStdString(hintLinesForDisplay(slHintText(hintFormat_.toStdString(), c)));
    return hint;
}

} // namespace tintara
