#include "app/ReadoutEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cstdint>

namespace tintara {

namespace {

// Glyphs reach a little past their advance (antialiasing, overhangs); they are drawn with that margin.
constexpr int kGlyphPad = 3;

// The characters of the glyph images, by index.
constexpr char16_t kCharacters[] = u"0123456789ABCDEF-";

// x * a / 255 per 8-bit channel of a premultiplied pixel, rounded as the raster engine rounds.
std::uint32_t byteMul(std::uint32_t x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

// Source-over of a premultiplied image onto `into` with its top-left at (x, y), clipped to `clip`.
void blendOver(QImage& into, int x, int y, const QImage& image, const QRect& clip)
{
    const QRect area = QRect(x, y, image.width(), image.height()) & clip & into.rect();
    if (area.isEmpty())
        return;
    const qsizetype intoStride = into.bytesPerLine() / 4, imageStride = image.bytesPerLine() / 4;
    auto* dst = reinterpret_cast<std::uint32_t*>(into.bits()) + area.top() * intoStride;
    const auto* src = reinterpret_cast<const std::uint32_t*>(image.constBits()) + (area.top() - y) * imageStride - x;
    for (int row = area.top(); row <= area.bottom(); ++row, dst += intoStride, src += imageStride)
        for (int col = area.left(); col <= area.right(); ++col) {
            const std::uint32_t s = src[col];
            if (s != 0)
                dst[col] = s + byteMul(dst[col], 255 - (s >> 24));
        }
}

} // namespace

ReadoutEdit::ReadoutEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Typed, set through the line edit, or a commit (which leaves shown_ unshared, so the next
        // showText() writes into its buffer instead of allocating).
        if (text != shown_)
            shown_ = text;
        uncommitted_ = false;
        if (!hasFocus())
            caretToStart_ = true;
    });
}

void ReadoutEdit::showText(QLatin1StringView text)
{
    text.truncate(qMin(text.size(), qsizetype(maxLength())));
    if (shown_ == text)
        return;
    shown_ = text;
    uncommitted_ = true;
    if (hasFocus()) {
        commitText();
        setCursorPosition(0); // the caret of a rewritten field goes to the start
    } else if (!canPaintFromGlyphs()) {
        commitText();
    } else {
        update();
    }
}

void ReadoutEdit::commitText()
{
    if (!uncommitted_)
        return;
    QLineEdit::setText(QString(shown_.constData(), shown_.size()));
    uncommitted_ = false;
}

bool ReadoutEdit::event(QEvent* event)
{
    // Keys, clicks, focus, menus, drags, style and size changes all may look at the line edit's text.
    if (uncommitted_ && event->type() != QEvent::Paint)
        commitText();
    return QLineEdit::event(event);
}

int ReadoutEdit::glyphIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return 10 + (u - 'A');
    return u == '-' ? 16 : -1;
}

void ReadoutEdit::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ActivationChange: // the palette's inactive colours may differ
        glyphsReady_ = false;
        break;
    default:
        break;
    }
    QLineEdit::changeEvent(event);
}

void ReadoutEdit::resizeEvent(QResizeEvent* event)
{
    glyphsReady_ = false;
    QLineEdit::resizeEvent(event);
}

void ReadoutEdit::focusInEvent(QFocusEvent* event)
{
    // The text was rewritten with the caret left at its end; a click puts the caret where it lands.
    if (caretToStart_ && event->reason() != Qt::MouseFocusReason)
        setCursorPosition(0);
    caretToStart_ = false;
    QLineEdit::focusInEvent(event);
}

void ReadoutEdit::paintEvent(QPaintEvent* event)
{
    if (paintFromGlyphs())
        return;
    commitText(); // a state showText() did not foresee
    QLineEdit::paintEvent(event);
}

void ReadoutEdit::prepareGlyphs()
{
    glyphsReady_ = true;
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins();
    contents_ = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(margins);
    // Where the line edit puts its text: two pixels in, the line centred in the contents.
    const QFontMetrics metrics = fontMetrics();
    constexpr int kHorizontalMargin = 2;
    textOrigin_ = QPoint(contents_.x() + kHorizontalMargin, contents_.y() + (contents_.height() - metrics.height() + 1) / 2);
    // Opaque, so the repaint copies it instead of blending it.
    picture_ = QImage(size(), QImage::Format_RGB32);

    const QFontMetricsF exact(font());
    ascent_ = exact.ascent();
    for (int i = 0; i < kGlyphCount; ++i) {
        Glyph& glyph = glyphs_[static_cast<std::size_t>(i)];
        glyph.advance64 = qRound(exact.horizontalAdvance(QChar(kCharacters[i])) * 64);
        for (GlyphImage& image : glyph.images)
            image = GlyphImage();
    }
}

const ReadoutEdit::GlyphImage& ReadoutEdit::glyphImage(int index, int fraction64)
{
    GlyphImage& glyph = glyphs_[static_cast<std::size_t>(index)].images[static_cast<std::size_t>(fraction64)];
    if (glyph.image.isNull()) {
        const QFontMetrics metrics = fontMetrics();
        QImage drawn(metrics.maxWidth() + 2 * kGlyphPad, metrics.height(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        {
            QPainter painter(&drawn);
            painter.setFont(font());
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QPointF(kGlyphPad + fraction64 / 64.0, ascent_), QString(QChar(kCharacters[index])));
        }
        QRect covered;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != 0)
                    covered |= QRect(x, y, 1, 1);
        if (covered.isEmpty())
            covered = QRect(0, 0, 1, 1); // a null image would mean "not drawn yet"
        glyph.image = drawn.copy(covered);
        glyph.offset = covered.topLeft() - QPoint(kGlyphPad, 0);
    }
    return glyph;
}

bool ReadoutEdit::canPaintFromGlyphs()
{
    // The glyphs stand for what the line edit draws only while nothing but plain text is shown.
    // Nor on a high-density screen, where the pictures would have to be scaled.
    if (hasFocus() || hasSelectedText() || !isEnabled() || echoMode() != QLineEdit::Normal || devicePixelRatio() != 1 ||
        layoutDirection() != Qt::LeftToRight || (alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft ||
        !(alignment() & Qt::AlignVCenter) || hasFrame() || shown_.isEmpty() ||
        palette().color(backgroundRole()).alpha() != 255)
        return false;
    int width64 = 0;
    for (const QChar c : shown_) {
        const int index = glyphIndex(c);
        if (index < 0)
            return false;
        width64 += glyphs_[static_cast<std::size_t>(index)].advance64;
    }
    if (!glyphsReady_) {
        prepareGlyphs();
        return canPaintFromGlyphs();
    }
    return textOrigin_.x() + (width64 + 63) / 64 <= contents_.right() - 1; // else the line edit scrolls it
}

bool ReadoutEdit::paintFromGlyphs()
{
    if (!canPaintFromGlyphs())
        return false;
    picture_.fill(palette().color(backgroundRole()));
    int pen64 = 0;
    for (const QChar c : shown_) {
        const int index = glyphIndex(c);
        const GlyphImage& glyph = glyphImage(index, pen64 % 64);
        const QPoint at = textOrigin_ + QPoint(pen64 / 64, 0) + glyph.offset;
        blendOver(picture_, at.x(), at.y(), glyph.image, contents_);
        pen64 += glyphs_[static_cast<std::size_t>(index)].advance64;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    return true;
}

} // namespace tintara
