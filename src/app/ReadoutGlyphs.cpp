#include "app/ReadoutGlyphs.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tintara {

namespace {

// Glyphs reach a little past their advance (antialiasing, overhangs); they are drawn with that margin.
constexpr int kGlyphPad = 3;

// The characters of the pictures, by index.
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

// The image a paint is redirected to, when its pixels may be written directly: 32 bits a pixel where
// an opaque pixel is 0xffRRGGBB, not shared, at 1:1.
QImage* writableImage(QPaintDevice* device)
{
    if (device == nullptr || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool layout = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ||
                        format == QImage::Format_ARGB32;
    return layout && image->devicePixelRatio() == 1 && image->isDetached() ? image : nullptr;
}

void fillRect(QImage& into, const QRect& rect, std::uint32_t pixel)
{
    const QRect area = rect & into.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::fill_n(reinterpret_cast<std::uint32_t*>(into.scanLine(y)) + area.left(), area.width(), pixel);
}

} // namespace

void takeOverBackground(QWidget& readout)
{
    const QBrush& background = readout.palette().brush(readout.backgroundRole());
    readout.setAttribute(Qt::WA_OpaquePaintEvent, readout.autoFillBackground() && background.style() == Qt::SolidPattern &&
                                                      background.color().alpha() == 255);
}

void fillOwnBackground(QWidget& readout)
{
    if (readout.testAttribute(Qt::WA_OpaquePaintEvent)) {
        QPainter painter(&readout);
        painter.fillRect(readout.rect(), readout.palette().brush(readout.backgroundRole()));
    }
}

void ReadoutGlyphs::followEvent(QWidget& readout, const QEvent& event)
{
    switch (event.type()) {
    case QEvent::Polish:
        takeOverBackground(readout);
        break;
    case QEvent::PaletteChange:
        takeOverBackground(readout);
        forget();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ActivationChange: // the palette's inactive colours may differ
    case QEvent::Resize:
        forget();
        break;
    default:
        break;
    }
}

int ReadoutGlyphs::glyphIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return 10 + (u - 'A');
    return u == '-' ? 16 : -1;
}

void ReadoutGlyphs::reset(const QFont& font, const QColor& pen, qreal topFraction)
{
    font_ = font;
    pen_ = pen;
    const QFontMetricsF exact(font);
    baseline_ = topFraction + exact.ascent();
    lineHeight_ = static_cast<int>(std::ceil(topFraction + exact.height())) + 1;
    for (int i = 0; i < kGlyphCount; ++i) {
        Glyph& glyph = glyphs_[static_cast<std::size_t>(i)];
        glyph.advance64 = qRound(exact.horizontalAdvance(QChar(kCharacters[i])) * 64);
        for (Picture& p : glyph.pictures)
            p = Picture();
    }
    ready_ = true;
}

int ReadoutGlyphs::width64(QStringView text) const
{
    int width = 0;
    for (const QChar c : text) {
        const int index = glyphIndex(c);
        if (index < 0)
            return -1;
        width += glyphs_[static_cast<std::size_t>(index)].advance64;
    }
    return width;
}

const ReadoutGlyphs::Picture& ReadoutGlyphs::picture(int index, int fraction64)
{
    Picture& glyph = glyphs_[static_cast<std::size_t>(index)].pictures[static_cast<std::size_t>(fraction64)];
    if (glyph.image.isNull()) {
        QImage drawn(QFontMetrics(font_).maxWidth() + 2 * kGlyphPad, lineHeight_, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        {
            QPainter painter(&drawn);
            painter.setFont(font_);
            painter.setPen(pen_);
            painter.drawText(QPointF(kGlyphPad + fraction64 / 64.0, baseline_), QString(QChar(kCharacters[index])));
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

void ReadoutGlyphs::drawText(QImage& into, QPoint origin, int pen64, int top, QStringView text, const QRect& clip)
{
    const QRect inside = clip.translated(origin);
    for (const QChar c : text) {
        const int index = glyphIndex(c);
        if (index < 0)
            continue;
        const Picture& glyph = picture(index, pen64 & 63);
        const QPoint at = origin + QPoint(pen64 >> 6, top) + glyph.offset;
        blendOver(into, at.x(), at.y(), glyph.image, inside);
        pen64 += glyphs_[static_cast<std::size_t>(index)].advance64;
    }
}

void ReadoutGlyphs::paint(QWidget& readout, const QPaintEvent& event, QPaintDevice* device, QPoint offset, int pen64,
                          int top, QStringView text, const QRect& clip)
{
    const QColor background = readout.palette().color(readout.backgroundRole());
    if (QImage* target = writableImage(device)) {
        // The painter this spares was most of what a repaint of a read-out cost. Only the parts of the
        // read-out the toolkit repaints are written: the rest of its back buffer may be newer.
        const QPoint origin = -offset;
        for (const QRect& part : event.region() & readout.rect()) {
            fillRect(*target, part.translated(origin), background.rgba());
            drawText(*target, origin, pen64, top, text, clip & part);
        }
        return;
    }
    // Opaque, so the repaint copies it instead of blending it.
    if (readoutPicture_.size() != readout.size())
        readoutPicture_ = QImage(readout.size(), QImage::Format_RGB32);
    readoutPicture_.fill(background);
    drawText(readoutPicture_, QPoint(0, 0), pen64, top, text, clip);
    QPainter painter(&readout);
    painter.drawImage(0, 0, readoutPicture_);
}

} // namespace tintara
