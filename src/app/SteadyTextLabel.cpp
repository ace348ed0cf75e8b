#include "app/SteadyTextLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>

namespace tintara {

void SteadyTextLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        ready_ = false;
    QLabel::changeEvent(event);
}

void SteadyTextLabel::paintEvent(QPaintEvent* event)
{
    if (!paintSteadyText())
        QLabel::paintEvent(event);
}

bool SteadyTextLabel::paintSteadyText()
{
    const QString shown = text();
    if (shown.isEmpty() || frameShape() != QFrame::NoFrame || !isEnabled() || wordWrap() || margin() != 0 ||
        alignment() != Qt::AlignCenter || textFormat() == Qt::RichText || textFormat() == Qt::MarkdownText ||
        layoutDirection() != Qt::LeftToRight || devicePixelRatio() != 1 ||
        shown.contains(QLatin1Char('\n')) || shown.contains(QLatin1Char('&')))
        return false;
    if (!ready_ || shown != laidOut_) {
        if (textFormat() == Qt::AutoText && Qt::mightBeRichText(shown))
            return false;
        layout_.setTextFormat(Qt::PlainText);
        layout_.setText(shown);
        layout_.prepare(QTransform(), font());
        const QFontMetricsF metrics(font());
        advance_ = metrics.horizontalAdvance(shown);
        height_ = metrics.height();
        laidOut_ = shown;
        ready_ = true;
    }
    const QRectF r = contentsRect();
    const QPointF at(r.x() + (r.width() - advance_) / 2, r.y() + (r.height() - height_) / 2);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawStaticText(at, layout_);
    return true;
}

} // namespace tintara
