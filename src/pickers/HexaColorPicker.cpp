#include "pickers/HexaColorPicker.h"

#include "pickers/HintFormat.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace tintara {

namespace {

const char* const kDefaultHintFormat = "RGB(%r, %g, %b)\rHex: %h";

std::optional<HexaKey> hexaKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return HexaKey::Left;
    case Qt::Key_Up:
        return HexaKey::Up;
    case Qt::Key_Right:
        return HexaKey::Right;
    case Qt::Key_Down:
        return HexaKey::Down;
    default:
        return std::nullopt;
    }
}

QColor qColorOf(TColor c)
{
    return {redOf(c), greenOf(c), blueOf(c)};
}

TColor tColorOf(const QColor& c)
{
    return rgbColor(c.red(), c.green(), c.blue());
}

template <std::size_t N> void toQPoints(const std::array<TPoint, N>& in, QPoint (&out)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        out[i] = toQPoint(in[i]);
}

} // namespace

THexaColorPicker::THexaColorPicker(QWidget* parent) : PickerBase(parent), hintFormat_(kDefaultHintFormat)
{
    setMinimumSize(kHexaMinWidth, kHexaMinHeight);
    resize(kHexaDefaultWidth, kHexaDefaultHeight);
    model_.OnChange = [this] {
        if (NotifyEnabled())
            fireChange();
    };
    model_.OnIntensityChange = [this] { emit OnIntensityChange(this); };
    model_.OnInvalidate = [this] { updateShown(); };
    model_.ResolveSystemColor = [this](TColor c) { return systemColor(c); };
    // The initial black is located now, so that the black comb is outlined from the first frame; a
    // colour assigned before the control is first shown stays.
    NotifySuspender quiet(*this);
    model_.setSelectedColor(clBlack);
}

void THexaColorPicker::setSliderWidth(int width)
{
    model_.setSliderWidth(width);
    resize(model_.SliderRect().Right + 2, model_.BWCombRect().Bottom + 2);
    updateShown();
}

bool THexaColorPicker::HandlesKey(int qtKey) const
{
    return hexaKeyOf(qtKey).has_value();
}

TColor THexaColorPicker::systemColor(TColor constant) const
{
    // The system colours by their index, from this control's palette.
    const QPalette& pal = palette();
    switch (constant & 0xFF) {
    case 1:  // desktop
    case 12: // application workspace
        return tColorOf(pal.color(QPalette::Dark));
    case 4:  // menu
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
    case 30: // menu bar
        return tColorOf(pal.color(QPalette::Button));
    case 5: // window
        return tColorOf(pal.color(QPalette::Base));
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return tColorOf(pal.color(QPalette::Shadow));
    case 7: // menu text
    case 8: // window text
        return tColorOf(pal.color(QPalette::Text));
    case 2:  // active caption
    case 13: // highlight
    case 27: // active caption gradient
    case 29: // menu highlight
        return tColorOf(pal.color(QPalette::Highlight));
    case 9:  // caption text
    case 14: // highlight text
        return tColorOf(pal.color(QPalette::HighlightedText));
    case 16: // button shadow
        return tColorOf(pal.color(QPalette::Dark));
    case 17: // grey text
    case 3:  // inactive caption
    case 28: // inactive caption gradient
        return tColorOf(pal.color(QPalette::Disabled, QPalette::Text));
    case 0:  // scroll bar
    case 22: // 3-D light
        return tColorOf(pal.color(QPalette::Midlight));
    case 18: // button text
    case 19: // inactive caption text
        return tColorOf(pal.color(QPalette::ButtonText));
    case 20: // button highlight
        return tColorOf(pal.color(QPalette::Light));
    case 23: // info text
        return tColorOf(pal.color(QPalette::ToolTipText));
    case 24: // info background
        return tColorOf(pal.color(QPalette::ToolTipBase));
    case 26: // hot light
        return tColorOf(pal.color(QPalette::Link));
    default:
        return clBlack;
    }
}

