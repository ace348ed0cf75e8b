#include "app/FrameCacheStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionFrame>

#include <algorithm>

namespace tintara {

FrameCacheStyle::FrameCacheStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

std::array<QRgb, 6> FrameCacheStyle::colorsOf(const QStyleOption& option)
{
    const QPalette& p = option.palette;
    return {p.color(QPalette::Light).rgba(), p.color(QPalette::Midlight).rgba(), p.color(QPalette::Mid).rgba(),
            p.color(QPalette::Dark).rgba(),  p.color(QPalette::Shadow).rgba(),   p.color(QPalette::WindowText).rgba()};
}

const FrameCacheStyle::Entry& FrameCacheStyle::entryFor(const QStyleOption& option, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(&option);
    const std::array<QRgb, 6> colors = colorsOf(option);
    const int state = static_cast<int>(option.state);
    for (const Entry& e : entries_)
        if (!e.image.isNull() && e.image.size() == option.rect.size() && e.shape == frame->frameShape &&
            e.lineWidth == frame->lineWidth && e.midLineWidth == frame->midLineWidth && e.state == state &&
            e.colors == colors)
            return e;

    Entry& e = entries_[nextEntry_];
    nextEntry_ = (nextEntry_ + 1) % entries_.size();
    e.image = QImage(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    e.image.fill(Qt::transparent);
    {
        QStyleOptionFrame at = *frame;
        at.rect = QRect(QPoint(0, 0), option.rect.size());
        QPainter painter(&e.image);
        baseStyle()->drawControl(CE_ShapedFrame, &at, &painter, widget);
    }
    // How far in from the edges the frame reaches: inside that, the swatch's own pixels stay.
    const int w = e.image.width(), h = e.image.height();
    e.border = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(e.image.pixel(x, y)) != 0)
                e.border = std::max(e.border, std::min({x, y, w - 1 - x, h - 1 - y}) + 1);
    e.colors = colors;
    e.shape = frame->frameShape;
    e.lineWidth = frame->lineWidth;
    e.midLineWidth = frame->midLineWidth;
    e.state = state;
    return e;
}

void FrameCacheStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const bool lineFrame = frame && (frame->frameShape == QFrame::Box || frame->frameShape == QFrame::Panel ||
                                     frame->frameShape == QFrame::WinPanel);
    // A scaled painter (a high-density screen) would stretch the cached pixels: that one draws itself.
    const bool unscaled = painter->device()->devicePixelRatio() == 1 &&
                          painter->transform().type() <= QTransform::TxTranslate;
    if (element != CE_ShapedFrame || !lineFrame || !unscaled || option->rect.isEmpty()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const Entry& e = entryFor(*option, widget);
    const QRect r = option->rect;
    const int b = e.border;
    if (b == 0)
        return;
    if (2 * b >= std::min(r.width(), r.height())) {
        painter->drawImage(r.topLeft(), e.image);
        return;
    }
    // The four strips along the edges.
    const QRect strips[] = {{0, 0, r.width(), b},
                            {0, r.height() - b, r.width(), b},
                            {0, b, b, r.height() - 2 * b},
                            {r.width() - b, b, b, r.height() - 2 * b}};
    for (const QRect& s : strips)
        painter->drawImage(s.topLeft() + r.topLeft(), e.image, s);
}

} // namespace tintara
