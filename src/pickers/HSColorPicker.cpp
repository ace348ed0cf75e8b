#include "pickers/HSColorPicker.h"

#include "colormodel/RGBHSLUtils.h"
#include "pickers/ArrowKeys.h"
#include "pickers/HSFieldGeometry.h"
#include "pickers/HintFormat.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tintara {

THSColorPicker::THSColorPicker(QWidget* parent)
    : PickerBase(parent), hintFormat_(QStringLiteral("H: %h S: %s\rHex: %hex"))
{
    resize(kHsFieldWidth, kHsFieldHeight);
}

void THSColorPicker::setSelectedColor(TColor color)
{
    const ScaledHsl hsl = ScaledHslFromColor(color, Scale240);
    hueValue_ = hsl.h;
    saturationValue_ = hsl.s;
    luminanceValue_ = hsl.l;
    selectedColor_ = color;
    markerPos_ = hsMarkerFromValues(hueValue_, saturationValue_, width(), height());
    // The field beneath does not depend on the colour.
    if (shownStale_)
        updateShown();
    else
        updateShown(toQRect(hsCrossHairBounds(drawnMarkerPos_)), toQRect(hsCrossHairBounds(markerPos_)));
}

void THSColorPicker::setHueValue(int value)
{
    ClampToRange(value, 0, kHsFieldWidth);
    hueValue_ = value;
    setSelectedColor(ColorFromScaledHsl(hueValue_, saturationValue_, kHsFieldLuminance, Scale240));
}

void THSColorPicker::setSaturationValue(int value)
{
    ClampToRange(value, 0, kHsFieldHeight);
    saturationValue_ = value;
    setSelectedColor(ColorFromScaledHsl(hueValue_, saturationValue_, kHsFieldLuminance, Scale240));
}

const Bitmap32& THSColorPicker::shownField()
{
    if (shownStale_ || shown_.width() != width() || shown_.height() != height()) {
        stretchHsField(shown_, width(), height());
        shownStale_ = false;
    }
    return shown_;
}

void THSColorPicker::takeColorAt(TPoint p)
{
    markerPos_ = hsLimitToField(p, width(), height());
    // From the field itself, not from the screen: a point on the last cross-hair's arms would
    // otherwise read the marker's black or white instead of the colour the field has there.
    if (const std::optional<TColor> c = hsShownColorAt(shownField(), markerPos_))
        selectedColor_ = *c;
    updateShown();
}

// --- painting -----------------------------------------------------------------------------------

void THSColorPicker::paintPicker(QPainter& p)
{
    drawBitmap(p, rect(), shownField());
    markerPos_ = hsLimitToField(markerPos_, width(), height());

    const ScaledHsl hsl = ScaledHslFromColor(selectedColor_, Scale240);
    hueValue_ = hsl.h;
    saturationValue_ = hsl.s;
    luminanceValue_ = hsl.l;
    // Every paint reports, whatever caused it; the base fires once the frame is out.
    setChangePending();
    drawnMarkerPos_ = markerPos_;

    const QColor fill = hasFocus() ? Qt::black : Qt::white;
    for (const TRect& arm : hsCrossHairArms(markerPos_))
        p.fillRect(toQRect(arm), fill);
}

// --- mouse --------------------------------------------------------------------------------------

void THSColorPicker::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    markerPos_ = toTPoint(pt);
    updateShown();
    if (e->button() == Qt::LeftButton) {
        confineCursor();
        takeColorAt(toTPoint(pt));
    }
    setFocus(Qt::MouseFocusReason);
    emit OnMouseDown(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
}

void THSColorPicker::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    if (rect().contains(pt))
        hoverColor_ = hsShownColorAt(shownField(), toTPoint(pt));
    else
        hoverColor_.reset();
    if (e->buttons() & Qt::LeftButton)
        takeColorAt(toTPoint(pt));
    emit OnMouseMove(this, e->buttons(), e->modifiers(), pt.x(), pt.y());
    refreshHint(pt);
}

void THSColorPicker::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    releaseCursor();
    // Any button: a right or middle click also chooses the colour where it is let go.
    takeColorAt(toTPoint(pt));
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
}

void THSColorPicker::leaveEvent(QEvent* e)
{
    hoverColor_.reset();
    PickerBase::leaveEvent(e);
}

// --- keyboard -----------------------------------------------------------------------------------

bool THSColorPicker::HandlesKey(int qtKey) const
{
    return trackKeyOf(qtKey) != TrackKey::Other;
}

void THSColorPicker::keyPressEvent(QKeyEvent* e)
{
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    if (const auto target = hsKeyTarget(drawnMarkerPos_, trackKeyOf(e->key()), ctrl)) {
        takeColorAt(*target);
        e->accept();
    } else {
        // Every other key goes on to the window's own handling.
        e->ignore();
    }
    emit OnKeyDown(this, e->key(), e->modifiers());
}

// --- size and focus -----------------------------------------------------------------------------

void THSColorPicker::resizeEvent(QResizeEvent* e)
{
    shownStale_ = true;
    // The marker moves to the same hue and saturation in the new size.
    setSelectedColor(selectedColor_);
    PickerBase::resizeEvent(e);
}

void THSColorPicker::focusInEvent(QFocusEvent* e)
{
    PickerBase::focusInEvent(e);
    updateShown();
}

void THSColorPicker::focusOutEvent(QFocusEvent* e)
{
    PickerBase::focusOutEvent(e);
    updateShown();
}

// --- hint ---------------------------------------------------------------------------------------

std::optional<PickerHint> THSColorPicker::hintAt(QPoint /*pointer*/)
{
    // Nowhere to point at: the toolkit's own handling.
    if (!hoverColor_)
        return std::nullopt;
    const std::string text = hsHintText(hintFormat_.toStdString(), *hoverColor_, hintLuminance_);
    PickerHint hint;
    hint.text = QString::fromStdString(hintLinesForDisplay(text));
    return hint;
}

} // namespace tintara