// --- painting -----------------------------------------------------------------------------------

void THexaColorPicker::drawComb(QPainter& p, const TCombEntry& comb, TPoint origin, const CombShape& shape) const
{
    const TPoint centre{comb.Position.x + origin.x, comb.Position.y + origin.y};
    QPoint pts[6];
    toQPoints(shape.at(centre), pts);
    const QColor c = qColorOf(comb.Color);
    p.setPen(c);
    p.setBrush(c);
    p.drawPolygon(pts, 6);
}

void THexaColorPicker::outlineComb(QPainter& p, TPoint centre, int size) const
{
    QPoint pts[6];
    toQPoints(combPolygon(size, centre), pts);
    p.drawPolygon(pts, 6);
}

void THexaColorPicker::buildOverlay()
{
    const qreal dpr = devicePixelRatioF();
    overlay_ = QImage(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    overlay_.setDevicePixelRatio(dpr);
    overlay_.fill(Qt::transparent);
    QPainter p(&overlay_);
    const HexaLayout& l = model_.layout();
    const TPoint origin{l.BWCombRect.Left, l.BWCombRect.Top};
    const TCombArray& greys = model_.BWCombs();
    const CombShape small(l.CombSize);
    const CombShape big(2 * l.CombSize);
    for (std::size_t i = 0; i < greys.size(); ++i)
        drawComb(p, greys[i], origin, i == 0 || i + 1 == greys.size() ? big : small);
    const TRect& s = l.SliderRect;
    const int n = s.Bottom - s.Top - 1;
    for (int k = 0; k <= n; ++k) {
        const int g = sliderGreyLevel(n, k);
        p.fillRect(s.Left, s.Top + k, model_.SliderWidth(), 1, QColor(g, g, g));
    }
    overlayLayout_ = l;
    overlayStale_ = false;
}

void THexaColorPicker::buildCombImage()
{
    const qreal dpr = devicePixelRatioF();
    combImage_ = QImage(size() * dpr, QImage::Format_RGB32);
    combImage_.setDevicePixelRatio(dpr);
    combImage_.fill(Color());
    QPainter p(&combImage_);
    const HexaLayout& l = model_.layout();
    const int r = model_.Radius();
    const TPoint origin{r + l.ColorCombRect.Left, r + l.ColorCombRect.Top};
    const CombShape shape(l.CombSize);
    for (const TCombEntry& comb : model_.ColorCombs())
        drawComb(p, comb, origin, shape);
    p.drawImage(0, 0, overlay_);

    const TRect& s = l.SliderRect;
    QPoint marker[7];
    toQPoints(sliderMarker(width(), height(), model_.IntensityFactor(), s.Bottom - s.Top - 1), marker);
    p.setPen(palette().color(QPalette::Dark));
    p.setBrush(palette().color(QPalette::Base));
    p.drawPolygon(marker, 7);

    imageCombsVersion_ = model_.combsVersion();
    imageStale_ = false;
    ++combImageBuilds_;
}

void THexaColorPicker::ensureCache()
{
    const QSize pixels = size() * devicePixelRatioF();
    if (overlayStale_ || overlay_.size() != pixels || !(overlayLayout_ == model_.layout())) {
        buildOverlay();
        imageStale_ = true;
    }
    if (imageStale_ || combImage_.size() != pixels || imageCombsVersion_ != model_.combsVersion())
        buildCombImage();
}

void THexaColorPicker::paintPicker(QPainter& p)
{
    ++frames_;
    ensureCache();
    p.drawImage(0, 0, combImage_);
    const int selected = model_.SelectedComb();
    if (selected == 0)
        return;
    const HexaLayout& l = model_.layout();
    const int s = l.CombSize;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::NoBrush);
    const int r = model_.Radius();
    const TPoint centre{r + l.ColorCombRect.Left, r + l.ColorCombRect.Top};
    if (selected > 0) {
        const TPoint at = model_.ColorCombs()[static_cast<std::size_t>(selected - 1)].Position;
        const TPoint c{at.x + centre.x, at.y + centre.y};
        outlineComb(p, c, s);
        // The greys are drawn after the outline: where they cover it they stay on top.
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QRect around(c.x - s, c.y - s, 2 * s + 1, 2 * s + 1);
        p.drawImage(
            around, overlay_,
            QRectF(around.topLeft() * overlay_.devicePixelRatio(), around.size() * overlay_.devicePixelRatio()));
    } else {
        const auto k = static_cast<std::size_t>(-selected - 1);
        const bool big = k == 0 || k + 1 == model_.BWCombs().size();
        const TPoint at = model_.BWCombs()[k].Position;
        outlineComb(p, {at.x + l.BWCombRect.Left, at.y + l.BWCombRect.Top}, big ? 2 * s : s);
        if (model_.centerOutlined())
            outlineComb(p, centre, s);
    }
    p.restore();
}

void THexaColorPicker::resizeEvent(QResizeEvent* e)
{
    model_.resizeTo(width(), height());
    PickerBase::resizeEvent(e);
}

void THexaColorPicker::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) {
        imageStale_ = true;
        updateShown();
    }
    PickerBase::changeEvent(e);
}

// --- mouse ------------------------------------------------------------------------------------
// The owner's mouse events come first: a handler sees the state of the previous mouse message.

void THexaColorPicker::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseDown(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
    if (e->button() == Qt::LeftButton) {
        leftHeld_ = true;
        setFocus(Qt::MouseFocusReason);
        model_.mouseDown(toTPoint(pt), {0, 0, width(), height()});
    }
    refreshHint(pt);
}

void THexaColorPicker::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        emit OnDblClick(this);
}

void THexaColorPicker::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseMove(this, e->buttons(), e->modifiers(), pt.x(), pt.y());
    model_.mouseMove(toTPoint(pt), e->buttons().testFlag(Qt::LeftButton));
    refreshHint(pt);
}

void THexaColorPicker::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    e->accept();
    if (e->button() == Qt::LeftButton) {
        leftHeld_ = false;
        model_.mouseUp();
    }
    refreshHint(pt);
}

void THexaColorPicker::hideEvent(QHideEvent* e)
{
    // Hidden during a drag, the control never sees its release.
    leftHeld_ = false;
    model_.cancelDrag();
    PickerBase::hideEvent(e);
}

bool THexaColorPicker::wheelNotch(bool up)
{
    model_.StepIntensity(up);
    return true;
}

// --- keyboard ---------------------------------------------------------------------------------

void THexaColorPicker::keyPressEvent(QKeyEvent* e)
{
    if (const std::optional<HexaKey> key = hexaKeyOf(e->key())) {
        // Only Ctrl counts; Shift and Alt are ignored.
        model_.arrowKey(*key, e->modifiers().testFlag(Qt::ControlModifier));
        emit OnKeyDown(this, e->key(), e->modifiers());
        e->accept();
        return;
    }
    emit OnKeyDown(this, e->key(), e->modifiers());
    e->ignore();
}

// --- hint -------------------------------------------------------------------------------------

std::optional<PickerHint> THexaColorPicker::hintAt(QPoint pointer)
{
    const HexaHint h = model_.hint(toTPoint(pointer), leftHeld_, hintFormat_.toStdString());
    switch (h.kind) {
    case HexaHint::Kind::Untouched:
        return std::nullopt;
    case HexaHint::Kind::Intensity:
        return PickerHint{QString::fromStdString(h.text), toQPoint(h.at), {}};
    case HexaHint::Kind::Comb:
        return PickerHint{QString::fromStdString(hintLinesForDisplay(h.text)), std::nullopt, {}};
    case HexaHint::Kind::NoComb:
        break;
    }
    QString text;
    emit OnHint(this, -1, &text);
    return PickerHint{QString::fromStdString(hintLinesForDisplay(text.toStdString())), std::nullopt, {}};
}

} // namespace tintara
